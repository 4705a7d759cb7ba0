// The data file reader on any bytes: it must not crash or allocate far beyond the input
// (run with -malloc_limit_mb), and what it reads, written back and read again, must be
// written back the same: reading and writing agree.
#include "fuzz/FuzzInput.h"
#include "platform/Prompter.h"
#include "store/DataFile.h"
#include "store/FileIO.h"
#include "store/LinkStore.h"

namespace {
struct Quiet : Prompter {
    Answer Show(const std::string&, Icon, Buttons, bool) override { return Answer::Ok; }
};
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    Quiet quiet;
    LinkStore store;
    MemorySource source(std::string(reinterpret_cast<const char*>(data), size));
    if (ReadDataFile(store, source).status != ReadStatus::Ok) return 0;
    StringSink first;
    FUZZ_CHECK(WriteDataFile(store, first));
    LinkStore again;
    MemorySource reread(first.bytes);
    FUZZ_CHECK(ReadDataFile(again, reread).status == ReadStatus::Ok);
    StringSink second;
    FUZZ_CHECK(WriteDataFile(again, second));
    FUZZ_CHECK(first.bytes == second.bytes);
    return 0;
}
