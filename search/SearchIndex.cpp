#include "search/SearchIndex.h"

#include <cstring>
#include <new>

#include "store/CaseFold.h"
#include "store/Utf.h"

namespace {

// A quick hash of every text a search may look at (title, description, and the link and
// category where the options name them), eight bytes at a time, to tell a record that was
// only read from one that changed.
uint64_t TextHash(const CAnnotatedLink& record)
{
    uint64_t hash = 0x9E3779B97F4A7C15ull ^ (uint64_t(record.Title().size()) << 32) ^ record.Description().size();
    for (std::string_view text : {record.Title(), record.Description(), record.Link(), record.Category()}) {
        size_t i = 0;
        for (; i + 8 <= text.size(); i += 8) {
            uint64_t word;
            std::memcpy(&word, text.data() + i, 8);
            hash = (hash ^ word) * 0xFF51AFD7ED558CCDull;
            hash ^= hash >> 32;
        }
        uint64_t last = 0;
        std::memcpy(&last, text.data() + i, text.size() - i);
        hash = (hash ^ last ^ 0xA5) * 0xC4CEB9FE1A85EC53ull;
        hash ^= hash >> 29;
    }
    return hash;
}

}  // namespace

CSearchIndex::CSearchIndex(LinkStore& store) : m_store(store)
{
    auto lock = m_store.Lock();
    m_rows.resize(size_t(store.Count()));
    m_state.resize(size_t(store.Count()));
    m_dirty = m_rows.size();
    m_store.AddFollower(this);
}

CSearchIndex::~CSearchIndex()
{
    auto lock = m_store.Lock();
    m_store.RemoveFollower(this);
}

bool CSearchIndex::MakeRoom(size_t rows)
{
    try {
        m_rows.reserve(rows);
        m_state.reserve(rows);
        return true;
    } catch (const std::bad_alloc&) {
        return false;
    }
}

void CSearchIndex::Inserted(int first, int count)
{
    // Room was made before the store changed, so these cannot fail.
    m_rows.insert(m_rows.begin() + first, size_t(count), Entry{});
    m_state.insert(m_state.begin() + first, size_t(count), State{});
    m_dirty += size_t(count);
    m_dirtyRows.clear();
    ++m_generation;
}

void CSearchIndex::Removed(const std::vector<int>& rows)
{
    size_t write = 0, next = 0;
    for (size_t read = 0; read < m_rows.size(); ++read) {
        if (next < rows.size() && size_t(rows[next]) == read) {
            if (m_state[read].dirty)
                --m_dirty;
            else if (m_state[read].isFolded)
                m_garbage += FoldedSize(read);
            ++next;
        } else {
            if (write != read) {
                m_rows[write] = m_rows[read];
                m_state[write] = m_state[read];
            }
            ++write;
        }
    }
    m_rows.resize(write);
    m_state.resize(write);
    m_dirtyRows.clear();
    ++m_generation;
}

void CSearchIndex::Reordered(const std::vector<int>& newOrder)
{
    std::vector<Entry> rows;
    rows.reserve(m_rows.size());
    std::vector<State> states;
    states.reserve(m_state.size());
    for (int old : newOrder) {
        rows.push_back(m_rows[size_t(old)]);
        states.push_back(m_state[size_t(old)]);
    }
    m_rows.swap(rows);
    m_state.swap(states);
    m_dirtyRows.clear();
    ++m_generation;
}

void CSearchIndex::WasReset()
{
    m_rows.clear();
    m_rows.shrink_to_fit();
    m_state.clear();
    m_state.shrink_to_fit();
    m_text.clear();
    m_text.shrink_to_fit();
    m_dirty = m_garbage = 0;
    m_dirtyRows.clear();
    ++m_generation;
}

void CSearchIndex::RowsChanged(const std::vector<int>& rows)
{
    for (int row : rows) Mark(size_t(row), false);
}

