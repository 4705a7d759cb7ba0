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
#include "store/TextBlock.h"

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

    void SetListener(StoreListener* listener) { m_listener = listener; }

    // Records.
    [[nodiscard]] bool InsertLink(int index, std::string_view title, std::string_view link,
                    std::string_view description, std::string_view category, const CLinkDate& added,
                    const CLinkDate& modified);
    // Inserts records that already exist (undo of a delete); rows follow the given order.
    [[nodiscard]] bool InsertRecords(int index, std::vector<Record>& records);
    int Count() const { return int(m_records.size()); }
    // A record handed out for change: its searched text is folded again before the next
    // search. Read through a const store where nothing changes.
    CAnnotatedLink& At(int index)
    {
        MarkSearchText(size_t(index), true);
        return *m_records[size_t(index)];
    }
    const CAnnotatedLink& At(int index) const { return *m_records[size_t(index)]; }
    // Records changed through pointers kept from earlier (Undo): looked at again.
    void RecordsChanged(const std::vector<const CAnnotatedLink*>& records);

    // The searched text of every row, title and description, as the matchers compare it:
    // case-folded where a text has more than ASCII (kept in a buffer beside the store), the
    // record's own bytes otherwise (the matchers take ASCII's case themselves). Rows changed
    // since are looked at first. generation changes whenever a row's searched text, or the
    // rows themselves, changed: results of an older generation are stale. The pointers hold
    // until the store changes or SearchText is asked again after a change.
    struct SearchEntry {
        const char* block = TextBlock::kEmpty;  // the record's block, or one in the folded text
    };
    struct SearchTextView {
        const SearchEntry* rows = nullptr;
        size_t count = 0;
        uint64_t generation = 0;
        std::string_view Title(size_t row) const
        {
            return TextBlock::Text(rows[row].block, size_t(CAnnotatedLink::Text::Title));
        }
        std::string_view Description(size_t row) const
        {
            return TextBlock::Text(rows[row].block, size_t(CAnnotatedLink::Text::Description));
        }
    };
    SearchTextView SearchText() const;
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
    // A row whose text may change from now on (unchangedYet), or has changed already. While
    // few rows are marked, one not changed yet remembers its text's hash, so that a record
    // handed out but left as it was leaves results valid.
    void MarkSearchText(size_t row, bool unchangedYet)
    {
        if (row < m_searchState.size() && !m_searchState[row].dirty) {
            m_searchState[row].dirty = true;
            ++m_searchDirty;
            if (m_dirtyRows.size() < kFewDirtyRows) RememberDirtyRow(row, unchangedYet);
        }
    }
    void RememberDirtyRow(size_t row, bool unchangedYet);
    void MarkAllSearchText(size_t first);
    // The bytes of a folded row's block in the folded text.
    size_t FoldedSize(size_t row) const { return TextBlock::SizeOf(m_searchText.data() + m_searchState[row].folded); }
    void InsertSearchRows(size_t index, size_t count);

    std::vector<Record> m_records;
    std::vector<std::string> m_categories;
    bool m_categoriesSorted = true;  // in CategoryCompare order, as every list but a tool's given one
    std::string m_clearSelection = "LAST";
    std::atomic<bool> m_changed{false};
    std::atomic<int> m_presses{0};
    mutable std::recursive_mutex m_lock;
    // What keeps a row's search entry current, which a search does not read: eight bytes a
    // row, the flags sharing the offset's word.
    struct SearchState {
        uint64_t folded : 62 = 0;  // offset of the folded block (title and description)
        uint64_t isFolded : 1 = false;
        uint64_t dirty : 1 = true;
    };
    static_assert(sizeof(SearchState) == 8);
    // The searched text, one entry per row (see SearchText), and beside it its upkeep.
    mutable std::vector<SearchEntry> m_search;
    mutable std::vector<SearchState> m_searchState;
    mutable std::string m_searchText;
    mutable size_t m_searchDirty = 0;
    // The rows marked since the last search, while they are few and no row has moved;
    // when this does not hold every marked row, every row is looked at and counts as changed.
    static constexpr size_t kFewDirtyRows = 4096;
    struct DirtyRow {
        size_t row;
        bool known;     // hash is of the text as it was when marked; else it has changed already
        uint64_t hash;  // of the searched text when the row was marked
    };
    mutable std::vector<DirtyRow> m_dirtyRows;
    mutable size_t m_searchGarbage = 0;
    mutable uint64_t m_searchGeneration = 0;
    StoreListener* m_listener = nullptr;
};

// Sorted insert by bisection: the index at which name goes into the sorted list.
int SortedInsertIndex(const std::vector<std::string>& list, const std::string& name,
                      int (*compare)(std::string_view, std::string_view));
