// norvelle-cli merge: the union of two data files, for resolving a sync tool's conflict copy.
#include <ostream>

#include "cli/CliCommands.h"
#include "store/DataFile.h"
#include "store/FileIO.h"
#include "store/GuardedWrite.h"
#include "store/LinkStore.h"
#include "sync/MergeStores.h"

int MergeCommand(const std::string& first, const std::string& second, const std::string& output, std::ostream& out,
                 std::ostream& err, bool replace)
{
    CommandStore holdA, holdB, holdMerged;
    LinkStore &a = *holdA, &b = *holdB, &merged = *holdMerged;
    // Only files read whole are merged: a record left unread would be lost from the union.
    if (int read = ReadWholeDataFile(first, a, false, err); read != kExitOk) return read;
    if (int read = ReadWholeDataFile(second, b, false, err); read != kExitOk) return read;
    const MergeCounts counts = MergeStores(a, b, merged);
    // A union that lacks a record is not written: it would pass for the whole.
    if (!counts.complete) {
        err << kOutOfMemoryMessage << '\n';
        return kExitFailed;
    }
    // Neither input is ever the output: both stay as they are.
    WritePolicy policy;
    policy.dataFile = true;
    policy.inputs = {first, second};
    if (!WriteOutputFile(output, policy, replace, "Could not save annotated links into \"%.259s\".",
                         [&](ByteSink& sink) { return WriteDataFile(merged, sink); }, err))
        return kExitFailed;
    out << counts.onlyFirst << " links only in " << first << ", " << counts.onlySecond << " only in " << second
        << ", " << counts.both << " in both: " << merged.Count() << " written to " << output << ".\n";
    return kExitOk;
}
