// The JSON that norvelle-cli build reads: any input either is refused or builds a data
// file that dump and build give back byte for byte.
#include <cstdio>
#include <sstream>
#include <unistd.h>

#include "cli/CliCommands.h"
#include "fuzz/FuzzInput.h"

namespace {
std::string ReadFile(const std::string& path)
{
    std::string out;
    if (std::FILE* f = std::fopen(path.c_str(), "rb")) {
        char buf[65536];
        for (size_t n; (n = std::fread(buf, 1, sizeof buf, f)) > 0;) out.append(buf, n);
        std::fclose(f);
    }
    return out;
}
void WriteFile(const std::string& path, const uint8_t* data, size_t size)
{
    std::FILE* f = std::fopen(path.c_str(), "wb");
    std::fwrite(data, 1, size, f);
    std::fclose(f);
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static const std::string dir = [] {
        char pattern[] = "/tmp/norvelle_fuzz_json_XXXXXX";
        return std::string(mkdtemp(pattern));
    }();
    const std::string json = dir + "/in.json", built = dir + "/a.dat", rebuilt = dir + "/b.dat", dumped = dir + "/d.json";
    WriteFile(json, data, size);
    std::ostringstream out, err;
    if (BuildCommand(json, built, err) != kExitOk) return 0;
    FUZZ_CHECK(DumpCommand(built, out, err) == kExitOk);
    const std::string text = out.str();
    WriteFile(dumped, reinterpret_cast<const uint8_t*>(text.data()), text.size());
    FUZZ_CHECK(BuildCommand(dumped, rebuilt, err) == kExitOk);
    FUZZ_CHECK(ReadFile(built) == ReadFile(rebuilt));
    return 0;
}
