#include "platform/Translate.h"

#include <atomic>

namespace {
std::atomic<TranslateFunction> g_translate{nullptr};
}

void InstallTranslation(TranslateFunction translate) { g_translate = translate; }

std::string Tr(const char* context, const char* text)
{
    const TranslateFunction translate = g_translate;
    return translate ? translate(context, text) : std::string(text);
}

std::string Fill(std::string_view text, std::initializer_list<std::string_view> args)
{
    std::string out;
    out.reserve(text.size());
    for (size_t i = 0; i < text.size(); ++i) {
        const size_t n = i + 1 < text.size() ? size_t(text[i + 1] - '1') : args.size();
        if (text[i] == '%' && n < args.size() && n < 9) {
            out += args.begin()[n];
            ++i;
        } else {
            out += text[i];
        }
    }
    return out;
}
