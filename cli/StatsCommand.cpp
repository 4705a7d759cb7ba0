// norvelle-cli stats: the links per category, as the Statistics window counts them.
#include <ostream>

#include "cli/CliCommands.h"
#include "cli/PlainText.h"
#include "stats/CategoryStats.h"
#include "store/DataFile.h"
#include "store/FileIO.h"
#include "store/LinkStore.h"
#include "store/GuardedWrite.h"
#include "store/Utf.h"

int StatsCommand(const std::string& dataFile, std::ostream& out, std::ostream& err)
{
    FileSource source;
    if (!OpenDataFile(dataFile, source, err)) return kExitUsage;
    // Records are counted as they are read; none is kept.
    LinkStore categories;
    std::unique_ptr<CCategoryCounter> counter;
    ReadResult result = ScanDataFile(categories, source, [&](CReadRecord& record) {
        if (!counter) counter = std::make_unique<CCategoryCounter>(categories.Categories(), 0);
        counter->Count(record.category);
    });
    if (const char* refused = RefusalMessage(result)) err << refused << '\n';
    if (result.status == ReadStatus::VersionRefused) return kExitRefused;
    if (result.status != ReadStatus::Ok) {
        err << FormatPathMessage("Could not read annotated links from \"%.259s\".", dataFile) << '\n';
        return kExitFailed;
    }
    if (!counter) counter = std::make_unique<CCategoryCounter>(categories.Categories(), 0);
    std::string text;
    for (const CategoryCount& row : counter->Rows()) {
        if (&row == &counter->Rows()[1]) continue;  // SELECTED means nothing here
        text += PlainText(row.name) + '\t' + std::to_string(row.count) + '\n';
    }
    out << text;
    return kExitOk;
}
