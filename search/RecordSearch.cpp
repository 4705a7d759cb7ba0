#include "search/RecordSearch.h"

#include "options/Settings.h"
#include "store/CaseFold.h"
#include "store/LinkStore.h"

#include <algorithm>
#include <atomic>
#include <thread>

SearchOptions SearchOptions::From(const CSettings& s)
{
    return {s.titleFields, s.descriptionFields, s.categoryFields, s.linkFields, s.allowTypos, s.separation};
}

CRecordSearch::CRecordSearch(const SearchOptions& options, std::string pattern)
    : m_options(options), m_pattern(Folded(pattern))
{
    // The search never counts two empty strings as a match.
    if (options.allowTypos)
        m_matcher = std::make_unique<CTypoMatcher>(false, options.separation);
    else
        m_matcher = std::make_unique<CExactMatcher>(false);
    // The search is shared between threads: what the matcher keeps is made now.
    m_matcher->Prepare(m_pattern);
}

namespace {

// A field as it is compared: ASCII's case is the matchers' own business, so only a field
// with more than ASCII is folded (into scratch).
std::string_view FoldedField(std::string_view field, std::string& scratch)
{
    if (!HasNonAscii(field)) return field;
    scratch.clear();
    AppendFolded(field, scratch);
    return scratch;
}

}  // namespace

bool CRecordSearch::Matches(const CAnnotatedLink& r) const
{
    return MatchesFields(r.Title(), r.Description(), r.Category(), r.Link());
}

bool CRecordSearch::MatchesFields(std::string_view title, std::string_view description, std::string_view category,
                                  std::string_view link) const
{
    const CTextMatcher& m = *m_matcher;
    thread_local std::string scratch;
    return (m_options.title && m.MatchPrepared(FoldedField(title, scratch))) ||
           (m_options.description && m.MatchPrepared(FoldedField(description, scratch))) ||
           (m_options.category && m.MatchPrepared(FoldedField(category, scratch))) ||
           (m_options.link && m.MatchPrepared(FoldedField(link, scratch)));
}

bool CRecordSearch::MatchesFolded(std::string_view title, std::string_view description, const LinkStore& store,
                                  int row) const
{
    const CTextMatcher& m = *m_matcher;
    if ((m_options.title && m.MatchPrepared(title)) || (m_options.description && m.MatchPrepared(description)))
        return true;
    if (!m_options.category && !m_options.link) return false;
    // The record itself is read only for these fields.
    const CAnnotatedLink& r = store.At(row);
    std::string scratch;
    return (m_options.category && m.MatchPrepared(FoldedField(r.Category(), scratch))) ||
           (m_options.link && m.MatchPrepared(FoldedField(r.Link(), scratch)));
}

int CRecordSearch::MatchRows(const LinkStore& store, const CSearchIndex::View& text, int first, int count,
                             uint8_t* out, const CThreadJob* stop, const uint8_t* candidates) const
{
    // An empty Search box matches no row: clearing it costs no scan.
    if (m_pattern.empty()) {
        std::fill(out, out + count, uint8_t(0));
        return count;
    }
    for (int i = 0; i < count; ++i) {
        const size_t row = size_t(first + i);
        // The texts of rows a little ahead are asked of memory now, so that they are there
        // when their turn comes: a record's text lies wherever it was allocated. Only the
        // block's address is read here; its sizes would have to wait for memory.
        if (i + 8 < count) {
            __builtin_prefetch(text.rows[row + 8].block);
            __builtin_prefetch(text.rows[row + 8].block + 64);
        }
        const bool matched = (!candidates || candidates[row]) &&
                             MatchesFolded(text.Title(row), text.Description(row), store, first + i);
        if (stop && stop->IsStopRequested()) return i;
        out[i] = matched;
    }
    return count;
}

void CRecordSearch::MatchAll(const CSearchIndex& index, uint8_t* out, const uint8_t* candidates) const
{
    const LinkStore& store = index.Store();
    const CSearchIndex::View text = index.Ready();
    const int rows = int(text.count);
    // A second core shares the rows when there are enough of them; a thread costs more
    // than a few thousand rows take.
    const unsigned cores = std::thread::hardware_concurrency();
    if (cores < 2 || rows < 20000 || m_pattern.empty()) {
        MatchRows(store, text, 0, rows, out, nullptr, candidates);
        return;
    }
    // The rows are handed out in blocks, so that a core that the rest of the desktop
    // interrupts takes fewer of them and the other core more.
    constexpr int kBlock = 4096;
    std::atomic<int> next{0};
    const auto work = [&] {
        for (int first = next.fetch_add(kBlock); first < rows; first = next.fetch_add(kBlock))
            MatchRows(store, text, first, std::min(kBlock, rows - first), out + first, nullptr, candidates);
    };
    std::thread second(work);
    work();
    second.join();
}

bool CRecordSearch::Narrows(const CRecordSearch& earlier) const
{
    const SearchOptions& a = m_options;
    const SearchOptions& b = earlier.m_options;
    if (a.title != b.title || a.description != b.description || a.category != b.category || a.link != b.link ||
        a.allowTypos != b.allowTypos || (a.allowTypos && a.separation != b.separation))
        return false;
    const std::string& before = earlier.m_pattern;
    if (before.empty() || (a.allowTypos && before.size() < 2)) return false;
    return m_pattern.size() >= before.size() && m_pattern.compare(0, before.size(), before) == 0;
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
    const CSearchIndex::View text = m_text;
    const int rows = int(text.count);
    bool stopped = false;
    for (int first = 0; first < rows && !stopped; first += kBatchRows) {
        const int count = rows - first < kBatchRows ? rows - first : kBatchRows;
        std::vector<uint8_t> bits(static_cast<size_t>(count));
        const int done = search.MatchRows(*m_store, text, first, count, bits.data(), this);
        stopped = done < count;
        bits.resize(size_t(done));
        if (!bits.empty()) m_owner->SearchBatch(m_searchId, first, std::move(bits));
    }
    m_owner->SearchDone(m_searchId, stopped || IsStopRequested());
    SetFinished(true);
    return 0;
}
