#include "store/LinkStore.h"

#include <algorithm>
#include <cstring>
#include <unordered_set>
#include <new>

#include "store/CaseFold.h"
#include "store/NaturalCompare.h"
#include "store/SortedInsert.h"
#include "store/Utf.h"

namespace {
bool ConvertLegacy(std::string& text)
{
    if (IsValidUtf8(text)) return false;
    text = Windows1252ToUtf8(text);
    return true;
}
}  // namespace

int SortedInsertIndex(const std::vector<std::string>& list, const std::string& name,
                      int (*compare)(std::string_view, std::string_view))
{
    return SortedInsertIndex(int(list.size()), [&](int i) { return compare(name, list[size_t(i)]); });
}

bool LinkStore::InsertLink(int index, std::string_view title, std::string_view link,
                           std::string_view description, std::string_view category,
                           const CLinkDate& added, const CLinkDate& modified)
{
    auto lock = Lock();
    if (index < 0 || index > Count()) return false;
    try {
        auto record = std::make_unique<CAnnotatedLink>(title, link, description, category, added, modified);
        // Grown here, geometrically, so that the insert below cannot fail.
        if (m_records.size() == m_records.capacity()) m_records.reserve(m_records.size() * 2 + 16);
        if (m_search.size() == m_search.capacity()) m_search.reserve(m_search.size() * 2 + 16);
        if (m_searchState.size() == m_searchState.capacity()) m_searchState.reserve(m_searchState.size() * 2 + 16);
        if (m_listener) m_listener->AboutToInsert(index, 1);
        m_records.insert(m_records.begin() + index, std::move(record));
        InsertSearchRows(size_t(index), 1);
        if (m_listener) m_listener->Inserted(index, 1);
        return true;
    } catch (const std::bad_alloc&) {
        return false;
    }
}

bool LinkStore::InsertRecords(int index, std::vector<Record>& records)
{
    auto lock = Lock();
    if (index < 0 || index > Count()) return false;
    if (records.empty()) return true;
    const size_t n = records.size();
    // An empty store takes the given list itself, when it has not much room to spare: a load
    // of a million links would otherwise hold the list twice at its peak.
    const bool takeList = m_records.empty() && records.capacity() <= 2 * n + 16;
    try {
        // Grown geometrically, so that records added one at a time cost no copy each.
        const size_t needed = m_records.size() + n;
        if (!takeList && needed > m_records.capacity()) {
            try {
                m_records.reserve(std::max(needed, m_records.size() * 2 + 16));
            } catch (const std::bad_alloc&) {
                m_records.reserve(needed);  // no room to spare: exactly what is needed
            }
        }
        const size_t capacity = takeList ? records.capacity() : m_records.capacity();
        m_search.reserve(capacity);
        m_searchState.reserve(capacity);
    } catch (const std::bad_alloc&) {
        return false;
    }
    if (m_listener) m_listener->AboutToInsert(index, int(n));
    if (takeList)
        m_records.swap(records);
    else
        m_records.insert(m_records.begin() + index, std::make_move_iterator(records.begin()),
                         std::make_move_iterator(records.end()));
    InsertSearchRows(size_t(index), n);
    records.clear();
    if (m_listener) m_listener->Inserted(index, int(n));
    return true;
}

std::vector<LinkStore::Record> LinkStore::TakeRows(const std::vector<int>& rows)
{
    auto lock = Lock();
    std::vector<Record> taken;
    if (rows.empty()) return taken;
    taken.reserve(rows.size());
    if (m_listener) m_listener->AboutToRemove(rows);
    // One pass: move the taken records out and compact the rest in place.
    size_t write = 0, next = 0;
    for (size_t read = 0; read < m_records.size(); ++read) {
        if (next < rows.size() && size_t(rows[next]) == read) {
            taken.push_back(std::move(m_records[read]));
            if (m_searchState[read].dirty)
                --m_searchDirty;
            else if (m_searchState[read].isFolded)
                m_searchGarbage += FoldedSize(read);
            ++next;
        } else {
            if (write != read) {
                m_records[write] = std::move(m_records[read]);
                m_search[write] = m_search[read];
                m_searchState[write] = m_searchState[read];
            }
            ++write;
        }
    }
    m_records.resize(write);
    m_search.resize(write);
    m_searchState.resize(write);
    m_dirtyRows.clear();
    ++m_searchGeneration;
    if (m_listener) m_listener->Removed(rows);
    return taken;
}

