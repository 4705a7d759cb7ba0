#include "search/SearchController.h"

#include <QApplication>
#include <QLineEdit>
#include <QPushButton>
#include <utility>

#include "common/QtText.h"
#include "common/RowStates.h"
#include "common/SortedComboBox.h"
#include "options/CountFormatter.h"
#include "options/Settings.h"
#include "store/LinkStore.h"
#include "platform/Translate.h"

CSearchController::CSearchController(SearchHost& host, LinkStore& store, CSettings& settings, QObject* parent)
    : QObject(parent), m_host(host), m_store(store), m_index(store), m_settings(settings)
{
    m_prepare.setSingleShot(true);
    m_prepare.setInterval(250);
    connect(&m_prepare, &QTimer::timeout, this, [this] { (void)m_index.Ready(); });
}

CSearchController::~CSearchController() { StopSearches(); }

void CSearchController::Attach(CSortedComboBox& box, QPushButton& previous, QPushButton& next)
{
    m_box = &box;
    m_previous = &previous;
    m_next = &next;
    connect(m_previous, &QPushButton::clicked, this, [this] { StepToMatch(false); });
    connect(m_next, &QPushButton::clicked, this, [this] { StepToMatch(true); });
    connect(&box, &CSortedComboBox::aboutToShowPopup, this, &CSearchController::AddHistory);
    connect(box.lineEdit(), &QLineEdit::textEdited, this, &CSearchController::OnSearchEdited);
    // A pattern chosen from the history is searched for as if typed.
    connect(&box, &QComboBox::activated, this, [this](int index) {
        if (m_busy || index < 0) return;
        m_box->setEditText(m_box->itemText(index));
        RunSearch();
    });
}

void CSearchController::SetSteps(bool previous, bool next)
{
    // A disabled button hands its focus on; Qt would give it to the Title field, where
    // the next key would replace the title. The other button takes it, else the Search box.
    QWidget* focused = QApplication::focusWidget();
    if ((focused == m_previous && !previous) || (focused == m_next && !next)) {
        QPushButton* other = focused == m_previous ? m_next : m_previous;
        if (other == m_next ? next : previous)
            other->setFocus(Qt::OtherFocusReason);
        else
            m_box->setFocus(Qt::OtherFocusReason);
    }
    m_previous->setEnabled(previous);
    m_next->setEnabled(next);
}

void CSearchController::StepsFrom(int row)
{
    const RowStates& states = m_host.SearchStates();
    SetSteps(states.SelectedAbove(row) >= 0, states.SelectedBelow(row) >= 0);
}

std::string CSearchController::Pattern() const { return m_box ? ToBytes(m_box->currentText()) : std::string(); }

void CSearchController::AddHistory()
{
    const QString text = m_box->currentText().trimmed();
    if (text.isEmpty()) return;
    for (int i = 0; i < m_box->count(); ++i)
        if (m_box->itemText(i).compare(text, Qt::CaseInsensitive) == 0) return;
    const QString current = m_box->currentText();
    m_box->Add(text);
    m_box->setEditText(current);
}

bool CSearchController::TakeBack()
{
    if (m_box->currentText().isEmpty()) return false;
    m_box->setEditText(QString());
    m_bringBack = m_shownBefore != nullptr;
    OnSearchEdited();
    return true;
}

void CSearchController::RememberShownLink()
{
    const bool searching = !Pattern().empty();
    if (searching && !m_searching) {
        const int mark = m_host.SearchStates().Mark();
        m_shownBefore = mark >= 0 && mark < m_store.Count() ? &std::as_const(m_store).At(mark) : nullptr;
    }
    m_searching = searching;
}

void CSearchController::Finish()
{
    m_busy = false;
    m_host.FinishSearch();
    // A reader in the Search box hears the result: its description changes to the count
    // (the widget tells the reader of the change itself). The box has the focus and its
    // field the caret; readers follow either.
    const QString count = m_box->currentText().isEmpty()
                              ? QString()
                              : QString::fromStdString(CCountFormatter(m_settings).Plural(
                                    m_host.SearchStates().SelectedCount(), Tr("Main", "%1 Selected Link"),
                                    Tr("Main", "%1 Selected Links")));
    if (m_box->accessibleDescription() != count) {
        m_box->setAccessibleDescription(count);
        m_box->lineEdit()->setAccessibleDescription(count);
    }
    if (std::exchange(m_bringBack, false) && m_box->currentText().isEmpty()) {
        for (int row = 0; row < m_store.Count(); ++row)
            if (&std::as_const(m_store).At(row) == m_shownBefore) {
                m_host.ShowRowAlone(row);
                break;
            }
    }
}

void CSearchController::RunSearch()
{
    RememberShownLink();
    ++m_searchId;  // any background search still finishing is now out of date
    m_host.PrepareSearch();
    auto search = std::make_unique<CRecordSearch>(SearchOptions::From(m_settings), Pattern());
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
    RememberShownLink();
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
    job.Prepare(++m_searchId, SearchOptions::From(m_settings), Pattern());
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
    AddHistory();
    m_host.StoreFormEdit();
    RowStates& states = m_host.SearchStates();
    const int row = next ? states.SelectedBelow(states.Mark()) : states.SelectedAbove(states.Mark());
    if (row >= 0) m_host.ShowMatch(row);
}
