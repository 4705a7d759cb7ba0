// norvelle-cli import, export and find: the bookmark file commands of the window, over
// the same reader, writer and finder.
#include <ostream>

#include "cli/CliCommands.h"
#include "cli/PlainText.h"
#include "cli/StreamPrompter.h"
#include "import/BookmarkExport.h"
#include "import/BookmarkImport.h"
#include "import/DirectoryWalk.h"
#include "options/CountFormatter.h"
#include "platform/Clock.h"
#include "store/DataFile.h"
#include "store/FileIO.h"
#include "store/GuardedWrite.h"
#include "store/LinkStore.h"
#include "store/NaturalCompare.h"
#include "store/Persistence.h"

namespace {

// The import's messages: the question about a file that is not a standard bookmark file
// answered as told, the summary held back until the links are saved, the rest on
// standard error.
class ImportPrompter : public Prompter {
public:
    ImportPrompter(std::ostream& err, bool yes) : m_err(err), m_yes(yes) {}
    Answer Show(const std::string& text, Icon icon, Buttons buttons, bool) override
    {
        if (buttons == Buttons::YesNo) {
            if (!m_yes) m_err << text << "  (Give --yes to import it.)\n";
            return m_yes ? Answer::Yes : Answer::No;
        }
        if (icon == Icon::Information)
            held.push_back(text);
        else
            m_err << text << '\n';
        return Answer::Ok;
    }
    std::vector<std::string> held;

private:
    std::ostream& m_err;
    bool m_yes;
};

}  // namespace

int ImportBookmarksCommand(const std::string& bookmarks, const std::string& dataFile, bool yes, std::ostream& out,
                           std::ostream& err)
{
    CommandStore holder;
    LinkStore& store = *holder;
    // A data file that cannot be read whole is never written back.
    if (int read = ReadWholeDataFile(dataFile, store, true, err); read != kExitOk) return read;
    const bool existed = PathExists(dataFile);
    SystemClock clock;
    const CLinkDate now = clock.NowDate();
    BookmarkTarget target;
    target.add = [&](const std::string& title, const std::string& link, const std::string& category) {
        return store.AddImportedLink(title, link, category, now, nullptr);
    };
    target.describe = [&](const std::string& description) {
        if (store.Count() > 0) store.At(store.Count() - 1).description = description;
    };
    ImportPrompter prompter(err, yes);
    const CCountFormatter counts(false, ",");
    const ImportSummary summary = ImportBookmarkFile(bookmarks, prompter, counts, target);
    switch (summary.outcome) {
    case ImportOutcome::Done: break;
    case ImportOutcome::Declined:
    case ImportOutcome::RewindFailed: return kExitFailed;
    default: return kExitUsage;
    }
    if (summary.count > 0 && store.Count() > 0) {
        WritePolicy policy;
        policy.dataFile = true;
        policy.target = existed ? TargetRead::Whole : TargetRead::NotRead;
        policy.inputs = {bookmarks};
        const std::string notSaved = counts.Plural("The %s imported link%s", summary.count) +
                                     (summary.count == 1 ? " was" : " were") + " not saved.";
        if (!WriteOutputFile(dataFile, policy, false, "Could not save annotated links into \"%.259s\".",
                             [&](ByteSink& sink) { return WriteDataFile(store, sink); }, err, notSaved))
            return kExitFailed;
    }
    for (const std::string& text : prompter.held) out << text << '\n';
    return kExitOk;
}

int ExportBookmarksCommand(const std::string& dataFile, const std::string& bookmarks, std::ostream& out,
                           std::ostream& err, bool replace)
{
    CommandStore holder;
    LinkStore& store = *holder;
    if (int read = ReadWholeDataFile(dataFile, store, false, err); read != kExitOk) return read;
    WritePolicy policy;
    policy.inputs = {dataFile};
    if (!WriteOutputFile(bookmarks, policy, replace, "Could not write the bookmark file \"%.259s\".",
                         [&](ByteSink& sink) { return ExportBookmarks(store, sink); }, err))
        return kExitFailed;
    // Said on standard error when the bookmarks themselves went to standard output.
    const bool toOutput = bookmarks == "/dev/stdout" || bookmarks == "-";
    (toOutput ? err : out) << CCountFormatter(false, ",").Plural("Exported %s link%s.", store.Count()) << '\n';
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
