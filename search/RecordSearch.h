#pragma once
#include <atomic>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "common/ThreadJob.h"
#include "search/TextMatcher.h"

struct CAnnotatedLink;
class LinkStore;
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

// One search: the pattern and a matcher made for it.
class CRecordSearch {
public:
    CRecordSearch(const SearchOptions& options, std::string pattern);
    // Title, Description, Category, Link in that order; the first match decides.
    bool Matches(const CAnnotatedLink& record) const;
    // Writes 1 or 0 for rows [first, first + count) into out. Checks stop after each
    // row and returns how many rows it finished.
    int MatchRows(const LinkStore& store, int first, int count, uint8_t* out,
                  const CThreadJob* stop = nullptr) const;

private:
    SearchOptions m_options;
    std::string m_pattern;
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
    void SetOwner(SearchSink* owner, const LinkStore* store)
    {
        m_owner = owner;
        m_store = store;
    }
    void Prepare(int searchId, const SearchOptions& options, std::string pattern);
    int Run() override;

private:
    SearchSink* m_owner = nullptr;
    const LinkStore* m_store = nullptr;
    int m_searchId = 0;
    SearchOptions m_options;
    std::string m_pattern;
};
