#pragma once
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "store/LinkStore.h"
#include "store/TextBlock.h"

// The searched text of every row, title and description, as the matchers compare it:
// case-folded where a text has more than ASCII (kept in a buffer of its own), the record's
// own bytes otherwise (the matchers take ASCII's case themselves). It follows the store
// as one of its followers; rows changed since the last look are folded first.
class CSearchIndex : private StoreListener {
public:
    explicit CSearchIndex(LinkStore& store);
    ~CSearchIndex() override;
    CSearchIndex(const CSearchIndex&) = delete;
    CSearchIndex& operator=(const CSearchIndex&) = delete;

    struct Entry {
        const char* block = TextBlock::kEmpty;  // the record's block, or one in the folded text
    };
    // The rows as a search reads them. generation changes whenever a row's searched text,
    // or the rows themselves, changed: results of an older generation are stale. The
    // pointers hold until the store changes or View is asked again after a change.
    struct View {
        const Entry* rows = nullptr;
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
    // Folds what changed, under the store's lock, and gives the rows.
    View Ready() const;
    const LinkStore& Store() const { return m_store; }

private:
    // StoreListener
    bool MakeRoom(size_t rows) override;
    void AboutToInsert(int, int) override {}
    void Inserted(int first, int count) override;
    void AboutToRemove(const std::vector<int>&) override {}
    void Removed(const std::vector<int>& rows) override;
    void AboutToReorder() override {}
    void Reordered(const std::vector<int>& newOrder) override;
    void AboutToReset() override {}
    void WasReset() override;
    void RowWillChange(int row) override { Mark(size_t(row), true); }
    void RowsChanged(const std::vector<int>& rows) override;

    // A row whose text may change from now on (unchangedYet), or has changed already. While
    // few rows are marked, one not changed yet remembers its text's hash, so that a record
    // handed out but left as it was leaves results valid.
    void Mark(size_t row, bool unchangedYet);
    // The bytes of a folded row's block in the folded text.
    size_t FoldedSize(size_t row) const { return TextBlock::SizeOf(m_text.data() + m_state[row].folded); }

    LinkStore& m_store;
    // What keeps a row's entry current, which a search does not read: eight bytes a row,
    // the flags sharing the offset's word.
    struct State {
        uint64_t folded : 62 = 0;  // offset of the folded block (title and description)
        uint64_t isFolded : 1 = false;
        uint64_t dirty : 1 = true;
    };
    static_assert(sizeof(State) == 8);
    mutable std::vector<Entry> m_rows;
    mutable std::vector<State> m_state;
    mutable std::string m_text;
    mutable size_t m_dirty = 0;
    // The rows marked since the last look, while they are few and no row has moved; when
    // this does not hold every marked row, every row is looked at and counts as changed.
    static constexpr size_t kFewDirtyRows = 4096;
    struct DirtyRow {
        size_t row;
        bool known;     // hash is of the text as it was when marked; else it has changed already
        uint64_t hash;  // of the searched text when the row was marked
    };
    mutable std::vector<DirtyRow> m_dirtyRows;
    mutable size_t m_garbage = 0;
    mutable uint64_t m_generation = 0;
};
