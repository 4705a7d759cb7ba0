#include "app/TipFile.h"

#include "store/FileIO.h"
#include "store/NaturalCompare.h"
#include "store/Utf.h"

namespace {
constexpr size_t kTipCharacters = 1024;
// A tips file is a few kilobytes; anything past this is not read.
constexpr size_t kMostBytes = 4u << 20;
}  // namespace

void SplitTips(std::string_view text, std::vector<std::string>& tips)
{
    std::string tip;
    size_t characters = 0;
    auto finish = [&] {
        std::string_view trimmed = TrimView(tip);
        if (!trimmed.empty()) tips.emplace_back(trimmed);
        tip.clear();
        characters = 0;
    };
    for (size_t i = 0; i < text.size();) {
        const size_t start = i;
        const char32_t c = NextCodePoint(text, i);
        if (c == U'#' || characters == kTipCharacters) {
            finish();  // the separator, or the character after a cut, is consumed
            continue;
        }
        tip.append(text.substr(start, i - start));
        ++characters;
    }
    finish();
}

TipsResult ReadTipsFile(const std::string& path, std::vector<std::string>& tips)
{
    FileSource source;
    if (!source.Open(path)) return TipsResult::OpenFailed;
    std::string bytes(size_t(std::min<uint64_t>(source.Remaining(), kMostBytes)), '\0');
    const size_t read = source.Read(bytes.data(), bytes.size());
    if (source.Failed() || (read == 0 && !bytes.empty())) return TipsResult::ReadFailed;
    bytes.resize(read);
    SplitTips(DisplayUtf8(bytes), tips);
    return tips.empty() ? TipsResult::Empty : TipsResult::Ok;
}
