#pragma once
#include <QObject>
#include <QTimer>

#include "session/Persistence.h"

class LinkStore;
struct CSettings;

// The timed save: while the links are changed, they are saved on a worker every few
// minutes, as the Saving page's "Save every" says.
class CTimedSave : public QObject {
public:
    CTimedSave(CDataFilePersistence& persistence, LinkStore& store, const CSettings& settings,
               QObject* parent = nullptr);

    // A fresh period when the settings ask for timed saves.
    void Restart();
    void Stop() { m_timer.stop(); }
    // The settings changed from before: a running timer is left alone unless its setting changed.
    void Follow(const CSettings& before);
    // A tick of the timer: a save on the worker, when the links changed and none runs.
    void Tick();
    CSaveJob& Job() { return m_job; }
    const QTimer& Timer() const { return m_timer; }

private:
    LinkStore& m_store;
    const CSettings& m_settings;
    QTimer m_timer;
    CSaveJob m_job;
};
