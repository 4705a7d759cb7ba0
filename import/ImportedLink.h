#pragma once
#include <cstdint>
#include <string>
#include <vector>

// One bookmark as a source gives it, before it becomes a record.
struct ImportedLink {
    std::string title;
    std::string link;
    std::string category;     // folder names joined with "|"
    std::string description;  // lines separated by CR LF
    std::vector<std::string> tags;
    // Seconds since 1970 (UTC); 0 when the source gives none.
    int64_t added = 0;
    int64_t modified = 0;
};

// Tags are kept as the description's last line, where search finds them.
constexpr const char* kTagsLinePrefix = "Tags: ";

// The description with "Tags: a, b, c" as its last line (the names trimmed, alphabetical
// without regard to case, each once); the description alone without tags.
std::string DescriptionWithTags(const std::string& description, std::vector<std::string> tags);
// The reverse: the tags of a description's last line and the description without it;
// false, and the description whole, when its last line names no tags.
bool SplitTagsLine(std::string_view description, std::string& rest, std::vector<std::string>& tags);
// "a,b , c" -> {"a", "b", "c"}: the TAGS attribute of a bookmark file.
std::vector<std::string> SplitTagList(const std::string& list);
