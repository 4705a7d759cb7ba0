// Reading and writing a 100,000-record data file, and the memory of the loaded store.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <filesystem>
#include <memory>

#include "bench/DataGen.h"
#include "platform/Prompter.h"
#include "store/DataFile.h"
#include "store/FileIO.h"
#include "store/LinkStore.h"

namespace {

constexpr int kRecords = 100000;

class SilentPrompter : public Prompter {
public:
    Answer Show(const std::string&, Icon, Buttons, bool) override { return Answer::Ok; }
};

const std::string& DataPath()
{
    static const std::string path = [] {
        std::string p = (std::filesystem::temp_directory_path() / "norvelle_bench_100k.dat").string();
        WriteGeneratedFile(p, kRecords);
        return p;
    }();
    return path;
}

void BM_ReadDataFile(benchmark::State& state)
{
    SilentPrompter prompter;
    for (auto _ : state) {
        auto store = std::make_unique<LinkStore>();
        FileSource source;
        source.Open(DataPath());
        (void)ReadDataFile(*store, source);
        benchmark::DoNotOptimize(store->Count());
        // Freeing the records is not part of reading them.
        state.PauseTiming();
        store.reset();
        state.ResumeTiming();
    }
    state.counters["file_MB"] = double(std::filesystem::file_size(DataPath())) / 1e6;
}
BENCHMARK(BM_ReadDataFile)->Unit(benchmark::kMillisecond);

void BM_WriteDataFile(benchmark::State& state)
{
    LinkStore store;
    GenerateLinks(store, kRecords);
    std::string out = DataPath() + ".out";
    for (auto _ : state) {
        AtomicFileWriter writer(/*syncToDisk=*/state.range(0) != 0);
        bool ok = writer.Open(out) && WriteDataFile(store, writer) && writer.Commit();
        if (!ok) state.SkipWithError("write failed");
    }
    std::filesystem::remove(out);
}
BENCHMARK(BM_WriteDataFile)->Arg(0)->Arg(1)->ArgName("fsync")->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv)
{
    // Memory: the bytes that the loaded store keeps allocated, against the file size.
    {
        const std::string& path = DataPath();
        SilentPrompter prompter;
        size_t before = AllocatedBytes();
        LinkStore store;
        FileSource source;
        source.Open(path);
        (void)ReadDataFile(store, source);
        size_t after = AllocatedBytes();
        double fileSize = double(std::filesystem::file_size(path));
        std::printf("Loaded %d records from a %.1f MB file: the store holds %.1f MB (%.2f x the file size)\n",
                    store.Count(), fileSize / 1e6, double(after - before) / 1e6, double(after - before) / fileSize);
    }
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
