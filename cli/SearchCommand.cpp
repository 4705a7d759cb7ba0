// norvelle-cli search: the links that match, as the Search box finds them, read and
// matched at the same time on every core.
#include <algorithm>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <ostream>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "cli/CliCommands.h"
#include "cli/PlainText.h"
#include "search/RecordSearch.h"
#include "store/DataFile.h"
#include "store/FileIO.h"
#include "store/LinkStore.h"
#include "store/GuardedWrite.h"

namespace {

// The matches of a batch, a line each ("<blank><row><tab><title>"): how many, and where
// the last one starts.
struct MatchedLines {
    std::string lines;
    size_t lastLine = 0;
    int matches = 0;
};

// A batch of records read and not yet matched. The records are swapped in and out of the
// reader's one record, so that once warm nothing is allocated or copied to fill a batch.
struct Batch {
    std::vector<CReadRecord> records;
    size_t size = 0;
    int firstRow = 0;

    void Add(CReadRecord& record)
    {
        if (size == records.size()) records.emplace_back();
        std::swap(records[size++], record);
    }
    MatchedLines Match(const CRecordSearch& search) const
    {
        MatchedLines matched;
        for (size_t i = 0; i < size; ++i) {
            const CReadRecord& r = records[i];
            if (!search.MatchesFields(r.title, r.description, r.category, r.link)) continue;
            matched.lastLine = matched.lines.size();
            ++matched.matches;
            matched.lines += ' ';
            matched.lines += std::to_string(firstRow + int(i));
            matched.lines += '\t';
            matched.lines += PlainText(r.title);
            matched.lines += '\n';
        }
        return matched;
    }
};

// Matches batches on a thread of its own and keeps what each gave, in the order handed.
class BatchMatcher {
public:
    explicit BatchMatcher(const CRecordSearch& search) : m_search(search), m_thread([this] { Work(); }) {}
    ~BatchMatcher() { Finish(); }

    // Waits until the last batch is matched, then takes this one and gives back an empty one.
    void Hand(Batch& batch)
    {
        std::unique_lock lock(m_mutex);
        m_wake.wait(lock, [this] { return !m_full; });
        std::swap(batch, m_batch);
        m_full = true;
        m_wake.notify_all();
        batch.size = 0;
    }
    // What each batch handed to this matcher gave, in order.
    std::vector<MatchedLines>& Finish()
    {
        if (m_thread.joinable()) {
            {
                std::unique_lock lock(m_mutex);
                m_wake.wait(lock, [this] { return !m_full; });
                m_done = true;
            }
            m_wake.notify_all();
            m_thread.join();
        }
        return m_results;
    }

private:
    void Work()
    {
        for (;;) {
            std::unique_lock lock(m_mutex);
            m_wake.wait(lock, [this] { return m_full || m_done; });
            if (!m_full) return;
            lock.unlock();
            // Only the lines are kept; the records go back to be filled again.
            m_results.push_back(m_batch.Match(m_search));
            lock.lock();
            m_full = false;
            m_wake.notify_all();
        }
    }

    const CRecordSearch& m_search;
    Batch m_batch;
    bool m_full = false, m_done = false;
    std::mutex m_mutex;
    std::condition_variable m_wake;
    std::vector<MatchedLines> m_results;
    std::thread m_thread;  // last: started once everything above is ready
};

// The reader fills batches and hands them to the matchers in turn, one per core.
class ParallelMatch {
public:
    static constexpr size_t kBatch = 4096;

    explicit ParallelMatch(const CRecordSearch& search)
    {
        const unsigned cores = std::max(1u, std::thread::hardware_concurrency());
        for (unsigned i = 0; i < cores; ++i) m_matchers.push_back(std::make_unique<BatchMatcher>(search));
    }
    void Add(CReadRecord& record)
    {
        m_batch.Add(record);
        if (m_batch.size == kBatch) Hand();
    }
    // Every batch's lines in row order: batch k went to matcher k modulo their count.
    std::vector<MatchedLines> Finish()
    {
        Hand();
        std::vector<std::vector<MatchedLines>*> results;
        size_t batches = 0;
        for (auto& matcher : m_matchers) {
            results.push_back(&matcher->Finish());
            batches += results.back()->size();
        }
        std::vector<MatchedLines> all;
        all.reserve(batches);
        for (size_t k = 0; k < batches; ++k) all.push_back(std::move((*results[k % results.size()])[k / results.size()]));
        return all;
    }

private:
    void Hand()
    {
        if (m_batch.size == 0) return;
        const int records = int(m_batch.size);
        m_batch.firstRow = m_row;
        m_matchers[m_next]->Hand(m_batch);
        m_next = (m_next + 1) % m_matchers.size();
        m_row += records;
    }

    std::vector<std::unique_ptr<BatchMatcher>> m_matchers;
    Batch m_batch;
    size_t m_next = 0;
    int m_row = 0;
};

}  // namespace

int SearchCommand(const std::string& dataFile, const std::string& pattern, const SearchOptions& options,
                  bool positionOnLast, std::ostream& out, std::ostream& err)
{
    FileSource source;
    if (!OpenDataFile(dataFile, source, err)) return kExitUsage;
    // Records are matched as they are read and only the matches are kept.
    const CRecordSearch search(options, pattern);
    int rows = 0;
    LinkStore categories;
    ParallelMatch matching(search);
    ReadResult result = ScanDataFile(categories, source, [&](CReadRecord& record) {
        matching.Add(record);
        ++rows;
    });
    if (const char* refused = RefusalMessage(result)) err << refused << '\n';
    std::vector<MatchedLines> batches = matching.Finish();
    if (result.status == ReadStatus::ReadError) {
        err << FormatPathMessage("Could not read annotated links from \"%.259s\".", dataFile) << '\n';
        return kExitUsage;
    }
    if (result.status != ReadStatus::Ok) return kExitUsage;

    // The first match, or the last, is the one the window would show: its line is starred.
    int matches = 0;
    MatchedLines* reference = nullptr;
    for (MatchedLines& batch : batches) {
        matches += batch.matches;
        if (batch.matches && (!reference || positionOnLast)) reference = &batch;
    }
    if (reference) reference->lines[positionOnLast ? reference->lastLine : 0] = '*';
    for (const MatchedLines& batch : batches) out.write(batch.lines.data(), std::streamsize(batch.lines.size()));
    out << matches << " of " << rows << " links match\n";
    return matches == 0 ? kExitFailed : kExitOk;
}
