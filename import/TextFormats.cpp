// The Markdown that Export writes, and Pocket's older HTML export, read back.
#include <algorithm>
#include <string>
#include <vector>

#include "import/BookmarkImport.h"
#include "import/ServiceFormats.h"
#include "store/CaseFold.h"
#include "store/HtmlText.h"
#include "store/LinkDate.h"

namespace {

// "\[" is "[": Markdown's escapes, undone.
std::string Unescape(std::string_view text)
{
    std::string out;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\\' && i + 1 < text.size()) ++i;
        out += text[i];
    }
    return out;
}

// The end of "[title]" that starts at 0 (the index of its "]"), passing over escaped brackets.
size_t ClosingBracket(std::string_view text, char close)
{
    for (size_t i = 1; i < text.size(); ++i) {
        if (text[i] == '\\') ++i;
        else if (text[i] == close) return i;
    }
    return std::string_view::npos;
}

bool DatesComment(std::string_view line, ImportedLink& link)
{
    constexpr std::string_view kStart = "<!-- added ", kEnd = " -->";
    if (line.substr(0, kStart.size()) != kStart || line.size() < kStart.size() + kEnd.size() ||
        line.substr(line.size() - kEnd.size()) != kEnd)
        return false;
    const std::string_view inside = line.substr(kStart.size(), line.size() - kStart.size() - kEnd.size());
    const size_t comma = inside.find(", modified ");
    if (comma == std::string_view::npos) return false;
    const std::string_view added = inside.substr(0, comma), modified = inside.substr(comma + 11);
    int64_t seconds = 0;
    if (added != "-" && !ParseIsoTime(added, seconds)) return false;
    link.added = added == "-" ? 0 : seconds;
    if (modified != "-" && !ParseIsoTime(modified, seconds)) return false;
    link.modified = modified == "-" ? 0 : seconds;
    return true;
}

}  // namespace

bool ReadNorvelleMarkdown(std::string_view text, std::vector<ImportedLink>& links, std::string& error,
                          const ReadProgress& goOn)
{
    std::string category;
    std::vector<std::string> description;  // the lines under the link being read
    bool inLink = false;
    // The lines under a link are its description, then the comment with its dates (a
    // description line that looks like that comment is only the comment when it is last).
    auto finish = [&] {
        if (!inLink) return;
        while (!description.empty() && description.back().empty()) description.pop_back();
        if (!description.empty() && DatesComment(description.back(), links.back())) description.pop_back();
        std::string joined;
        for (size_t i = 0; i < description.size(); ++i) joined += (i ? "\r\n" : "") + description[i];
        links.back().description = std::move(joined);
        description.clear();
        inLink = false;
    };
    size_t from = 0;
    int64_t number = 0;
    while (from < text.size()) {
        if (!goOn(from, text.size())) return false;
        size_t end = text.find('\n', from);
        if (end == std::string_view::npos) end = text.size();
        std::string_view line = text.substr(from, end - from);
        from = end + 1;
        ++number;
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        if (line.substr(0, 3) == "## ") {
            finish();
            category = Unescape(line.substr(3));
        } else if (line.substr(0, 2) == "# " || line.substr(0, 4) == "<!--") {
            finish();
        } else if (line.substr(0, 3) == "- [") {
            finish();
            const std::string_view rest = line.substr(2);
            const size_t close = ClosingBracket(rest, ']');
            if (close == std::string_view::npos || rest.substr(close, 3) != "](<" || rest.substr(rest.size() - 2) != ">)") {
                error = "line " + std::to_string(number) + ": a link that is not [title](<link>)";
                return false;
            }
            ImportedLink link;
            link.title = Unescape(rest.substr(1, close - 1));
            link.link = Unescape(rest.substr(close + 3, rest.size() - close - 5));
            link.category = category;
            links.push_back(std::move(link));
            inLink = true;
        } else if (inLink && (line.empty() || line.substr(0, 2) == "  ")) {
            description.emplace_back(line.substr(std::min<size_t>(2, line.size())));
        } else if (!line.empty()) {
            error = "line " + std::to_string(number) + ": text that belongs to no link";
            return false;
        }
    }
    finish();
    return true;
}

namespace {

std::string Attribute(std::string_view tag, std::string_view name)
{
    const std::optional<std::string> value = AttributeOf(tag, name, false);
    return value ? DecodeCharacterReferences(*value) : std::string();
}

}  // namespace

bool ReadPocketHtml(std::string_view text, std::vector<ImportedLink>& links, std::string& error, const ReadProgress& goOn)
{
    const std::string lower = LowerAscii(text);
    bool unread = false;
    for (size_t at = 0; (at = lower.find('<', at)) != std::string::npos;) {
        if (!goOn(at, text.size())) return false;
        const size_t close = lower.find('>', at);
        if (close == std::string::npos) break;
        const std::string_view tag = std::string_view(text).substr(at, close - at + 1);
        if (lower.compare(at, 4, "<h1>") == 0) {
            const size_t end = lower.find("</h1>", close);
            unread = LowerAscii(std::string_view(text).substr(close + 1, end - close - 1)).find("unread") != std::string::npos;
        } else if (lower.compare(at, 3, "<a ") == 0) {
            const size_t end = lower.find("</a>", close);
            ImportedLink link;
            link.link = Attribute(tag, "href");
            link.title = DecodeCharacterReferences(
                std::string_view(text).substr(close + 1, (end == std::string::npos ? text.size() : end) - close - 1));
            const std::string added = Attribute(tag, "time_added");
            if (!added.empty() && !std::all_of(added.begin(), added.end(), [](char c) { return c >= '0' && c <= '9'; })) {
                error = "a time_added that is not a number: \"" + added + "\"";
                return false;
            }
            if (!added.empty() && added.size() <= 12) link.added = std::stoll(added);
            const std::string tags = Attribute(tag, "tags");
            link.tags = SplitTagList(tags);
            if (unread) link.tags.push_back("unread");
            links.push_back(std::move(link));
        }
        at = close + 1;
    }
    return true;
}
