#include "sync/TimedSave.h"

#include "options/Settings.h"
#include "store/LinkStore.h"

CTimedSave::CTimedSave(CDataFilePersistence& persistence, LinkStore& store, const CSettings& settings,
                       QObject* parent)
    : QObject(parent), m_store(store), m_settings(settings)
{
    connect(&m_timer, &QTimer::timeout, this, &CTimedSave::Tick);
    m_job.SetOwner(&persistence);
}

void CTimedSave::Restart()
{
    if (m_settings.saveOnTimer) m_timer.start(m_settings.TimerPeriodMs());
}

void CTimedSave::Follow(const CSettings& before)
{
    if (before.saveOnTimer && !m_settings.saveOnTimer)
        m_timer.stop();
    else if (m_settings.saveOnTimer && (!before.saveOnTimer || before.timerIndex != m_settings.timerIndex))
        Restart();
}

void CTimedSave::Tick()
{
    if (m_store.IsChanged() && m_job.IsFinished()) m_job.Start(this, 0);
}
