#include "health/PageTitle.h"

#include <unicode/ucnv.h>

#include <algorithm>
#include <optional>
#include <string_view>

#include "store/HtmlText.h"
#include "health/LinkAddress.h"
#include "store/CaseFold.h"
#include "store/Utf.h"
#include "platform/Translate.h"

namespace {

bool IsSpace(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\f'; }

// The value of a parameter ("charset=utf-8") in a header or a meta tag's content.
std::string CharsetParameter(std::string_view text)
{
    const std::string lower = LowerAscii(text);
    size_t at = lower.find("charset");
    while (at != std::string::npos) {
        size_t i = at + 7;
        while (i < lower.size() && IsSpace(lower[i])) ++i;
        if (i < lower.size() && lower[i] == '=') {
            ++i;
            while (i < lower.size() && (IsSpace(lower[i]) || lower[i] == '"' || lower[i] == '\'')) ++i;
            size_t end = i;
            while (end < lower.size() && !IsSpace(lower[end]) && lower[end] != ';' && lower[end] != '"' &&
                   lower[end] != '\'' && lower[end] != '>' && lower[end] != '/')
                ++end;
            if (end > i) return std::string(text.substr(i, end - i));
        }
        at = lower.find("charset", at + 7);
    }
    return {};
}

// The attributes of a tag ("meta name=description content='...'"): quoted or not.
struct Attributes {
    explicit Attributes(std::string_view tag)
    {
        size_t i = 0;
        while (i < tag.size() && !IsSpace(tag[i])) ++i;  // the tag's name
        while (i < tag.size()) {
            while (i < tag.size() && (IsSpace(tag[i]) || tag[i] == '/')) ++i;
            const size_t nameStart = i;
            while (i < tag.size() && !IsSpace(tag[i]) && tag[i] != '=' && tag[i] != '/') ++i;
            std::string name = LowerAscii(tag.substr(nameStart, i - nameStart));
            while (i < tag.size() && IsSpace(tag[i])) ++i;
            std::string value;
            if (i < tag.size() && tag[i] == '=') {
                ++i;
                while (i < tag.size() && IsSpace(tag[i])) ++i;
                if (i < tag.size() && (tag[i] == '"' || tag[i] == '\'')) {
                    const char quote = tag[i++];
                    const size_t end = std::min(tag.find(quote, i), tag.size());
                    value = std::string(tag.substr(i, end - i));
                    i = end + 1;
                } else {
                    const size_t start = i;
                    while (i < tag.size() && !IsSpace(tag[i])) ++i;
                    value = std::string(tag.substr(start, i - start));
                }
            }
            if (!name.empty()) pairs.emplace_back(std::move(name), std::move(value));
        }
    }
    std::optional<std::string> Get(std::string_view name) const
    {
        for (const auto& [key, value] : pairs)
            if (key == name) return value;
        return std::nullopt;
    }
    std::vector<std::pair<std::string, std::string>> pairs;
};

// Each meta tag's text between "<meta" and ">", in order. A "<meta" inside another tag
// is that tag's text, not a tag: each tag is looked for after the last one's end, so that
// a page of unclosed tags is read once, not once per tag.
std::vector<std::string_view> MetaTags(std::string_view page, const std::string& lower)
{
    std::vector<std::string_view> tags;
    for (size_t at = lower.find("<meta"); at != std::string::npos;) {
        const size_t end = lower.find('>', at);
        if (end == std::string::npos) break;
        if (at + 5 < lower.size() && !IsSpace(lower[at + 5])) {
            at = lower.find("<meta", at + 5);
            continue;
        }
        tags.push_back(page.substr(at + 1, end - at - 1));
        at = lower.find("<meta", end);
    }
    return tags;
}

std::string CharsetOf(const std::string& body, const std::string& contentType)
{
    std::string charset = CharsetParameter(contentType);
    if (!charset.empty()) return charset;
    if (body.compare(0, 3, "\xEF\xBB\xBF") == 0) return "UTF-8";
    if (body.compare(0, 2, "\xFF\xFE") == 0) return "UTF-16LE";
    if (body.compare(0, 2, "\xFE\xFF") == 0) return "UTF-16BE";
    const std::string lower = LowerAscii(body);
    for (std::string_view tag : MetaTags(body, lower)) {
        const Attributes attributes(tag);
        if (auto set = attributes.Get("charset")) return *set;
        const auto equiv = attributes.Get("http-equiv");
        const auto content = attributes.Get("content");
        if (equiv && content && LowerAscii(*equiv) == "content-type") {
            charset = CharsetParameter(*content);
            if (!charset.empty()) return charset;
        }
    }
    return {};
}

// The page as UTF-8; a set that is unknown, or a page that is not in it, is read as
// UTF-8 where valid and Windows-1252 elsewhere.
std::string DecodedPage(const std::string& body, const std::string& charset)
{
    const std::string lower = LowerAscii(charset);
    if (lower.empty() || lower == "utf-8" || lower == "utf8") return DisplayUtf8(body);
    UErrorCode status = U_ZERO_ERROR;
    UConverter* converter = ucnv_open(charset.c_str(), &status);
    if (U_FAILURE(status)) return DisplayUtf8(body);
    std::u16string wide(body.size() + 2, u'\0');
    // The last character may have been cut by the read limit: it is substituted.
    const int32_t length = ucnv_toUChars(converter, reinterpret_cast<UChar*>(wide.data()), int32_t(wide.size()),
                                         body.data(), int32_t(body.size()), &status);
    ucnv_close(converter);
    if (U_FAILURE(status) && status != U_TRUNCATED_CHAR_FOUND) return DisplayUtf8(body);
    wide.resize(size_t(std::max(length, 0)));
    std::string out;
    out.reserve(wide.size() * 2);
    for (size_t i = 0; i < wide.size(); ++i) {
        char32_t cp = wide[i];
        if (cp >= 0xD800 && cp <= 0xDBFF && i + 1 < wide.size() && wide[i + 1] >= 0xDC00 && wide[i + 1] <= 0xDFFF)
            cp = 0x10000 + ((cp - 0xD800) << 10) + (wide[++i] - 0xDC00);
        else if (cp >= 0xD800 && cp <= 0xDFFF)
            cp = 0xFFFD;
        AppendUtf8(cp, out);
    }
    return out;
}

// Entities decoded, every run of white space one blank, none at the ends.
std::string CleanText(std::string_view raw)
{
    const std::string decoded = DecodeCharacterReferences(raw);
    std::string out;
    bool blank = false;
    for (size_t i = 0; i < decoded.size(); ++i) {
        const char c = decoded[i];
        if (IsSpace(c)) {
            blank = !out.empty();
            continue;
        }
        // Control characters (ESC, BEL, NUL, DEL, C1) are no part of a title: a page's
        // escape sequence must not reach a terminal or hide part of the text.
        const unsigned char u = static_cast<unsigned char>(c);
        if (u < 0x20 || u == 0x7F) continue;
        if (u == 0xC2 && i + 1 < decoded.size() && static_cast<unsigned char>(decoded[i + 1]) >= 0x80 &&
            static_cast<unsigned char>(decoded[i + 1]) <= 0x9F) {
            ++i;
            continue;
        }
        if (blank) out += ' ';
        blank = false;
        out += c;
    }
    return out;
}

}  // namespace

PageInfo ReadPageInfo(const std::string& body, const std::string& contentType)
{
    const std::string page = DecodedPage(body, CharsetOf(body, contentType));
    const std::string lower = LowerAscii(page);
    PageInfo info;
    // The document's title element, not one inside an inline drawing. The drawing last
    // opened before a title, and where it closes, are followed forward with the titles, so
    // that a page of many of either is read once.
    size_t svg = std::string::npos, svgEnd = std::string::npos;
    bool svgEndKnown = false;
    size_t nextSvg = lower.find("<svg");
    for (size_t at = lower.find("<title"); at != std::string::npos && info.title.empty(); at = lower.find("<title", at + 6)) {
        if (at + 6 < lower.size() && lower[at + 6] != '>' && !IsSpace(lower[at + 6])) continue;
        if (nextSvg < at) {
            while (nextSvg < at) {
                svg = nextSvg;
                nextSvg = lower.find("<svg", svg + 4);
            }
            // The first end after an earlier drawing is the first after this one too,
            // unless it came before this one.
            if (!svgEndKnown || (svgEnd != std::string::npos && svgEnd < svg)) svgEnd = lower.find("</svg", svg);
            svgEndKnown = true;
        }
        if (svg != std::string::npos && svgEnd > at) continue;
        const size_t open = lower.find('>', at);
        if (open == std::string::npos) break;
        const size_t close = std::min(lower.find("</title", open), lower.size());
        info.title = CleanText(std::string_view(page).substr(open + 1, close - open - 1));
    }
    std::string ogTitle, ogDescription;
    for (std::string_view tag : MetaTags(page, lower)) {
        const Attributes attributes(tag);
        const std::string name = LowerAscii(attributes.Get("name").value_or(attributes.Get("property").value_or("")));
        const std::string content = CleanText(attributes.Get("content").value_or(""));
        if (name == "description" && info.description.empty()) info.description = content;
        else if (name == "og:description" && ogDescription.empty()) ogDescription = content;
        else if (name == "og:title" && ogTitle.empty()) ogTitle = content;
    }
    if (info.title.empty()) info.title = ogTitle;
    if (info.description.empty()) info.description = ogDescription;
    return info;
}

CPageTitleFetcher::CPageTitleFetcher(HttpFetcher& fetcher, Each each, std::function<void()> finished,
                                     CLinkChecker::Options options, ReadAside readAside)
    : m_each(std::move(each)), m_finished(std::move(finished)), m_readAside(std::move(readAside)),
      m_checker(fetcher, *this, [&options] {
          options.bodyLimit = kMaxPageBytes;
          return options;
      }())
{
}

CPageTitleFetcher::~CPageTitleFetcher() = default;

void CPageTitleFetcher::Start(const std::vector<std::string>& links)
{
    m_reading = 0;
    m_checksDone = false;
    m_stopped = false;
    m_checker.Start(links);
}

void CPageTitleFetcher::Stop()
{
    m_stopped = true;
    m_checker.Stop();
}

void CPageTitleFetcher::LinkChecked(const LinkCheckResult& result)
{
    PageTitleResult out;
    out.index = result.index;
    if (result.state == LinkState::Ok || result.state == LinkState::Moved) {
        auto done = [this, out](PageInfo page) mutable {
            --m_reading;
            if (m_stopped) return;
            out.page = std::move(page);
            out.ok = !out.page.title.empty() || !out.page.description.empty();
            if (!out.ok) out.failure = Tr("Health", "the page has no title");
            m_each(out);
            if (m_checksDone && m_reading == 0) Finish();
        };
        auto read = [body = result.body, contentType = result.contentType] { return ReadPageInfo(body, contentType); };
        ++m_reading;
        if (m_readAside) m_readAside(std::move(read), std::move(done));
        else done(read());
        return;
    }
    if (result.state == LinkState::NotChecked || result.state == LinkState::FileExists ||
        result.state == LinkState::FileMissing || result.state == LinkState::FileNotReadable) {
        out.failure = Tr("Health", "not a web address");
    } else {
        out.failure = StateText(result);
    }
    m_each(out);
}

void CPageTitleFetcher::CheckFinished()
{
    m_checksDone = true;
    if (m_reading == 0) Finish();
}

void CPageTitleFetcher::Finish()
{
    if (m_finished) m_finished();
}
