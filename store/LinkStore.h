#pragma once
#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <string_view>
#include <vector>

#include "store/AnnotatedLink.h"

// Told before and after every change of the store's rows, so that a view can follow
// them. Row numbers are those of the store at the time of the call.
class StoreListener {
public:
    virtual ~StoreListener() = default;
    virtual void AboutToInsert(int first, int count) = 0;
    virtual void Inserted(int first, int count) = 0;
    // rows: ascending, distinct.
    virtual void AboutToRemove(const std::vector<int>& rows) = 0;
    virtual void Removed(const std::vector<int>& rows) = 0;
    virtual void AboutToReorder() = 0;
    // newOrder[i] is the old row of what is now row i.
    virtual void Reordered(const std::vector<int>& newOrder) = 0;
    virtual void AboutToReset() = 0;
    virtual void WasReset() = 0;
    // Texts of many rows changed in place; no row moved.
    virtual void TextsChanged() {}
    // Before rows are inserted: room for this many rows in all, false when there is no
    // memory (the insert then fails and changes nothing).
    virtual bool MakeRoom(size_t rows) { (void)rows; return true; }
    // A record is handed out for change (Edit): its texts may change from now on.
    virtual void RowWillChange(int row) { (void)row; }
    // The texts of these rows (ascending) changed in place.
    virtual void RowsChanged(const std::vector<int>& rows) { (void)rows; }
    // The Category list changed (not a row change).
    virtual void CategoriesChanged() {}
};

// The records in list order with the Category list, the Clear-selection value, the
// changed flag and the press counter, behind one recursive lock.
class LinkStore {
public:
    using Record = std::unique_ptr<CAnnotatedLink>;

    LinkStore() = default;
    LinkStore(const LinkStore&) = delete;
    LinkStore& operator=(const LinkStore&) = delete;

    std::recursive_mutex& Mutex() const { return m_lock; }
    std::unique_lock<std::recursive_mutex> Lock() const { return std::unique_lock(m_lock); }

    // The view that shows the rows.
    void SetListener(StoreListener* listener) { m_listener = listener; }
    // Whatever else keeps something beside the rows (the search's folded copy); told before
    // the view.
    void AddFollower(StoreListener* follower) { m_followers.push_back(follower); }
    void RemoveFollower(StoreListener* follower);

    // Records.
    [[nodiscard]] bool InsertLink(int index, std::string_view title, std::string_view link,
                    std::string_view description, std::string_view category, const CLinkDate& added,
                    const CLinkDate& modified);
    // Inserts records that already exist (undo of a delete); rows follow the given order.
    [[nodiscard]] bool InsertRecords(int index, std::vector<Record>& records);
    int Count() const { return int(m_records.size()); }
    const CAnnotatedLink& At(int index) const { return *m_records[size_t(index)]; }
    // A record handed out for change: the followers are told first. Reading is At.
    CAnnotatedLink& Edit(int index)
    {
        Tell([index](StoreListener& l) { l.RowWillChange(index); });
        return *m_records[size_t(index)];
    }
    // Records changed through pointers kept from earlier (Undo): the followers look again.
    void RecordsChanged(const std::vector<const CAnnotatedLink*>& records);

    // Takes the records of the given rows (ascending, distinct) out of the store.
    std::vector<Record> TakeRows(const std::vector<int>& rows);
    // Reorders the rows: newOrder[i] is the current row that becomes row i.
    void Reorder(const std::vector<int>& newOrder);
    // Frees every record and removes every row, telling the listener once.
    void FreeAllLinks();
    // Texts of older files that are not UTF-8 (a Western Windows code page) become
    // UTF-8, so that they compare, search and sort like typed text: the records from
    // firstRecord on, the Category list (a converted name already listed goes) and the
    // Clear-selection value.
    void ConvertLegacyText(int firstRecord);

    // An imported link's record, not yet in the store: null when it has neither title nor
    // link; its category is trimmed and added to the Category list when new.
    Record MakeImportedLink(CAnnotatedLink link);
    // The bookmark import's way in. storedRecordRule is the owner's rule for a stored
    // record (press counter, save or changed flag); it runs after the insert.
    [[nodiscard]] bool AddImportedLink(const std::string& title, const std::string& link, const std::string& category,
                         const CLinkDate& now, const std::function<void()>& storedRecordRule);

    // Category list.
    const std::vector<std::string>& Categories() const { return m_categories; }
    bool GetCategories(std::vector<std::string>& list) const;
    void SetCategories(const std::vector<std::string>& names);
    // Replaces the list exactly as given (no sorting), for tools that rebuild a file.
    void SetCategoriesInOrder(std::vector<std::string> names);
    bool HasCategory(const std::string& name) const;
    void InsertCategorySorted(const std::string& name);
    // Adds every non-empty name not listed yet (ignoring ASCII case), keeping the order.
    void AddCategories(const std::vector<std::string>& names);
    // Adds a trimmed, non-empty name that is not listed yet; true when added.
    bool AddCategoryIfNew(const std::string& name);
    void ClearCategories();
    // Records whose Category equals a rename's old name exactly get its new one, renames
    // applied in order (A to B, then B to C, gives C); the list is emptied.
    void RenameCategories(std::vector<std::pair<std::string, std::string>>& renames);

    const std::string& ClearSelection() const { return m_clearSelection; }
    void SetClearSelection(std::string value) { m_clearSelection = std::move(value); }

    bool IsChanged() const { return m_changed; }
    void SetChanged(bool changed = true) { m_changed = changed; }
    int PressCount() const { return m_presses; }
    int IncrementPresses() { return ++m_presses; }
    int AddPresses(int count) { return m_presses += count; }
    void ResetPresses() { m_presses = 0; }

private:
    void NotifyCategories();
    template <class F> void Tell(const F& tell)
    {
        for (StoreListener* follower : m_followers) tell(*follower);
        if (m_listener) tell(*m_listener);
    }
    bool MakeRoom(size_t rows);

    std::vector<Record> m_records;
    std::vector<std::string> m_categories;
    bool m_categoriesSorted = true;  // in CategoryCompare order, as every list but a tool's given one
    std::string m_clearSelection = "LAST";
    std::atomic<bool> m_changed{false};
    std::atomic<int> m_presses{0};
    mutable std::recursive_mutex m_lock;
    StoreListener* m_listener = nullptr;
    std::vector<StoreListener*> m_followers;
};

// Sorted insert by bisection: the index at which name goes into the sorted list.
int SortedInsertIndex(const std::vector<std::string>& list, const std::string& name,
                      int (*compare)(std::string_view, std::string_view));
