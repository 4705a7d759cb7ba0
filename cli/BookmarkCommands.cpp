// norvelle-cli export and find: the bookmark file commands of the window, over the same
// writer and finder.
#include <ostream>

#include "cli/CliCommands.h"
#include "cli/PlainText.h"
#include "import/LinkExport.h"
#include "import/DirectoryWalk.h"
#include "options/CountFormatter.h"
#include "store/FileIO.h"
#include "store/GuardedWrite.h"
#include "store/LinkStore.h"
#include "store/NaturalCompare.h"

int ExportBookmarksCommand(const std::string& dataFile, const std::string& bookmarks, ExportFormat format,
                           std::ostream& out, std::ostream& err, bool replace)
{
    CommandStore holder;
    LinkStore& store = *holder;
    if (int read = ReadWholeDataFile(dataFile, store, false, err); read != kExitOk) return read;
    // As the window says it: an empty bookmark file helps no one.
    if (store.Count() == 0) {
        err << "There are no links to export.\n";
        return kExitFailed;
    }
    WritePolicy policy;
    policy.inputs = {dataFile};
    if (!WriteOutputFile(bookmarks, policy, replace, "Could not write the bookmark file \"%.259s\".",
                         [&](ByteSink& sink) { return ExportLinks(store, sink, {}, format); }, err))
        return kExitFailed;
    // Said on standard error when the bookmarks themselves went to standard output.
    const bool toOutput = bookmarks == "/dev/stdout" || bookmarks == "-";
    (toOutput ? err : out) << CCountFormatter(false, ",").Plural(store.Count(), "Exported %1 link.", "Exported %1 links.") << '\n';
    return kExitOk;
}

int FindBookmarksCommand(const std::string& root, const std::string& pattern, bool typos, std::ostream& out,
                         std::ostream& err)
{
    const std::string trimmed(TrimView(pattern));
    if (trimmed.empty() || trimmed.size() >= 256) {
        err << "The pattern's length is too short or too long.\n";
        return kExitUsage;
    }
    if (!PathExists(root)) {
        err << "norvelle-cli: cannot open \"" << root << "\"\n";
        return kExitUsage;
    }
    CBookmarkFinder finder(root, trimmed, typos);
    std::vector<std::string> found;
    size_t total = 0;
    while (finder.Step(found)) {
        for (const std::string& path : found) out << PlainText(path) << '\n';
        total += found.size();
        found.clear();
    }
    return total > 0 ? kExitOk : kExitFailed;
}
