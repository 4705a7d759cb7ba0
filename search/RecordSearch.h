#pragma once
#include <atomic>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "common/ThreadJob.h"
#include "search/TextMatcher.h"
#include "search/SearchIndex.h"
#include "store/LinkStore.h"

struct CSettings;

// Which fields a search looks at and how it matches.
struct SearchOptions {
    bool title = true;
    bool description = true;
    bool category = false;
    bool link = false;
    bool allowTypos = false;
    int separation = 2;

    static SearchOptions From(const CSettings& settings);
};

// One search: the pattern and a matcher made for it. Case does not matter for any letter:
// the pattern and the texts are compared case-folded (see store/CaseFold.h).
class CRecordSearch {
public:
    CRecordSearch(const SearchOptions& options, std::string pattern);
    // A record as read from a file: Title, Description, Category, Link in that order,
    // folded as they are looked at; the first match decides.
    bool Matches(const CAnnotatedLink& record) const;
    // The same for a record's fields given apart (as the command line's batches hold them).
    bool MatchesFields(std::string_view title, std::string_view description, std::string_view category,
                       std::string_view link) const;
    // Writes 1 or 0 for rows [first, first + count) of the store into out, from the
    // search's folded text (taken by the caller with CSearchIndex::Ready). Rows without
    // their candidates byte set are not looked at and get 0. Checks stop after each row
    // and returns how many rows it finished.
    int MatchRows(const LinkStore& store, const CSearchIndex::View& text, int first, int count, uint8_t* out,
                  const CThreadJob* stop = nullptr, const uint8_t* candidates = nullptr) const;
    // Every row, the work shared between the processor's cores; out holds one byte a row.
    void MatchAll(const CSearchIndex& index, uint8_t* out, const uint8_t* candidates = nullptr) const;
    // True when every row this search matches also matched earlier: the pattern only
    // adds to the end of the earlier one, with the same fields and typo rules. (A pattern
    // of one character allows no typo, so a typo search narrows from two on.)
    bool Narrows(const CRecordSearch& earlier) const;
    const std::string& Pattern() const { return m_pattern; }

private:
    bool MatchesFolded(std::string_view title, std::string_view description, const LinkStore& store, int row) const;

    SearchOptions m_options;
    std::string m_pattern;  // folded
    std::unique_ptr<CTextMatcher> m_matcher;
};

// Receives an interruptible search's results on the window's side.
class SearchSink {
public:
    virtual ~SearchSink() = default;
    // The states of rows [first, first + bits.size()).
    virtual void SearchBatch(int searchId, int first, std::vector<uint8_t> bits) = 0;
    // Sent once at the end; stopped when the job was told to stop.
    virtual void SearchDone(int searchId, bool stopped) = 0;
};

// A search on a worker thread that the next keystroke stops. It reads the records
// without the store lock (the busy flag keeps every writer away) and hands its
// results over in batches.
class CSearchJob : public CPooledJob {
public:
    static constexpr int kBatchRows = 8192;

    ~CSearchJob() override { Wait(); }
    // text: the store's search text, taken on the window thread before the job starts.
    void SetOwner(SearchSink* owner, const LinkStore* store, CSearchIndex::View text)
    {
        m_owner = owner;
        m_store = store;
        m_text = text;
    }
    void Prepare(int searchId, const SearchOptions& options, std::string pattern);
    int Run() override;

private:
    SearchSink* m_owner = nullptr;
    const LinkStore* m_store = nullptr;
    CSearchIndex::View m_text;
    int m_searchId = 0;
    SearchOptions m_options;
    std::string m_pattern;
};
