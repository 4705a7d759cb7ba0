#include "search/SearchController.h"

#include "common/RowStates.h"
#include "options/Settings.h"
#include "store/LinkStore.h"

CSearchController::CSearchController(SearchHost& host, LinkStore& store, CSettings& settings, QObject* parent)
    : QObject(parent), m_host(host), m_store(store), m_index(store), m_settings(settings)
{
    m_prepare.setSingleShot(true);
    m_prepare.setInterval(250);
    connect(&m_prepare, &QTimer::timeout, this, [this] { (void)m_index.Ready(); });
}

CSearchController::~CSearchController() { StopSearches(); }

void CSearchController::Finish()
{
    m_busy = false;
    m_host.FinishSearch();
}

void CSearchController::RunSearch()
{
    ++m_searchId;  // any background search still finishing is now out of date
    m_host.PrepareSearch();
    auto search = std::make_unique<CRecordSearch>(SearchOptions::From(m_settings), m_host.SearchPattern());
    auto lock = m_store.Lock();
    const CSearchIndex::View text = m_index.Ready();
    const int rows = int(text.count);
    std::vector<uint8_t> bits(static_cast<size_t>(rows));
    // Typing on at the end of the pattern only narrows the matches: just the rows that
    // matched before are looked at, as long as no row changed since.
    const bool narrows = m_last && m_lastGeneration == text.generation && m_lastBits.size() == bits.size() &&
                         search->Narrows(*m_last);
    search->MatchAll(m_index, bits.data(), narrows ? m_lastBits.data() : nullptr);
    m_host.SearchStates().AssignRange(0, bits.data(), rows);
    m_last = std::move(search);
    m_lastBits = std::move(bits);
    m_lastGeneration = text.generation;
    Finish();
}

void CSearchController::OnSearchEdited()
{
    if (!m_settings.interruptibleSearching) {
        RunSearch();
        return;
    }
    if (m_current) m_current->RequestStop(1);
    // Storing the form changes the rows that a stopped search may still be reading.
    if (m_settings.moveSave && m_host.FormEdited()) m_pool.WaitAll();
    m_busy = true;
    m_host.PrepareSearch();
    m_last.reset();
    CSearchJob& job = m_pool.GetIdleJob();
    job.SetOwner(this, &m_store, m_index.Ready());
    job.Prepare(++m_searchId, SearchOptions::From(m_settings), m_host.SearchPattern());
    m_current = &job;
    if (!job.Start(this, 0)) {
        // No thread, no search for this keystroke; the window must not stay busy.
        m_current = nullptr;
        m_busy = false;
        m_host.EndListUpdate();
    }
}

void CSearchController::SearchBatch(int searchId, int first, std::vector<uint8_t> bits)
{
    // On the worker: one queued call per batch of rows, applied on the window thread.
    QMetaObject::invokeMethod(
        this,
        [this, searchId, first, bits = std::move(bits)] {
            RowStates& states = m_host.SearchStates();
            if (searchId == m_searchId && first + int(bits.size()) <= states.Rows())
                states.AssignRange(first, bits.data(), int(bits.size()));
        },
        Qt::QueuedConnection);
}

void CSearchController::SearchDone(int searchId, bool stopped)
{
    QMetaObject::invokeMethod(
        this,
        [this, searchId, stopped] {
            if (!stopped && searchId == m_searchId) {
                m_current = nullptr;
                Finish();  // also closes this search's update bracket
            } else {
                m_host.EndListUpdate();
            }
        },
        Qt::QueuedConnection);
}

void CSearchController::StopSearches()
{
    if (m_current) m_current->RequestStop(1);
    ++m_searchId;
    m_pool.WaitAll();
    m_current = nullptr;
}

void CSearchController::StepToMatch(bool next)
{
    if (m_busy) return;
    m_host.AddSearchHistory();
    m_host.StoreFormEdit();
    RowStates& states = m_host.SearchStates();
    const int row = next ? states.SelectedBelow(states.Mark()) : states.SelectedAbove(states.Mark());
    if (row >= 0) m_host.ShowMatch(row);
}
