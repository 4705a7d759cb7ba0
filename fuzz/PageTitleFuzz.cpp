// The page reader on any bytes: no crash, no hang, and a title and description that are
// clean text (no control characters) of no more than the page held.
#include "fuzz/FuzzInput.h"
#include "health/PageTitle.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    // The first line stands for the Content-Type header, the rest for the body.
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    const size_t line = bytes.find('\n');
    const std::string contentType = line == std::string::npos ? std::string() : bytes.substr(0, line);
    const std::string body = line == std::string::npos ? bytes : bytes.substr(line + 1);
    const PageInfo info = ReadPageInfo(body, contentType);
    for (const std::string* text : {&info.title, &info.description})
        for (unsigned char c : *text) FUZZ_CHECK(c >= 0x20 && c != 0x7F);
    // A character of the page becomes at most four bytes of UTF-8 (one of UTF-16, three).
    FUZZ_CHECK(info.title.size() <= 4 * body.size() && info.description.size() <= 4 * body.size());
    return 0;
}
