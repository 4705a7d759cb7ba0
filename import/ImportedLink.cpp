#include "import/ImportedLink.h"

#include <algorithm>
#include <string_view>

#include "store/NaturalCompare.h"

std::vector<std::string> SplitTagList(const std::string& list)
{
    std::vector<std::string> tags;
    for (std::string_view piece : SplitView(list, ',')) {
        const std::string_view tag = TrimView(piece);
        if (!tag.empty()) tags.emplace_back(tag);
    }
    return tags;
}

std::string DescriptionWithTags(const std::string& description, std::vector<std::string> tags)
{
    for (std::string& tag : tags) tag = std::string(TrimView(tag));
    std::erase_if(tags, [](const std::string& tag) { return tag.empty(); });
    if (tags.empty()) return description;
    std::sort(tags.begin(), tags.end(), [](const std::string& a, const std::string& b) {
        const int order = CompareNoCase(a, b);
        return order != 0 ? order < 0 : a < b;
    });
    tags.erase(std::unique(tags.begin(), tags.end()), tags.end());
    std::string out = description;
    if (!out.empty()) out += "\r\n";
    out += kTagsLinePrefix;
    for (size_t i = 0; i < tags.size(); ++i) {
        if (i > 0) out += ", ";
        out += tags[i];
    }
    return out;
}

bool SplitTagsLine(std::string_view description, std::string& rest, std::vector<std::string>& tags)
{
    const size_t lineEnd = description.rfind('\n');
    const size_t start = lineEnd == std::string::npos ? 0 : lineEnd + 1;
    const std::string_view line = description.substr(start);
    const std::string_view prefix = kTagsLinePrefix;
    if (line.substr(0, prefix.size()) != prefix) {
        rest = description;
        return false;
    }
    std::string list(line.substr(prefix.size()));
    if (!list.empty() && list.back() == '\r') list.pop_back();
    tags = SplitTagList(list);
    if (tags.empty()) {
        rest = description;
        return false;
    }
    size_t end = start;
    if (end > 0 && description[end - 1] == '\n') --end;
    if (end > 0 && description[end - 1] == '\r') --end;
    rest.assign(description.substr(0, end));
    return true;
}
