#include "import/LinkIntake.h"

#include <utility>

#include "health/LinkAddress.h"

CLinkIntake::CLinkIntake(LinkStore& store, const CLinkDate& now, IntakeOptions options)
    : m_store(store), m_now(now), m_options(options)
{
    if (!m_options.skipExisting) return;
    auto lock = m_store.Lock();
    m_existing.reserve(size_t(m_store.Count()));
    for (int i = 0; i < m_store.Count(); ++i) {
        std::string key = DuplicateKey(std::as_const(m_store).At(i).Link());
        if (!key.empty()) m_existing.insert(std::move(key));
    }
}

CLinkDate CLinkIntake::DateOf(int64_t seconds, const CLinkDate& otherwise)
{
    if (!m_options.keepDates || seconds <= 0) return otherwise;
    const CLinkDate date = m_dates.DateOf(seconds);
    return date.status == CLinkDate::Valid ? date : otherwise;
}

CLinkIntake::Result CLinkIntake::Take(ImportedLink&& link, LinkStore::Record& record)
{
    if (m_options.skipExisting) {
        const std::string key = DuplicateKey(link.link);
        if (!key.empty() && m_existing.count(key)) return Result::Skipped;
    }
    const CLinkDate added = DateOf(link.added, m_now);
    const CLinkDate modified = DateOf(link.modified, added);
    record = m_store.MakeImportedLink(CAnnotatedLink{std::move(link.title), std::move(link.link),
                                                     DescriptionWithTags(link.description, std::move(link.tags)),
                                                     std::move(link.category), added, modified});
    return record ? Result::Made : Result::Empty;
}
