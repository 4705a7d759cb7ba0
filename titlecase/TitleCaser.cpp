#include "titlecase/TitleCaser.h"

#include <unicode/uchar.h>

#include "store/NaturalCompare.h"
#include "store/Utf.h"

namespace {

// A byte that is not part of valid UTF-8 travels as itself, marked so that it is never
// a letter and is written back unchanged.
constexpr char32_t kRawByte = kNotUtf8;

void Decode(std::string_view text, std::u32string& out)
{
    out.clear();
    out.reserve(text.size());
    for (size_t i = 0; i < text.size();) out += NextCodePoint(text, i);
}

std::u32string Decode(std::string_view text)
{
    std::u32string out;
    Decode(text, out);
    return out;
}

void Encode(const std::u32string& text, std::string& out)
{
    out.clear();
    out.reserve(text.size());
    for (char32_t c : text) {
        if (c & kRawByte)
            out += char(c & 0xFF);
        else
            AppendUtf8(c, out);
    }
}

// ASCII, by far the most common, without a call into the Unicode tables.
bool IsWordChar(char32_t c)
{
    if (c < 0x80) return (c >= '0' && c <= '9') || ((c | 0x20) >= 'a' && (c | 0x20) <= 'z');
    return !(c & kRawByte) && u_isalnum(UChar32(c));
}
bool IsUpper(char32_t c)
{
    if (c < 0x80) return c >= 'A' && c <= 'Z';
    return !(c & kRawByte) && u_isupper(UChar32(c));
}
char32_t Upper(char32_t c)
{
    if (c < 0x80) return c >= 'a' && c <= 'z' ? c - 0x20 : c;
    return c & kRawByte ? c : char32_t(u_toupper(UChar32(c)));
}
char32_t Lower(char32_t c)
{
    if (c < 0x80) return c >= 'A' && c <= 'Z' ? c + 0x20 : c;
    return c & kRawByte ? c : char32_t(u_tolower(UChar32(c)));
}
bool IsApostrophe(char32_t c) { return c == U'\'' || c == U'\u2019'; }

std::u32string UpperOf(std::u32string_view word)
{
    std::u32string upper(word);
    for (char32_t& c : upper) c = Upper(c);
    return upper;
}

// Over the upper-case form of the characters, so that case does not matter.
unsigned HashOf(std::u32string_view word)
{
    uint32_t h = 0;
    for (char32_t c : word) h = h * 33 + uint32_t(Upper(c));
    return h;
}

bool EqualsUpper(std::u32string_view word, const std::u32string& upper)
{
    if (word.size() != upper.size()) return false;
    for (size_t i = 0; i < word.size(); ++i)
        if (Upper(word[i]) != upper[i]) return false;
    return true;
}

}  // namespace

CTitleCaser::CTitleCaser()
{
    std::vector<std::string> words;
    DefaultExceptions(words);
    SetExceptions(words);
}

void CTitleCaser::DefaultExceptions(std::vector<std::string>& words)
{
    static const char* const kDefaults[] = {"a",  "an",   "the",  "and",  "but",  "for", "nor",  "or",   "as",   "at",
                                            "by", "down", "from", "in",   "into", "near", "of",  "off",  "on",   "onto",
                                            "out", "over", "to",  "up",   "upon", "with", "vs",  "via"};
    words.insert(words.end(), std::begin(kDefaults), std::end(kDefaults));
}

const CTitleCaser::Entry* CTitleCaser::Find(std::u32string_view word) const
{
    for (size_t index : m_buckets[HashOf(word) % kBuckets])
        if (EqualsUpper(word, m_words[index].upper)) return &m_words[index];
    return nullptr;
}

void CTitleCaser::SetExceptions(const std::vector<std::string>& words)
{
    for (auto& bucket : m_buckets) bucket.clear();
    m_words.clear();
    for (const std::string& word : words) {
        Entry entry{Decode(word), {}, word};
        entry.upper = UpperOf(entry.word);
        if (Find(entry.upper)) continue;
        m_buckets[HashOf(entry.word) % kBuckets].push_back(m_words.size());
        m_words.push_back(std::move(entry));
    }
}

void CTitleCaser::GetExceptions(std::vector<std::string>& words) const
{
    for (const Entry& entry : m_words) words.push_back(entry.text);
}

void CTitleCaser::Convert(std::string& title) const
{
    // One buffer a thread, reused: converting many titles allocates nothing per title.
    thread_local std::u32string t;
    Decode(TrimView(title), t);
    const size_t n = t.size();
    bool allUpper = true;
    for (char32_t c : t) allUpper = allUpper && IsUpper(c);

    auto capitalize = [&](size_t pos, size_t end) {
        if (!allUpper) {
            int capitals = 0;
            for (size_t i = pos; i < end; ++i) capitals += IsUpper(t[i]);
            if (capitals >= 2) return;  // an acronym or a name such as McDonald
        }
        if (pos < end) t[pos] = Upper(t[pos]);
        for (size_t i = pos + 1; i < end; ++i) t[i] = Lower(t[i]);
    };

    size_t pos = 0, last = 0;
    bool afterColon = false;
    while (pos < n) {
        size_t end = pos;
        while (end < n && IsWordChar(t[end])) ++end;
        last = pos;
        const Entry* exception = end > pos ? Find(std::u32string_view(t).substr(pos, end - pos)) : nullptr;
        if (exception) {
            // Same length in characters: membership ignores case only.
            t.replace(pos, end - pos, exception->word);
            if (afterColon) t[pos] = Upper(t[pos]);
        } else if (pos > 0 && IsApostrophe(t[pos - 1]) && end == pos + 1 && (t[pos] == U's' || t[pos] == U'S')) {
            t[pos] = U's';  // a possessive 's
        } else {
            capitalize(pos, end);
        }
        afterColon = false;
        for (; end < n && !IsWordChar(t[end]); ++end)
            if (t[end] == U':') afterColon = true;
        pos = end;
    }
    if (n > 0) {
        t[0] = Upper(t[0]);
        t[last] = Upper(t[last]);
    }
    Encode(t, title);
}
