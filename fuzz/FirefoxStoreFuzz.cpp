// The Firefox store reader on any bytes taken for a places.sqlite: no crash, no hang (a
// query that would not end meets the read's budget), texts within their bounds.
#include <chrono>
#include <cstdio>
#include <unistd.h>

#include "fuzz/FuzzInput.h"
#include "import/BrowserStores.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static const std::string path = [] {
        char pattern[] = "/tmp/norvelle_fuzz_places_XXXXXX";
        return std::string(mkdtemp(pattern)) + "/places.sqlite";
    }();
    std::FILE* f = std::fopen(path.c_str(), "wb");
    std::fwrite(data, 1, size, f);
    std::fclose(f);
    BookmarkTarget target;
    int links = 0;
    target.add = [&](ImportedLink&& link) {
        FUZZ_CHECK(link.title.size() <= kMaxImportedField && link.link.size() <= kMaxImportedField &&
                   link.category.size() <= kMaxImportedField && link.description.size() <= kMaxImportedField);
        ++links;
        return Intake::Added;
    };
    // Within the fuzzer's time for one input: a query that would not end is stopped, as
    // the person's Stop would.
    const auto started = std::chrono::steady_clock::now();
    target.progress = [&](uint64_t, uint64_t) { return std::chrono::steady_clock::now() - started < std::chrono::seconds(3); };
    ReadCounts counts;
    std::string error;
    const bool read = ReadFirefoxPlaces(path, target, counts, error);
    FUZZ_CHECK(counts.added == links);
    FUZZ_CHECK(read || !error.empty());
    return 0;
}