void LinkStore::Reorder(const std::vector<int>& newOrder)
{
    auto lock = Lock();
    if (newOrder.size() != m_records.size()) return;
    if (m_listener) m_listener->AboutToReorder();
    std::vector<Record> reordered;
    reordered.reserve(m_records.size());
    std::vector<SearchEntry> search;
    search.reserve(m_search.size());
    std::vector<SearchState> states;
    states.reserve(m_searchState.size());
    for (int old : newOrder) {
        reordered.push_back(std::move(m_records[size_t(old)]));
        search.push_back(m_search[size_t(old)]);
        states.push_back(m_searchState[size_t(old)]);
    }
    m_records.swap(reordered);
    m_search.swap(search);
    m_searchState.swap(states);
    m_dirtyRows.clear();
    ++m_searchGeneration;
    if (m_listener) m_listener->Reordered(newOrder);
}

void LinkStore::FreeAllLinks()
{
    auto lock = Lock();
    if (m_listener) m_listener->AboutToReset();
    m_records.clear();
    m_records.shrink_to_fit();
    m_search.clear();
    m_search.shrink_to_fit();
    m_searchState.clear();
    m_searchState.shrink_to_fit();
    m_searchText.clear();
    m_searchText.shrink_to_fit();
    m_searchDirty = m_searchGarbage = 0;
    m_dirtyRows.clear();
    ++m_searchGeneration;
    if (m_listener) m_listener->WasReset();
}

void LinkStore::ConvertLegacyText(int firstRecord)
{
    auto lock = Lock();
    bool texts = false;
    for (size_t i = size_t(std::max(firstRecord, 0)); i < m_records.size(); ++i) {
        CAnnotatedLink& r = *m_records[i];
        for (auto text : {CAnnotatedLink::Text::Title, CAnnotatedLink::Text::Link, CAnnotatedLink::Text::Description,
                          CAnnotatedLink::Text::Category}) {
            if (IsValidUtf8(r.Get(text))) continue;
            r.Set(text, Windows1252ToUtf8(r.Get(text)));
            texts = true;
        }
    }
    if (texts) MarkAllSearchText(size_t(std::max(firstRecord, 0)));
    ConvertLegacy(m_clearSelection);
    if (std::any_of(m_categories.begin(), m_categories.end(), [](const std::string& c) { return !IsValidUtf8(c); })) {
        std::vector<std::string> names;
        names.swap(m_categories);
        for (auto& name : names) {
            ConvertLegacy(name);
            if (!HasCategory(name))
                m_categories.insert(m_categories.begin() + SortedInsertIndex(m_categories, name, CategoryCompare), name);
        }
        NotifyCategories();
    }
    if (texts && m_listener) m_listener->TextsChanged();
}

LinkStore::Record LinkStore::MakeImportedLink(CAnnotatedLink link)
{
    auto lock = Lock();
    if (link.Title().empty() && link.Link().empty()) return nullptr;
    link.SetCategory(TrimView(link.Category()));
    AddCategoryIfNew(std::string(link.Category()));
    return std::make_unique<CAnnotatedLink>(std::move(link));
}

bool LinkStore::AddImportedLink(const std::string& title, const std::string& link, const std::string& category,
                                const CLinkDate& now, const std::function<void()>& storedRecordRule)
{
    auto lock = Lock();
    std::vector<Record> record;
    record.push_back(MakeImportedLink(CAnnotatedLink{title, link, std::string(), category, now, now}));
    // A record that could not be inserted (no memory) is no stored record.
    if (!record.front() || !InsertRecords(Count(), record)) return false;
    if (storedRecordRule) storedRecordRule();
    return true;
}

