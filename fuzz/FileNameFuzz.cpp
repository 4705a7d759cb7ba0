// The finder's file-name matcher on any pattern and name, with and without typos: no
// crash, and a pattern without wildcards matches the same name in any letter case.
#include "fuzz/FuzzInput.h"
#include "import/FileNameMatch.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const auto parts = Parts(data, size, 2);
    const std::string pattern(parts[0]), name(parts[1]);
    for (bool typos : {false, true}) {
        MatchFileName(pattern, name, typos);
        CFileNameFilter(pattern, typos).Matches(name);
    }
    if (!pattern.empty() && pattern.find_first_of("*?") == std::string::npos) {
        std::string upper = pattern;
        for (char& c : upper)
            if (c >= 'a' && c <= 'z') c = char(c - 32);
        FUZZ_CHECK(MatchFileName(pattern, upper, false));
        FUZZ_CHECK(MatchFileName(pattern, pattern, true));
    }
    return 0;
}
