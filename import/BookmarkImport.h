#pragma once
#include <cstddef>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

class CCountFormatter;
class Prompter;

// Bounds that keep a hostile file from taking the machine's memory: any text imported
// (title, address, description, folder name, category) is cut at 1 MiB, at a character
// boundary, and folders nested deeper than 100 levels fold into the 100th.
constexpr size_t kMaxImportedField = 1 << 20;
constexpr size_t kMaxFolderLevels = 100;

// Where the links of a bookmark file go.
struct BookmarkTarget {
    // One link, in file order; false refuses it and ends the import.
    std::function<bool(const std::string& title, const std::string& link, const std::string& category)> add;
    // The description (a DD right after the anchor) of the link added last.
    std::function<void(const std::string& description)> describe;
    // After the last link, before the summary.
    std::function<void(int count)> finished;
};

enum class ImportOutcome { NoFileName, OpenFailed, ReadFailed, Declined, RewindFailed, Done };

struct ImportSummary {
    ImportOutcome outcome = ImportOutcome::Done;
    int count = 0;
};

// Reads a bookmark file as browsers export it (the Netscape bookmark format): every
// H3 heading names the folder whose list follows it, each anchor becomes a link whose
// category is the path of its folders ("Tools|Web"), a DD after an anchor is its
// description, and character references are decoded. Another kind of file is read,
// after the user agrees, for its anchors. Every outcome is reported through prompter,
// ending with "Imported %s link%s." (and a word on what the bounds above cut). The file is
// read forward in blocks, and what is past a bound is read over without being kept.
ImportSummary ImportBookmarkFile(const std::string& fileName, Prompter& prompter, const CCountFormatter& counts,
                                 const BookmarkTarget& target);

// Helpers, public for their tests.
bool StartsWithNoCase(std::string_view text, std::string_view prefix);
std::string JoinFolderNames(const std::vector<std::string>& folders);
// Decodes &amp; &lt; &gt; &quot; &apos; &#NNN; &#xHH; a reference it does not know stays.
std::string DecodeCharacterReferences(std::string_view text);
