#include "options/CountFormatter.h"

#include "options/Settings.h"
#include "platform/Translate.h"

CCountFormatter::CCountFormatter(const CSettings& settings)
    : m_useSeparators(settings.useThousandsSep), m_separator(settings.thousandsSeparator)
{
}

std::string CCountFormatter::Format(int32_t count) const
{
    if (count <= 0) return "0";
    const std::string digits = std::to_string(count);
    std::string out;
    for (size_t i = 0; i < digits.size(); ++i) {
        if (m_useSeparators && i > 0 && (digits.size() - i) % 3 == 0) out += m_separator;
        out += digits[i];
    }
    return out;
}

void CCountFormatter::LocalizeDecimal(std::string& text) const
{
    if (!m_useSeparators || m_separator == ",") return;
    for (char& c : text)
        if (c == '.') c = ',';
}

std::string CCountFormatter::Plural(int32_t count, const std::string& one, const std::string& many) const
{
    return Fill(count == 1 ? one : many, {Format(count)});
}
