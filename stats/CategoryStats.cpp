#include "stats/CategoryStats.h"

#include "platform/Translate.h"
#include "store/LinkStore.h"

namespace {
enum { kTotal, kSelected, kNone };
}  // namespace

CCategoryCounter::CCategoryCounter(const std::vector<std::string>& categories, int selected)
    : m_rows{{TrNoop("Statistics", "TOTAL"), 0}, {TrNoop("Statistics", "SELECTED"), selected}, {TrNoop("Statistics", "NO CATEGORY"), 0}}
{
    for (const std::string& name : categories) {
        m_rows.push_back({name, 0});
        // A name listed twice counts in its later row.
        m_slots[name] = m_rows.size() - 1;
    }
}

void CCategoryCounter::Count(std::string_view category)
{
    ++m_rows[kTotal].count;
    auto it = m_slots.find(category);
    ++m_rows[it == m_slots.end() ? size_t(kNone) : it->second].count;
}

std::vector<CategoryCount> CountCategories(const LinkStore& store, int selected)
{
    auto lock = store.Lock();
    CCategoryCounter counter(store.Categories(), selected);
    for (int i = 0; i < store.Count(); ++i) counter.Count(store.At(i).Category());
    return counter.Rows();
}
