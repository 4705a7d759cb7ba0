// norvelle-cli import, export and find: the bookmark file commands of the window, over
// the same reader, writer and finder.
#include <ostream>

#include "cli/CliCommands.h"
#include "cli/StreamPrompter.h"
#include "import/BookmarkExport.h"
#include "import/BookmarkImport.h"
#include "import/DirectoryWalk.h"
#include "options/CountFormatter.h"
#include "platform/Clock.h"
#include "store/DataFile.h"
#include "store/FileIO.h"
#include "store/LinkStore.h"
#include "store/NaturalCompare.h"
#include "store/Persistence.h"

namespace {

// The import's messages: the summary on standard output, the rest on standard error;
// the question about a file that is not a standard bookmark file answered as told.
class ImportPrompter : public Prompter {
public:
    ImportPrompter(std::ostream& out, std::ostream& err, bool yes) : m_out(out), m_err(err), m_yes(yes) {}
    Answer Show(const std::string& text, Icon icon, Buttons buttons, bool) override
    {
        if (buttons == Buttons::YesNo) {
            if (!m_yes) m_err << text << "  (Give --yes to import it.)\n";
            return m_yes ? Answer::Yes : Answer::No;
        }
        (icon == Icon::Information ? m_out : m_err) << text << '\n';
        return Answer::Ok;
    }

private:
    std::ostream& m_out;
    std::ostream& m_err;
    bool m_yes;
};

}  // namespace

int ImportBookmarksCommand(const std::string& bookmarks, const std::string& dataFile, bool yes, std::ostream& out,
                           std::ostream& err)
{
    LinkStore store;
    // A data file that cannot be read whole is never written back.
    if (int read = ReadWholeDataFile(dataFile, store, true, err); read != kExitOk) return read;
    SystemClock clock;
    const CLinkDate now = clock.NowDate();
    BookmarkTarget target;
    target.add = [&](const std::string& title, const std::string& link, const std::string& category) {
        return store.AddImportedLink(title, link, category, now, nullptr);
    };
    target.describe = [&](const std::string& description) {
        if (store.Count() > 0) store.At(store.Count() - 1).description = description;
    };
    ImportPrompter prompter(out, err, yes);
    const ImportSummary summary = ImportBookmarkFile(bookmarks, prompter, CCountFormatter(false, ","), target);
    switch (summary.outcome) {
    case ImportOutcome::Done: break;
    case ImportOutcome::Declined:
    case ImportOutcome::RewindFailed: return kExitFailed;
    default: return kExitUsage;
    }
    if (summary.count == 0 || store.Count() == 0) return kExitOk;
    AtomicFileWriter writer;
    if (!writer.Open(dataFile) || !WriteDataFile(store, writer) || !writer.Commit()) {
        err << FormatPathMessage("Could not save annotated links into \"%.259s\".", dataFile) << '\n';
        return kExitFailed;
    }
    return kExitOk;
}

int ExportBookmarksCommand(const std::string& dataFile, const std::string& bookmarks, std::ostream& out,
                           std::ostream& err)
{
    LinkStore store;
    if (int read = ReadWholeDataFile(dataFile, store, false, err); read != kExitOk) return read;
    AtomicFileWriter writer;
    if (!writer.Open(bookmarks) || !ExportBookmarks(store, writer) || !writer.Commit()) {
        err << FormatPathMessage("Could not write the bookmark file \"%.259s\".", bookmarks) << '\n';
        return kExitFailed;
    }
    out << CCountFormatter(false, ",").Plural("Exported %s link%s.", store.Count()) << '\n';
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
        for (const std::string& path : found) out << path << '\n';
        total += found.size();
        found.clear();
    }
    return total > 0 ? kExitOk : kExitFailed;
}
