#pragma once
#include <QObject>
#include <QTimer>
#include <atomic>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "common/ThreadJob.h"
#include "search/RecordSearch.h"

class CSortedComboBox;
class QPushButton;
class LinkStore;
class RowStates;
struct CSettings;

// What searching needs of the main window.
class SearchHost {
public:
    virtual ~SearchHost() = default;
    // The rows' selection, which a search sets.
    virtual RowStates& SearchStates() = 0;
    // Stores the form's edit when the settings say that leaving it does.
    virtual void StoreFormEdit() = 0;
    virtual bool FormEdited() = 0;
    // Before a search: opens the list's update bracket; FinishSearch shows the result
    // (the first or last match in the form) and closes it, as EndListUpdate alone does.
    virtual void PrepareSearch() = 0;
    virtual void FinishSearch() = 0;
    virtual void EndListUpdate() = 0;
    // Prev and Next: the match at row becomes the one in the form.
    virtual void ShowMatch(int row) = 0;
    // Esc in the Search box: the row shown before the search is again the one selected and shown.
    virtual void ShowRowAlone(int row) = 0;
};

// Searching as the person types: on the window thread, or on a worker that the next
// keystroke stops, and stepping through the matches with Prev and Next. While a worker
// searches, the window is busy and no command starts.
class CSearchController : public QObject, private SearchSink {
    Q_OBJECT
public:
    CSearchController(SearchHost& host, LinkStore& store, CSettings& settings, QObject* parent);
    ~CSearchController() override;

    // The Search box that the person types into, and Previous and Next: their keys, the
    // box's history and what a screen reader hears of a search's result are this controller's.
    void Attach(CSortedComboBox& box, QPushButton& previous, QPushButton& next);
    // Previous and Next can be pressed or not; neither hands the focus to the form.
    void SetSteps(bool previous, bool next);
    // Previous and Next as the selected rows above and below row allow.
    void StepsFrom(int row);
    bool Busy() const { return m_busy; }
    // Puts the box's text into its history, unless it is there already (case aside).
    void AddHistory();
    // Esc in the box: a search in it is taken back, as typing it away would; false when the
    // box was empty already.
    bool TakeBack();
    // Searches on the window thread, narrowing from the last search's matches when the
    // pattern only grew.
    void RunSearch();
    // A keystroke in the Search box: a worker search when searching is interruptible.
    void OnSearchEdited();
    void StepToMatch(bool next);
    void StopSearches();
    size_t SearchJobCount() const { return m_pool.Size(); }
    // A load ended: the searched text is folded a moment later, once the list is on the
    // screen, so that the first key typed is as quick as the next (a key typed sooner
    // folds it itself).
    void LoadEnded() { m_prepare.start(); }

private:
    void SearchBatch(int searchId, int first, std::vector<uint8_t> bits) override;
    void SearchDone(int searchId, bool stopped) override;
    void Finish();
    std::string Pattern() const;
    // A search typed into an empty box remembers the link shown then, for Esc to bring back.
    void RememberShownLink();

    SearchHost& m_host;
    CSortedComboBox* m_box = nullptr;
    QPushButton* m_previous = nullptr;
    QPushButton* m_next = nullptr;
    LinkStore& m_store;
    CSearchIndex m_index;
    QTimer m_prepare;
    CSettings& m_settings;
    std::atomic<bool> m_busy{false};
    CJobPool<CSearchJob> m_pool;
    CSearchJob* m_current = nullptr;
    int m_searchId = 0;  // the newest search; results of older ones are dropped
    // The last search on the window thread, its results and the rows' generation then: the
    // next keystroke that only adds to its pattern looks at those rows alone.
    std::unique_ptr<CRecordSearch> m_last;
    std::vector<uint8_t> m_lastBits;
    uint64_t m_lastGeneration = 0;
    // The link shown before the search (compared, never read: it may have gone since), and
    // whether Esc asked for it back once the emptied search finishes.
    const CAnnotatedLink* m_shownBefore = nullptr;
    bool m_searching = false;
    bool m_bringBack = false;
};
