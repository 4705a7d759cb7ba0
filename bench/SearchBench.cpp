// The matchers over a generated 100,000-record store (NORVELLE_BENCH_LINKS for another
// size) with the default fields (title and description): a word in 1 % of the titles
// ("quasar") and one in 50 % ("nebula").
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "bench/DataGen.h"
#include "search/RecordSearch.h"
#include "store/LinkStore.h"

namespace {

const LinkStore& Store()
{
    static LinkStore* store = [] {
        auto* s = new LinkStore;
        const char* links = std::getenv("NORVELLE_BENCH_LINKS");
        GenerateLinks(*s, links ? std::atoi(links) : 100000);
        return s;
    }();
    return *store;
}

const CSearchIndex& Index()
{
    static CSearchIndex* index = new CSearchIndex(const_cast<LinkStore&>(Store()));
    return *index;
}

void Search(benchmark::State& state, const char* pattern, bool typos)
{
    SearchOptions options;
    options.allowTypos = typos;
    options.separation = 2;
    const LinkStore& store = Store();
    std::vector<uint8_t> bits(size_t(store.Count()));
    int matched = 0;
    const CSearchIndex::View text = Index().Ready();
    for (auto _ : state) {
        const CRecordSearch search(options, pattern);
        search.MatchRows(store, text, 0, store.Count(), bits.data());
        matched = 0;
        for (uint8_t b : bits) matched += b;
        benchmark::DoNotOptimize(matched);
    }
    state.counters["matched"] = matched;
}

void BM_Exact_1pct(benchmark::State& s) { Search(s, "quasar", false); }
void BM_Exact_50pct(benchmark::State& s) { Search(s, "nebula", false); }
void BM_Exact_none(benchmark::State& s) { Search(s, "zzyzx", false); }
void BM_Typo_1pct(benchmark::State& s) { Search(s, "qusar", true); }
void BM_Typo_50pct(benchmark::State& s) { Search(s, "nebual", true); }
void BM_Typo_none(benchmark::State& s) { Search(s, "zzyzx", true); }
// Typing "nebula" with typos one key at a time: each prefix looks only at the rows the
// one before it matched, as the window narrows.
void BM_TypoTyping(benchmark::State& state)
{
    const LinkStore& store = Store();
    const std::string word = "nebula";
    const size_t length = size_t(state.range(0));
    SearchOptions options;
    options.allowTypos = true;
    const CSearchIndex::View text = Index().Ready();
    std::vector<uint8_t> earlier(size_t(store.Count()), 1), bits(earlier.size());
    if (length > 2)
        CRecordSearch(options, word.substr(0, length - 1)).MatchRows(store, text, 0, store.Count(), earlier.data());
    int matched = 0;
    for (auto _ : state) {
        const CRecordSearch search(options, word.substr(0, length));
        search.MatchRows(store, text, 0, store.Count(), bits.data(), nullptr, length > 2 ? earlier.data() : nullptr);
        matched = 0;
        for (uint8_t b : bits) matched += b;
        benchmark::DoNotOptimize(matched);
    }
    state.counters["matched"] = matched;
}
BENCHMARK(BM_TypoTyping)->DenseRange(1, 6)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Exact_1pct)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Exact_50pct)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Exact_none)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Typo_1pct)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Typo_50pct)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Typo_none)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
