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
        if (!MakeRoom(m_records.capacity())) return false;
        Tell([index](StoreListener& l) { l.AboutToInsert(index, 1); });
        m_records.insert(m_records.begin() + index, std::move(record));
        Tell([index](StoreListener& l) { l.Inserted(index, 1); });
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
    } catch (const std::bad_alloc&) {
        return false;
    }
    if (!MakeRoom(takeList ? records.capacity() : m_records.capacity())) return false;
    Tell([index, n](StoreListener& l) { l.AboutToInsert(index, int(n)); });
    if (takeList)
        m_records.swap(records);
    else
        m_records.insert(m_records.begin() + index, std::make_move_iterator(records.begin()),
                         std::make_move_iterator(records.end()));
    records.clear();
    Tell([index, n](StoreListener& l) { l.Inserted(index, int(n)); });
    return true;
}

std::vector<LinkStore::Record> LinkStore::TakeRows(const std::vector<int>& rows)
{
    auto lock = Lock();
    std::vector<Record> taken;
    if (rows.empty()) return taken;
    taken.reserve(rows.size());
    Tell([&rows](StoreListener& l) { l.AboutToRemove(rows); });
    // One pass: move the taken records out and compact the rest in place.
    size_t write = 0, next = 0;
    for (size_t read = 0; read < m_records.size(); ++read) {
        if (next < rows.size() && size_t(rows[next]) == read) {
            taken.push_back(std::move(m_records[read]));
            ++next;
        } else {
            if (write != read) m_records[write] = std::move(m_records[read]);
            ++write;
        }
    }
    m_records.resize(write);
    Tell([&rows](StoreListener& l) { l.Removed(rows); });
    return taken;
}

void LinkStore::Reorder(const std::vector<int>& newOrder)
{
    auto lock = Lock();
    if (newOrder.size() != m_records.size()) return;
    Tell([](StoreListener& l) { l.AboutToReorder(); });
    std::vector<Record> reordered;
    reordered.reserve(m_records.size());
    for (int old : newOrder) reordered.push_back(std::move(m_records[size_t(old)]));
    m_records.swap(reordered);
    Tell([&newOrder](StoreListener& l) { l.Reordered(newOrder); });
}

void LinkStore::FreeAllLinks()
{
    auto lock = Lock();
    Tell([](StoreListener& l) { l.AboutToReset(); });
    m_records.clear();
    m_records.shrink_to_fit();
    Tell([](StoreListener& l) { l.WasReset(); });
}

void LinkStore::ConvertLegacyText(int firstRecord)
{
    auto lock = Lock();
    std::vector<int> converted;
    for (size_t i = size_t(std::max(firstRecord, 0)); i < m_records.size(); ++i) {
        CAnnotatedLink& r = *m_records[i];
        for (auto text : {CAnnotatedLink::Text::Title, CAnnotatedLink::Text::Link, CAnnotatedLink::Text::Description,
                          CAnnotatedLink::Text::Category}) {
            if (IsValidUtf8(r.Get(text))) continue;
            r.Set(text, Windows1252ToUtf8(r.Get(text)));
            if (converted.empty() || converted.back() != int(i)) converted.push_back(int(i));
        }
    }
    const bool texts = !converted.empty();
    if (texts) Tell([&converted](StoreListener& l) { l.RowsChanged(converted); });
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
    std::vector<int> renamed;
    for (size_t row = 0; row < m_records.size(); ++row)
        for (const auto& [from, to] : renames)
            if (m_records[row]->Category() == from) {
                m_records[row]->SetCategory(to);
                if (renamed.empty() || renamed.back() != int(row)) renamed.push_back(int(row));
            }
    renames.clear();
    m_changed = true;
    if (!renamed.empty()) Tell([&renamed](StoreListener& l) { l.RowsChanged(renamed); });
    if (m_listener) m_listener->TextsChanged();
}

void LinkStore::NotifyCategories()
{
    if (m_listener) m_listener->CategoriesChanged();
}

void LinkStore::RemoveFollower(StoreListener* follower)
{
    m_followers.erase(std::remove(m_followers.begin(), m_followers.end(), follower), m_followers.end());
}

bool LinkStore::MakeRoom(size_t rows)
{
    for (StoreListener* follower : m_followers)
        if (!follower->MakeRoom(rows)) return false;
    return true;
}

void LinkStore::RecordsChanged(const std::vector<const CAnnotatedLink*>& records)
{
    auto lock = Lock();
    const std::unordered_set<const CAnnotatedLink*> changed(records.begin(), records.end());
    std::vector<int> rows;
    for (size_t row = 0; row < m_records.size(); ++row)
        if (changed.count(m_records[row].get())) rows.push_back(int(row));
    if (!rows.empty()) Tell([&rows](StoreListener& l) { l.RowsChanged(rows); });
}
