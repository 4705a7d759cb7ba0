#include "search/RecordSearch.h"

#include "options/Settings.h"
#include "store/LinkStore.h"

SearchOptions SearchOptions::From(const CSettings& s)
{
    return {s.titleFields, s.descriptionFields, s.categoryFields, s.linkFields, s.allowTypos, s.separation};
}

CRecordSearch::CRecordSearch(const SearchOptions& options, std::string pattern)
    : m_options(options), m_pattern(std::move(pattern))
{
    // The search never counts two empty strings as a match.
    if (options.allowTypos)
        m_matcher = std::make_unique<CTypoMatcher>(false, options.separation);
    else
        m_matcher = std::make_unique<CExactMatcher>(false);
}

bool CRecordSearch::Matches(const CAnnotatedLink& r) const
{
    const CTextMatcher& m = *m_matcher;
    return (m_options.title && m.Match(r.title, m_pattern)) ||
           (m_options.description && m.Match(r.description, m_pattern)) ||
           (m_options.category && m.Match(r.category, m_pattern)) || (m_options.link && m.Match(r.link, m_pattern));
}

int CRecordSearch::MatchRows(const LinkStore& store, int first, int count, uint8_t* out, const CThreadJob* stop) const
{
    for (int i = 0; i < count; ++i) {
        const bool matched = Matches(store.At(first + i));
        if (stop && stop->IsStopRequested()) return i;
        out[i] = matched;
    }
    return count;
}

void CSearchJob::Prepare(int searchId, const SearchOptions& options, std::string pattern)
{
    m_searchId = searchId;
    m_options = options;
    m_pattern = std::move(pattern);
}

int CSearchJob::Run()
{
    SetFinished(false);
    const CRecordSearch search(m_options, m_pattern);
    const int rows = m_store->Count();
    bool stopped = false;
    for (int first = 0; first < rows && !stopped; first += kBatchRows) {
        const int count = rows - first < kBatchRows ? rows - first : kBatchRows;
        std::vector<uint8_t> bits(static_cast<size_t>(count));
        const int done = search.MatchRows(*m_store, first, count, bits.data(), this);
        stopped = done < count;
        bits.resize(size_t(done));
        if (!bits.empty()) m_owner->SearchBatch(m_searchId, first, std::move(bits));
    }
    m_owner->SearchDone(m_searchId, stopped || IsStopRequested());
    SetFinished(true);
    return 0;
}
