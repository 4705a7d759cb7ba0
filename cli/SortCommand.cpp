// norvelle-cli sort: puts a data file in order by up to five columns, as Multi-Column
// Sorting does, and writes it back only once it has been read whole.
#include <ostream>

#include "cli/CliCommands.h"
#include "cli/StreamPrompter.h"
#include "sort/SortKeys.h"
#include "store/DataFile.h"
#include "store/DiskStamp.h"
#include "store/WriterTurn.h"
#include "store/FileIO.h"
#include "store/GuardedWrite.h"
#include "store/LinkStore.h"

bool ParseSortKeys(const std::string& text, std::vector<SortKey>& keys, std::string& problem)
{
    static const char* const kNames[kSortKeys] = {"title", "category", "description", "added", "modified"};
    keys.clear();
    const std::string list = text + ",";
    for (size_t start = 0, comma; (comma = list.find(',', start)) != std::string::npos; start = comma + 1) {
        std::string key = list.substr(start, comma - start);
        bool increasing = true;
        const size_t colon = key.find(':');
        if (colon != std::string::npos) {
            const std::string direction = key.substr(colon + 1);
            if (direction != "asc" && direction != "desc") {
                problem = "unknown direction \"" + direction + "\" (asc or desc)";
                return false;
            }
            increasing = direction == "asc";
            key.resize(colon);
        }
        int column = -1;
        for (int c = 0; c < kSortKeys; ++c)
            if (key == kNames[c]) column = c;
        if (column < 0) {
            problem = "unknown column \"" + key + "\" (title, category, description, added or modified)";
            return false;
        }
        for (const SortKey& earlier : keys)
            if (earlier.column == column) {
                problem = "the column \"" + key + "\" is named twice";
                return false;
            }
        keys.push_back({column, increasing});
    }
    return true;
}

int SortCommand(const std::string& dataFile, const std::vector<SortKey>& keys, const std::string& output,
                std::ostream& err, bool replace)
{
    CommandStore holder;
    LinkStore& store = *holder;
    // In place unless another file is named: the data file was read whole and may be replaced.
    const bool inPlace = output.empty() || SameFile(output, dataFile);
    // In place, held from the read to the write: no other writer's links can come in between.
    WriterTurn turn;
    if (inPlace && !TakeWriterTurn(dataFile, turn, err)) return kExitFailed;
    DiskStamp version;
    // A file that was not read whole is never written back.
    if (int status = ReadWholeDataFile(dataFile, store, false, err, &version); status != kExitOk) return status;
    SortLinks(store, keys);
    const std::string target = output.empty() ? dataFile : output;
    WritePolicy policy;
    policy.dataFile = true;
    if (inPlace) {
        policy.target = TargetRead::Whole;
        policy.expected = version;
    }
    else
        policy.inputs = {dataFile};
    return WriteOutputFile(target, policy, replace, "Could not save annotated links into \"%.259s\".",
                           [&](ByteSink& sink) { return WriteDataFile(store, sink); }, err)
               ? kExitOk
               : kExitFailed;
}
