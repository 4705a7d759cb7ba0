#include "store/TextBlock.h"

#include <new>

namespace TextBlock {

const char kEmpty[2 * kTexts] = {};

namespace {

bool Wide(const std::string_view (&texts)[kTexts])
{
    for (std::string_view text : texts)
        if (text.size() >= kWide) return true;
    return false;
}

}  // namespace

size_t SizeFor(const std::string_view (&texts)[kTexts])
{
    size_t size = Wide(texts) ? 2 + 4 * kTexts : 2 * kTexts;
    for (std::string_view text : texts) {
        if (text.size() > UINT32_MAX) throw std::bad_alloc();
        size += text.size();
    }
    return size;
}

void Write(char* to, const std::string_view (&texts)[kTexts])
{
    if (Wide(texts)) {
        std::memcpy(to, &kWide, 2);
        to += 2;
        for (std::string_view text : texts) {
            const uint32_t size = uint32_t(text.size());
            std::memcpy(to, &size, 4);
            to += 4;
        }
    } else {
        for (std::string_view text : texts) {
            const uint16_t size = uint16_t(text.size());
            std::memcpy(to, &size, 2);
            to += 2;
        }
    }
    for (std::string_view text : texts) {
        if (!text.empty()) std::memcpy(to, text.data(), text.size());
        to += text.size();
    }
}

size_t SizeOf(const char* block)
{
    const Layout layout = Read(block);
    size_t size = size_t(layout.texts - block);
    for (uint32_t text : layout.sizes) size += text;
    return size;
}

}  // namespace TextBlock
