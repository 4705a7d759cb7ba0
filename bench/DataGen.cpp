#include "bench/DataGen.h"

#include <cstdlib>
#include <random>

#include <malloc.h>
#include <sys/resource.h>

#include "store/DataFile.h"
#include "store/FileIO.h"
#include "store/LinkStore.h"

namespace {

const char* const kWords[] = {"apple",  "river",   "stone",  "cloud",   "garden", "paper",   "window", "yellow",
                              "silver", "market",  "bridge", "forest",  "engine", "rocket",  "pencil", "harbor",
                              "castle", "dragon",  "summer", "winter",  "autumn", "spring",  "ocean",  "valley",
                              "python", "kernel",  "shell",  "editor",  "server", "network", "cache",  "memory",
                              "guide",  "manual",  "review", "archive", "design", "layout",  "recipe", "travel"};

std::string Words(std::mt19937& rng, size_t targetLength)
{
    std::uniform_int_distribution<size_t> pick(0, std::size(kWords) - 1);
    std::string out;
    while (out.size() < targetLength) {
        if (!out.empty()) out += ' ';
        out += kWords[pick(rng)];
    }
    return out;
}

}  // namespace

void GenerateLinks(LinkStore& store, int count, unsigned seed)
{
    std::mt19937 rng(seed);
    std::vector<std::string> categories;
    for (int i = 0; i < 30; ++i) categories.push_back("Category " + std::to_string(i + 1));
    store.SetCategories(categories);
    store.SetChanged(false);
    std::uniform_int_distribution<int> jitter(-8, 8);
    for (int i = 0; i < count; ++i) {
        std::string title = Words(rng, size_t(32 + jitter(rng)));
        if (i % 100 == 7) title += " quasar";
        if (i % 2 == 0) title += " nebula";
        std::string link = "https://www." + Words(rng, 12) + ".example.com/" + Words(rng, size_t(30 + jitter(rng)));
        for (char& c : link)
            if (c == ' ') c = '-';
        std::string description = Words(rng, 70) + "\r\n" + Words(rng, size_t(74 + jitter(rng)));
        double added = 39000.0 + (i % 5000) + (i % 86400) / 86400.0;
        if (!store.InsertLink(store.Count(), title, link, description, categories[size_t(i) % categories.size()],
                         {0, added}, {0, added + 1.5})) std::abort();
    }
}

bool WriteGeneratedFile(const std::string& path, int count, unsigned seed)
{
    LinkStore store;
    GenerateLinks(store, count, seed);
    AtomicFileWriter writer(false);
    return writer.Open(path) && WriteDataFile(store, writer) && writer.Commit();
}

long PeakResidentBytes()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss * 1024L;
}

size_t AllocatedBytes()
{
    struct mallinfo2 info = mallinfo2();
    return info.uordblks + info.hblkhd;
}
