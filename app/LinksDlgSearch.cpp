#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "app/FormText.h"
#include "app/LinkListCtrl.h"
#include "app/LinksDlg.h"
#include "common/SortedComboBox.h"

// The main window's part in searching: running a search on the window thread or on a
// worker, and stepping through the matches.

// ---- Searching ----

std::string CLinksDlg::SearchText() const { return ToBytes(m_search->currentText()); }

void CLinksDlg::PrepareSearch()
{
    if (m_settings.moveSave && m_edited) SaveCurrentLink(false);
    BeginListUpdate();
    SetPrevNext(false, false);
    m_list->States().SetFocus(-1);
}

void CLinksDlg::FinishSearch()
{
    m_searchBusy = false;
    RowStates& states = m_list->States();
    const int first = states.SelectedBelow(-1);
    if (first < 0) {
        ClearForm(false);
        UpdateSelectedCount();
    } else {
        const int reference = m_settings.positionOnLast ? states.SelectedAbove(states.Rows()) : first;
        states.SetMark(reference);
        RetrieveLink(false);
        m_list->EnsureRowVisible(reference);
        UpdatePrevNextButtons(reference);
    }
    EndListUpdate();
    // A reader in the Search box hears the result: its description changes to the count
    // (the widget tells the reader of the change itself). The box has the focus and its
    // field the caret; readers follow either.
    const QString count = m_search->currentText().isEmpty() ? QString() : m_selectedLabel->text();
    if (m_search->accessibleDescription() != count) {
        m_search->setAccessibleDescription(count);
        m_search->lineEdit()->setAccessibleDescription(count);
    }
}

void CLinksDlg::RunSearch()
{
    ++m_searchId;  // any background search still finishing is now out of date
    PrepareSearch();
    auto search = std::make_unique<CRecordSearch>(SearchOptions::From(m_settings), SearchText());
    auto lock = m_store.Lock();
    const LinkStore::SearchTextView text = m_store.SearchText();
    const int rows = int(text.count);
    std::vector<uint8_t> bits(static_cast<size_t>(rows));
    // Typing on at the end of the pattern only narrows the matches: just the rows that
    // matched before are looked at, as long as no row changed since.
    const bool narrows = m_lastSearch && m_lastSearchGeneration == text.generation && m_lastSearchBits.size() == bits.size() &&
                         search->Narrows(*m_lastSearch);
    search->MatchAll(m_store, bits.data(), narrows ? m_lastSearchBits.data() : nullptr);
    m_list->States().AssignRange(0, bits.data(), rows);
    m_lastSearch = std::move(search);
    m_lastSearchBits = std::move(bits);
    m_lastSearchGeneration = text.generation;
    FinishSearch();
}

void CLinksDlg::OnSearchEdited()
{
    if (!m_settings.interruptibleSearching) {
        RunSearch();
        return;
    }
    if (m_currentSearch) m_currentSearch->RequestStop(1);
    // Storing the form changes the rows that a stopped search may still be reading.
    if (m_settings.moveSave && m_edited) m_searchPool.WaitAll();
    m_searchBusy = true;
    PrepareSearch();
    m_lastSearch.reset();
    CSearchJob& job = m_searchPool.GetIdleJob();
    job.SetOwner(this, &m_store, m_store.SearchText());
    job.Prepare(++m_searchId, SearchOptions::From(m_settings), SearchText());
    m_currentSearch = &job;
    if (!job.Start(this, 0)) {
        // No thread, no search for this keystroke; the window must not stay busy.
        m_currentSearch = nullptr;
        m_searchBusy = false;
        EndListUpdate();
    }
}

void CLinksDlg::SearchBatch(int searchId, int first, std::vector<uint8_t> bits)
{
    // On the worker: one queued call per batch of rows, applied on the window thread.
    QMetaObject::invokeMethod(
        this,
        [this, searchId, first, bits = std::move(bits)] {
            if (searchId == m_searchId && first + int(bits.size()) <= m_list->States().Rows())
                m_list->States().AssignRange(first, bits.data(), int(bits.size()));
        },
        Qt::QueuedConnection);
}

void CLinksDlg::SearchDone(int searchId, bool stopped)
{
    QMetaObject::invokeMethod(
        this,
        [this, searchId, stopped] {
            if (!stopped && searchId == m_searchId) {
                m_currentSearch = nullptr;
                FinishSearch();  // also closes this search's update bracket
            } else {
                EndListUpdate();
            }
        },
        Qt::QueuedConnection);
}

void CLinksDlg::StopSearches()
{
    if (m_currentSearch) m_currentSearch->RequestStop(1);
    ++m_searchId;
    m_searchPool.WaitAll();
    m_currentSearch = nullptr;
}

void CLinksDlg::OnHistoryChosen(int index)
{
    if (m_searchBusy || index < 0) return;
    m_search->setEditText(m_search->itemText(index));
    RunSearch();
}

void CLinksDlg::StepToMatch(bool next)
{
    if (m_searchBusy) return;
    AddSearchHistory();
    if (m_settings.moveSave && m_edited) SaveCurrentLink(false);
    RowStates& states = m_list->States();
    const int row = next ? states.SelectedBelow(states.Mark()) : states.SelectedAbove(states.Mark());
    if (row < 0) return;
    states.SetMark(row);
    RetrieveLink(false);
    m_list->EnsureRowVisible(row);
    m_list->RefreshRows();
    UpdatePrevNextButtons(row);
}

void CLinksDlg::OnPrevious() { StepToMatch(false); }

void CLinksDlg::OnNext() { StepToMatch(true); }

