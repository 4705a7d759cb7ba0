#pragma once
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string_view>

// Several texts in one run of bytes: their sizes, then the texts one after another. A
// record keeps its four texts so, and the search its folded ones. Sizes under 65,535 take
// two bytes each; a block with a longer text marks its first size 0xFFFF and keeps four
// bytes for each after the mark. The bytes live only in memory, in the machine's order.
namespace TextBlock {

constexpr size_t kTexts = 4;
constexpr uint16_t kWide = 0xFFFF;

// A block of four empty texts.
extern const char kEmpty[2 * kTexts];

struct Layout {
    uint32_t sizes[kTexts];
    const char* texts;  // the first text; each follows the one before
};

inline Layout Read(const char* block)
{
    Layout layout;
    uint16_t first;
    std::memcpy(&first, block, 2);
    if (first != kWide) {
        uint16_t sizes[kTexts];
        std::memcpy(sizes, block, sizeof sizes);
        for (size_t i = 0; i < kTexts; ++i) layout.sizes[i] = sizes[i];
        layout.texts = block + sizeof sizes;
    } else {
        std::memcpy(layout.sizes, block + 2, sizeof layout.sizes);
        layout.texts = block + 2 + sizeof layout.sizes;
    }
    return layout;
}

inline std::string_view Text(const char* block, size_t index)
{
    const Layout layout = Read(block);
    size_t offset = 0;
    for (size_t i = 0; i < index; ++i) offset += layout.sizes[i];
    return {layout.texts + offset, layout.sizes[index]};
}

// The bytes a block of these texts takes. A size is kept in 32 bits, as the data file keeps
// it: a longer text throws std::bad_alloc, as a text that does not fit in memory would.
size_t SizeFor(const std::string_view (&texts)[kTexts]);
// Writes the block into SizeFor(texts) bytes at to.
void Write(char* to, const std::string_view (&texts)[kTexts]);
// The bytes a written block takes.
size_t SizeOf(const char* block);

}  // namespace TextBlock
