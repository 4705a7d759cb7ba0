// The title caser on any title and exception list: no crash, and a title keeps its
// number of characters (after trimming) and every byte that is not UTF-8.
#include "fuzz/FuzzInput.h"
#include "store/NaturalCompare.h"
#include "store/Utf.h"
#include "titlecase/TitleCaser.h"

namespace {
size_t Characters(std::string_view s)
{
    size_t n = 0;
    for (size_t i = 0; i < s.size(); ++n) NextCodePoint(s, i);
    return n;
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const auto parts = Parts(data, size, 2);
    CTitleCaser caser;
    if (!parts[1].empty()) {
        std::vector<std::string> words;
        std::string list(parts[1]);
        for (size_t start = 0;;) {
            const size_t comma = list.find(',', start);
            words.push_back(list.substr(start, comma - start));
            if (comma == std::string::npos) break;
            start = comma + 1;
        }
        caser.SetExceptions(words);
    }
    std::string title(parts[0]);
    caser.Convert(title);
    FUZZ_CHECK(Characters(title) == Characters(TrimView(parts[0])));
    return 0;
}
