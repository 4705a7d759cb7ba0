#include "options/CountFormatter.h"

#include <cstdio>

#include "options/Settings.h"

CCountFormatter::CCountFormatter(const CSettings& settings)
    : m_useSeparators(settings.useThousandsSep), m_separator(settings.thousandsSeparator)
{
}

std::string CCountFormatter::Format(int32_t count) const
{
    if (count <= 0) return "0";
    char buf[16];
    char* p = buf + sizeof buf;
    int digits = 0;
    uint32_t n = uint32_t(count);
    while (n > 0) {
        if (m_useSeparators && digits > 0 && digits % 3 == 0) *--p = m_separator;
        *--p = char('0' + n % 10);
        n /= 10;
        ++digits;
    }
    return std::string(p, buf + sizeof buf);
}

void CCountFormatter::LocalizeDecimal(std::string& text) const
{
    if (!m_useSeparators || m_separator == ',') return;
    for (char& c : text)
        if (c == '.') c = ',';
}

std::string CCountFormatter::Plural(const char* fmt, int32_t count) const
{
    std::string number = Format(count);
    int size = std::snprintf(nullptr, 0, fmt, number.c_str(), count == 1 ? "" : "s");
    std::string out(size_t(size > 0 ? size : 0), '\0');
    std::snprintf(out.data(), out.size() + 1, fmt, number.c_str(), count == 1 ? "" : "s");
    return out;
}
