// norvelle-cli duplicates: the groups of links that point to the same place.
#include <ostream>

#include "cli/CliCommands.h"
#include "cli/PlainText.h"
#include "health/DuplicateFinder.h"
#include "health/LinkAddress.h"
#include "store/LinkStore.h"
#include "store/Utf.h"

int DuplicatesCommand(const std::string& dataFile, std::ostream& out, std::ostream& err)
{
    CommandStore holder;
    LinkStore& store = *holder;
    if (const int read = ReadWholeDataFile(dataFile, store, false, err); read != kExitOk) return read;
    const std::vector<DuplicateGroup> groups = FindDuplicates(store);
    std::string text;
    for (const DuplicateGroup& group : groups) {
        if (&group != &groups.front()) text += '\n';
        for (int row : group.rows) {
            const CAnnotatedLink& record = store.At(row);
            text += (row == group.keep ? "  " : "* ") + std::to_string(row) + '\t' + PlainText(record.Title()) + '\t' +
                    PlainText(WithoutUserInfo(record.Link())) + '\n';
        }
    }
    out << text;
    return groups.empty() ? kExitOk : kExitFailed;
}