bool LinkStore::GetCategories(std::vector<std::string>& list) const
{
    auto lock = Lock();
    list.insert(list.end(), m_categories.begin(), m_categories.end());
    return !m_categories.empty();
}

void LinkStore::SetCategories(const std::vector<std::string>& names)
{
    auto lock = Lock();
    m_categories.clear();
    for (const auto& name : names)
        if (!name.empty()) m_categories.insert(m_categories.begin() + SortedInsertIndex(m_categories, name, CategoryCompare), name);
    m_changed = true;
    NotifyCategories();
}

void LinkStore::SetCategoriesInOrder(std::vector<std::string> names)
{
    auto lock = Lock();
    m_categories = std::move(names);
    m_categoriesSorted = std::is_sorted(m_categories.begin(), m_categories.end(),
                                        [](const std::string& a, const std::string& b) { return CategoryCompare(a, b) < 0; });
    NotifyCategories();
}

bool LinkStore::HasCategory(const std::string& name) const
{
    auto lock = Lock();
    if (!m_categoriesSorted)
        return std::any_of(m_categories.begin(), m_categories.end(),
                           [&](const std::string& c) { return EqualsNoCase(c, name); });
    // The list is in natural order, and names alike without regard to case compare equal
    // in it: the first such place is found by bisection, and the few equal ones looked at.
    auto it = std::lower_bound(m_categories.begin(), m_categories.end(), name,
                               [](const std::string& c, const std::string& n) { return NaturalCompare(c, n) < 0; });
    for (; it != m_categories.end() && NaturalCompare(*it, name) == 0; ++it)
        if (EqualsNoCase(*it, name)) return true;
    return false;
}

void LinkStore::InsertCategorySorted(const std::string& name)
{
    auto lock = Lock();
    if (name.empty()) return;
    m_categories.insert(m_categories.begin() + SortedInsertIndex(m_categories, name, CategoryCompare), name);
    NotifyCategories();
}

void LinkStore::AddCategories(const std::vector<std::string>& names)
{
    auto lock = Lock();
    // One sort for many names: inserting them one by one costs a scan and a move each.
    auto key = [](std::string_view name) { return Folded(name); };
    std::unordered_set<std::string> listed;
    listed.reserve(m_categories.size() + names.size());
    for (const std::string& name : m_categories) listed.insert(key(name));
    const size_t before = m_categories.size();
    for (const std::string& name : names)
        if (!name.empty() && listed.insert(key(name)).second) m_categories.push_back(name);
    if (m_categories.size() == before) return;
    std::sort(m_categories.begin(), m_categories.end(),
              [](const std::string& a, const std::string& b) { return CategoryCompare(a, b) < 0; });
    NotifyCategories();
}

bool LinkStore::AddCategoryIfNew(const std::string& name)
{
    auto lock = Lock();
    if (name.empty() || HasCategory(name)) return false;
    InsertCategorySorted(name);
    return true;
}

void LinkStore::ClearCategories()
{
    auto lock = Lock();
    m_categories.clear();
    NotifyCategories();
}

void LinkStore::RenameCategories(std::vector<std::pair<std::string, std::string>>& renames)
{
    if (renames.empty()) return;
    auto lock = Lock();
    // In the order they were made, so that a name renamed twice ends with its last name.
    for (size_t row = 0; row < m_records.size(); ++row)
        for (const auto& [from, to] : renames)
            // Through At, which tells the search that the row's text moves.
            if (m_records[row]->Category() == from) At(int(row)).SetCategory(to);
    renames.clear();
    m_changed = true;
    if (m_listener) m_listener->TextsChanged();
}

void LinkStore::NotifyCategories()
{
    if (m_listener) m_listener->CategoriesChanged();
}

void LinkStore::InsertSearchRows(size_t index, size_t count)
{
    m_search.insert(m_search.begin() + ptrdiff_t(index), count, SearchEntry{});
    m_searchState.insert(m_searchState.begin() + ptrdiff_t(index), count, SearchState{});
    m_searchDirty += count;
    m_dirtyRows.clear();
    ++m_searchGeneration;
}

