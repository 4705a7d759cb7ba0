// norvelle-cli search: the links that match, as the Search box finds them, read and
// matched at the same time on every core.
#include <algorithm>
#include <condition_variable>
#include <iterator>
#include <memory>
#include <mutex>
#include <ostream>
#include <thread>
#include <utility>
#include <vector>

#include "cli/CliCommands.h"
#include "cli/PlainText.h"
#include "cli/StreamPrompter.h"
#include "search/RecordSearch.h"
#include "store/DataFile.h"
#include "store/FileIO.h"
#include "store/LinkStore.h"
#include "store/Persistence.h"

namespace {

// A batch of records as the matchers need them: the four searched fields of each, one
// after the other in one buffer, so that filling a batch allocates nothing once warm.
struct Batch {
    std::string text;
    std::vector<size_t> ends;  // four a record: where its title, description, category and link end
    int firstRow = 0;

    size_t Records() const { return ends.size() / 4; }
    void Add(const CAnnotatedLink& record)
    {
        for (const std::string* field : {&record.title, &record.description, &record.category, &record.link}) {
            text += *field;
            ends.push_back(text.size());
        }
    }
    std::string_view Field(size_t record, int field) const
    {
        const size_t k = record * 4 + size_t(field);
        const size_t begin = k == 0 ? 0 : ends[k - 1];
        return std::string_view(text).substr(begin, ends[k] - begin);
    }
    void Clear()
    {
        text.clear();
        ends.clear();
    }
};

// Matches batches on a thread of its own: handed a full batch, it gives back the one it
// worked through, to be filled again.
class BatchMatcher {
public:
    explicit BatchMatcher(const CRecordSearch& search) : m_search(search), m_thread([this] { Work(); }) {}
    ~BatchMatcher() { Finish(); }

    // Waits until the last batch is done, then takes this one.
    void Hand(Batch& batch)
    {
        std::unique_lock lock(m_mutex);
        m_wake.wait(lock, [this] { return !m_full; });
        std::swap(batch, m_batch);
        m_full = true;
        m_wake.notify_all();
    }
    // The rows that matched, with their titles, in row order.
    std::vector<std::pair<int, std::string>>& Finish()
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
        return m_matches;
    }

private:
    void Work()
    {
        for (;;) {
            std::unique_lock lock(m_mutex);
            m_wake.wait(lock, [this] { return m_full || m_done; });
            if (!m_full) return;
            lock.unlock();
            for (size_t i = 0; i < m_batch.Records(); ++i)
                if (m_search.MatchesFields(m_batch.Field(i, 0), m_batch.Field(i, 1), m_batch.Field(i, 2),
                                           m_batch.Field(i, 3)))
                    m_matches.emplace_back(m_batch.firstRow + int(i), std::string(m_batch.Field(i, 0)));
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
    std::vector<std::pair<int, std::string>> m_matches;
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
    void Add(const CAnnotatedLink& record)
    {
        m_batch.Add(record);
        if (m_batch.Records() == kBatch) Hand();
    }
    std::vector<std::pair<int, std::string>> Finish()
    {
        Hand();
        // Each matcher's rows are in order: the lists are merged, not sorted.
        std::vector<std::pair<int, std::string>> all;
        for (auto& matcher : m_matchers) {
            auto& some = matcher->Finish();
            const auto middle = all.size();
            std::move(some.begin(), some.end(), std::back_inserter(all));
            std::inplace_merge(all.begin(), all.begin() + ptrdiff_t(middle), all.end(),
                               [](const auto& a, const auto& b) { return a.first < b.first; });
        }
        return all;
    }

private:
    void Hand()
    {
        if (m_batch.Records() == 0) return;
        const int records = int(m_batch.Records());
        m_batch.firstRow = m_row;
        m_matchers[m_next]->Hand(m_batch);
        m_batch.Clear();
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
    StreamPrompter prompter(err);
    ParallelMatch matching(search);
    ReadResult result = ScanDataFile(categories, source, prompter, [&](CAnnotatedLink& record) {
        matching.Add(record);
        ++rows;
    });
    const std::vector<std::pair<int, std::string>> matches = matching.Finish();
    if (result.status == ReadStatus::ReadError) {
        err << FormatPathMessage("Could not read annotated links from \"%.259s\".", dataFile) << '\n';
        return kExitUsage;
    }
    if (result.status != ReadStatus::Ok) return kExitUsage;

    const int reference = matches.empty() ? -1 : positionOnLast ? matches.back().first : matches.front().first;
    std::string text;
    for (const auto& [row, title] : matches) {
        text += row == reference ? '*' : ' ';
        text += std::to_string(row);
        text += '\t';
        text += PlainText(title);
        text += '\n';
        if (text.size() > (1u << 16)) {
            out.write(text.data(), std::streamsize(text.size()));
            text.clear();
        }
    }
    text += std::to_string(matches.size()) + " of " + std::to_string(rows) + " links match\n";
    out << text;
    return matches.empty() ? kExitFailed : kExitOk;
}