void CSearchIndex::Mark(size_t row, bool unchangedYet)
{
    if (row >= m_state.size() || m_state[row].dirty) return;
    m_state[row].dirty = true;
    ++m_dirty;
    if (m_dirtyRows.size() < kFewDirtyRows)
        m_dirtyRows.push_back({row, unchangedYet, unchangedYet ? TextHash(m_store.At(int(row))) : 0});
}

CSearchIndex::View CSearchIndex::Ready() const
{
    auto lock = m_store.Lock();
    if (m_dirty > 0) {
        // Whether the folded text moved (it grew, or was packed). Told by its capacity, not
        // by its address: a new buffer can be given the address of one freed before.
        bool moved = false;
        // A folded row's entry points at its copy in the folded text, where it is now.
        const auto pointAtFolded = [this](size_t row) { m_rows[row].block = m_text.data() + m_state[row].folded; };
        std::string foldedTitle, foldedDescription;
        // A few rows marked one by one (a Modify, an Undo) are looked at alone; after a
        // load or a change of row order, every row is.
        const bool few = m_dirtyRows.size() == m_dirty;
        const size_t steps = few ? m_dirtyRows.size() : m_rows.size();
        for (size_t step = 0; step < steps; ++step) {
            const size_t row = few ? m_dirtyRows[step].row : step;
            State& state = m_state[row];
            if (!state.dirty) continue;
            state.dirty = false;
            Entry& entry = m_rows[row];
            const CAnnotatedLink& record = m_store.At(int(row));
            const bool changed = !few || !m_dirtyRows[step].known || m_dirtyRows[step].hash != TextHash(record);
            const bool wasFolded = state.isFolded;
            // A record handed out for change but not changed leaves the results as they were.
            if (changed) ++m_generation;
            if (!HasNonAscii(record.Title()) && !HasNonAscii(record.Description())) {
                // ASCII: the record's own block, which stays where it is until the record changes.
                if (wasFolded) m_garbage += FoldedSize(row);
                state.isFolded = false;
                entry.block = record.Block();
                continue;
            }
            if (wasFolded && !changed) continue;
            if (wasFolded) m_garbage += FoldedSize(row);
            foldedTitle.clear();
            foldedDescription.clear();
            AppendFolded(record.Title(), foldedTitle);
            AppendFolded(record.Description(), foldedDescription);
            // Folding may lengthen a text; a block keeps sizes in 32 bits, and a search
            // past 4 GiB of one text reads its beginning.
            for (std::string* text : {&foldedTitle, &foldedDescription})
                if (text->size() > UINT32_MAX) text->resize(UINT32_MAX);
            // Laid out as a record's block, so that the search reads both alike.
            std::string_view texts[TextBlock::kTexts];
            texts[size_t(CAnnotatedLink::Text::Title)] = foldedTitle;
            texts[size_t(CAnnotatedLink::Text::Description)] = foldedDescription;
            state.isFolded = true;
            state.folded = m_text.size();
            const size_t capacity = m_text.capacity();
            m_text.resize(m_text.size() + TextBlock::SizeFor(texts));
            moved = moved || m_text.capacity() != capacity;
            TextBlock::Write(m_text.data() + state.folded, texts);
            pointAtFolded(row);
        }
        m_dirty = 0;
        m_dirtyRows.clear();
        // Texts folded again leave their old copies behind: past half, the buffer is packed.
        if (m_garbage > m_text.size() / 2) {
            std::string packed;
            packed.reserve(m_text.size() - m_garbage);
            for (size_t row = 0; row < m_rows.size(); ++row) {
                State& state = m_state[row];
                if (!state.isFolded) continue;
                const size_t size = FoldedSize(row);
                const uint64_t offset = packed.size();
                packed.append(m_text, size_t(state.folded), size);
                state.folded = offset;
            }
            m_text.swap(packed);
            m_garbage = 0;
            moved = true;
        }
        // The folded text moved (it grew, or was packed): its rows point into it again.
        if (moved)
            for (size_t row = 0; row < m_rows.size(); ++row)
                if (m_state[row].isFolded) pointAtFolded(row);
    }
    return {m_rows.data(), m_rows.size(), m_generation};
}