void LinkStore::MarkAllSearchText(size_t first)
{
    for (size_t row = first; row < m_searchState.size(); ++row) MarkSearchText(row, false);
}

void LinkStore::RecordsChanged(const std::vector<const CAnnotatedLink*>& records)
{
    auto lock = Lock();
    const std::unordered_set<const CAnnotatedLink*> changed(records.begin(), records.end());
    for (size_t row = 0; row < m_records.size(); ++row)
        if (changed.count(m_records[row].get())) MarkSearchText(row, false);
}

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

void LinkStore::RememberDirtyRow(size_t row, bool unchangedYet)
{
    const CAnnotatedLink& record = *m_records[row];
    m_dirtyRows.push_back({row, unchangedYet, unchangedYet ? TextHash(record) : 0});
}

LinkStore::SearchTextView LinkStore::SearchText() const
{
    auto lock = Lock();
    if (m_searchDirty > 0) {
        // Whether the folded text moved (it grew, or was packed). Told by its capacity, not
        // by its address: a new buffer can be given the address of one freed before.
        bool moved = false;
        // A folded row's entry points at its copy in the folded text, where it is now.
        const auto pointAtFolded = [this](size_t row) { m_search[row].block = m_searchText.data() + m_searchState[row].folded; };
        std::string foldedTitle, foldedDescription;
        // A few rows marked one by one (a Modify, an Undo) are looked at alone; after a
        // load or a change of row order, every row is.
        const bool few = m_dirtyRows.size() == m_searchDirty;
        const size_t steps = few ? m_dirtyRows.size() : m_search.size();
        for (size_t step = 0; step < steps; ++step) {
            const size_t row = few ? m_dirtyRows[step].row : step;
            SearchState& state = m_searchState[row];
            if (!state.dirty) continue;
            state.dirty = false;
            SearchEntry& entry = m_search[row];
            const CAnnotatedLink& record = *m_records[row];
            const bool changed = !few || !m_dirtyRows[step].known ||
                                 m_dirtyRows[step].hash != TextHash(record);
            const bool wasFolded = state.isFolded;
            // A record handed out for change but not changed leaves the results as they were.
            if (changed) ++m_searchGeneration;
            if (!HasNonAscii(record.Title()) && !HasNonAscii(record.Description())) {
                // ASCII: the record's own block, which stays where it is until the record changes.
                if (wasFolded) m_searchGarbage += FoldedSize(row);
                state.isFolded = false;
                entry.block = record.Block();
                continue;
            }
            if (wasFolded && !changed) continue;
            if (wasFolded) m_searchGarbage += FoldedSize(row);
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
            state.folded = m_searchText.size();
            const size_t capacity = m_searchText.capacity();
            m_searchText.resize(m_searchText.size() + TextBlock::SizeFor(texts));
            moved = moved || m_searchText.capacity() != capacity;
            TextBlock::Write(m_searchText.data() + state.folded, texts);
            pointAtFolded(row);
        }
        m_searchDirty = 0;
        m_dirtyRows.clear();
        // Texts folded again leave their old copies behind: past half, the buffer is packed.
        if (m_searchGarbage > m_searchText.size() / 2) {
            std::string packed;
            packed.reserve(m_searchText.size() - m_searchGarbage);
            for (size_t row = 0; row < m_search.size(); ++row) {
                SearchState& state = m_searchState[row];
                if (!state.isFolded) continue;
                const size_t size = FoldedSize(row);
                const uint64_t offset = packed.size();
                packed.append(m_searchText, size_t(state.folded), size);
                state.folded = offset;
            }
            m_searchText.swap(packed);
            m_searchGarbage = 0;
            moved = true;
        }
        // The folded text moved (it grew, or was packed): its rows point into it again.
        if (moved)
            for (size_t row = 0; row < m_search.size(); ++row)
                if (m_searchState[row].isFolded) pointAtFolded(row);
    }
    return {m_search.data(), m_search.size(), m_searchGeneration};
}
