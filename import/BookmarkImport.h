#pragma once
#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "import/ImportedLink.h"

class CCountFormatter;
class Prompter;

// Bounds that keep a hostile file from taking the machine's memory: any text imported
// (title, address, description, folder name, category) is cut at 1 MiB, at a character
// boundary, and folders nested deeper than 100 levels fold into the 100th.
constexpr size_t kMaxImportedField = 1 << 20;
constexpr size_t kMaxFolderLevels = 100;

// What became of one link handed to the import's target.
enum class Intake { Added, Skipped, Refused };

// Where the links of a bookmark file or a browser's store go.
struct BookmarkTarget {
    // One link, in the source's order: added, skipped (it is in the list already), or
    // refused, which ends the import.
    std::function<Intake(ImportedLink&& link)> add;
    // After the last link, before the summary: the number added.
    std::function<void(int count)> finished;
    // Called now and then while reading, with how far the read is (bytes, or links when
    // total is 0); false stops the import, which keeps the links taken so far.
    std::function<bool(uint64_t done, uint64_t total)> progress;
};

enum class ImportOutcome { NoFileName, OpenFailed, ReadFailed, Declined, RewindFailed, Done };

struct ImportSummary {
    ImportOutcome outcome = ImportOutcome::Done;
    int count = 0;    // links added
    int skipped = 0;  // links left out as already in the list
};

// What reading a source gave, for its summary.
struct ReadCounts {
    int added = 0;
    int skipped = 0;
    bool cut = false;     // a text was longer than a field may be, and was cut
    bool folded = false;  // folders nested deeper than the limit were folded
    bool stopped = false; // the person stopped the import before the source's end
    int empty = 0;        // entries with neither a title nor an address, left out
    // Hands one link to the target and counts it; false when the target refused it.
    bool Take(const BookmarkTarget& target, ImportedLink&& link);
    // Tells the target's progress how far the read is; false when the person stopped it.
    bool GoOn(const BookmarkTarget& target, uint64_t done, uint64_t total);
};

// A text of a source as the store keeps it: valid UTF-8, at most kMaxImportedField bytes,
// never half a character (cut tells when it was cut).
std::string BoundedText(std::string text, bool& cut);

// "Imported 3 links." with a word on links skipped and on what the bounds cut.
std::string ImportSummaryText(const CCountFormatter& counts, const ReadCounts& read);

// Reads bookmarks into target from a file told apart by its content: a browser's own
// store (Firefox's places.sqlite, Chromium's Bookmarks; a profile folder holding one
// stands for it), or a bookmark file as browsers export it (the Netscape bookmark
// format): every H3 heading names the folder whose list follows it, each anchor becomes
// a link whose category is the path of its folders ("Tools|Web") with its ADD_DATE,
// LAST_MODIFIED and TAGS, a DD after an anchor is its description, and character
// references are decoded. Another kind of file is read, after the user agrees, for its
// anchors. Every outcome is reported through prompter, ending with "Imported %s link%s."
// (and a word on links skipped and on what the bounds above cut). A bookmark file is
// read forward in blocks, and what is past a bound is read over without being kept.
ImportSummary ImportBookmarkFile(const std::string& fileName, Prompter& prompter, const CCountFormatter& counts,
                                 const BookmarkTarget& target);

// Helpers, public for their tests and for the readers of other files.
bool StartsWithNoCase(std::string_view text, std::string_view prefix);
// The value of an attribute of a tag (its name and attributes, over any number of
// lines), in double or single quotes; none when it has none or it is not closed (unless
// the tag was cut short, when the value runs to the cut).
std::optional<std::string> AttributeOf(std::string_view tag, std::string_view name, bool tagCut);
// Line breaks as the form stores them: CR LF.
std::string WithCrLf(std::string_view text);
std::string JoinFolderNames(const std::vector<std::string>& folders);
// The category of a link in these folders, bounded as any imported text is; the folders'
// names are joined only up to the bound, so a deep path of long names costs little per link.
std::string CategoryOf(const std::vector<std::string>& folders, bool& cut);
