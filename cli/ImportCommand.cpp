// norvelle-cli import: Import Favorites of the window, over the same readers and rules.
#include <ostream>

#include "cli/CliCommands.h"
#include "cli/PlainText.h"
#include "cli/StreamPrompter.h"
#include "import/BookmarkImport.h"
#include "import/BrowserStores.h"
#include "import/LinkIntake.h"
#include "options/CountFormatter.h"
#include "platform/Clock.h"
#include "store/LinkDate.h"
#include "store/DataFile.h"
#include "store/DiskStamp.h"
#include "store/WriterTurn.h"
#include "store/FileIO.h"
#include "store/GuardedWrite.h"
#include "store/LinkStore.h"

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
            if (!m_yes) m_err << PlainLines(text) << "  (Give --yes to import it.)\n";
            return m_yes ? Answer::Yes : Answer::No;
        }
        if (icon == Icon::Information)
            held.push_back(text);
        else
            m_err << PlainLines(text) << '\n';
        return Answer::Ok;
    }
    std::vector<std::string> held;

private:
    std::ostream& m_err;
    bool m_yes;
};

}  // namespace

int ImportBookmarksCommand(const std::string& bookmarks, const std::string& dataFile, bool yes, std::ostream& out,
                           std::ostream& err, IntakeOptions options)
{
    CommandStore holder;
    LinkStore& store = *holder;
    if (PathExists(dataFile) && SameFile(bookmarks, dataFile)) {
        err << "norvelle-cli: \"" << PlainText(bookmarks) << "\" is the data file itself: name a bookmark file or a browser's "
            << "store to import from\n";
        return kExitUsage;
    }
    // Held from the read to the write: no other writer's links can come in between.
    WriterTurn turn;
    if (!TakeWriterTurn(dataFile, turn, err)) return kExitFailed;
    DiskStamp version;
    // A data file that cannot be read whole is never written back.
    if (int read = ReadWholeDataFile(dataFile, store, true, err, &version); read != kExitOk) return read;
    const bool existed = PathExists(dataFile);
    SystemClock clock;
    const CLinkDate now = NowDate(clock);
    CLinkIntake intake(store, now, options);
    std::vector<LinkStore::Record> records;
    BookmarkTarget target;
    target.add = [&](ImportedLink&& link) {
        LinkStore::Record record;
        switch (intake.Take(std::move(link), record)) {
        case CLinkIntake::Result::Skipped: return Intake::Skipped;
        case CLinkIntake::Result::Empty: return Intake::Refused;
        case CLinkIntake::Result::Made: break;
        }
        records.push_back(std::move(record));
        return Intake::Added;
    };
    bool inserted = true;
    target.finished = [&](int) { inserted = store.InsertRecords(store.Count(), records); };
    ImportPrompter prompter(err, yes);
    const CCountFormatter counts(false, ",");
    const ImportSummary summary = ImportBookmarkFile(bookmarks, prompter, counts, target);
    switch (summary.outcome) {
    case ImportOutcome::Done: break;
    case ImportOutcome::Declined:
    case ImportOutcome::ReadFailed:
    case ImportOutcome::RewindFailed: return kExitFailed;
    default: return kExitUsage;
    }
    if (!inserted) {
        // Nothing is written: the data file keeps its links, and the import can be tried again.
        err << kOutOfMemoryMessage << '\n';
        return kExitFailed;
    }
    if (summary.count > 0 && store.Count() > 0) {
        WritePolicy policy;
        policy.dataFile = true;
        policy.target = existed ? TargetRead::Whole : TargetRead::NotRead;
        policy.expected = version;
        // A profile folder given as the source stands for the store it holds.
        std::string source = bookmarks;
        SourceKindOf(source);
        policy.inputs = {bookmarks, source};
        const std::string notSaved = counts.Plural(summary.count, "The %1 imported link", "The %1 imported links") +
                                     (summary.count == 1 ? " was" : " were") + " not saved.";
        if (!WriteOutputFile(dataFile, policy, false, "Could not save annotated links into \"%.259s\".",
                             [&](ByteSink& sink) { return WriteDataFile(store, sink); }, err, notSaved))
            return kExitFailed;
    }
    for (const std::string& text : prompter.held) out << PlainLines(text) << '\n';
    return kExitOk;
}

