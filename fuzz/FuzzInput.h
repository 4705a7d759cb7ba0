#pragma once
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

// Splits a fuzzer's input into parts at NUL bytes, so that one input can carry a text, a
// pattern and a number.
inline std::vector<std::string_view> Parts(const uint8_t* data, size_t size, size_t count)
{
    std::string_view all(reinterpret_cast<const char*>(data), size);
    std::vector<std::string_view> parts;
    while (parts.size() + 1 < count) {
        const size_t nul = all.find('\0');
        if (nul == std::string_view::npos) break;
        parts.push_back(all.substr(0, nul));
        all.remove_prefix(nul + 1);
    }
    parts.push_back(all);
    parts.resize(count);
    return parts;
}

// Aborts with a message the fuzzer reports as a finding.
#define FUZZ_CHECK(condition)                                                        \
    do {                                                                             \
        if (!(condition)) {                                                          \
            __builtin_printf("property failed: %s (%s:%d)\n", #condition, __FILE__, __LINE__); \
            __builtin_trap();                                                        \
        }                                                                            \
    } while (0)
