#include "options/Settings.h"

#include <algorithm>
#include <cstdio>

#include "platform/SettingsBackend.h"
#include "store/NaturalCompare.h"
#include "store/Utf.h"
#include "titlecase/TitleCaser.h"

namespace {

const char* const kSaving = "Saving";
const char* const kSearching = "Searching";
const char* const kNumbers = "Numbers";
const char* const kMisc = "Misc";
const char* const kTitleCase = "Title Case";
const char* const kImport = "Import";
const char* const kArchive = "Archived Copies";

bool ReadBool(SettingsBackend& b, const char* section, const char* key, bool def)
{
    return b.ReadInt(section, key, def ? 1 : 0) != 0;
}

// A number outside its range is not the user's choice but damage: the default serves.
int ReadInRange(SettingsBackend& b, const char* section, const char* key, int def, int low, int high)
{
    const int value = b.ReadInt(section, key, def);
    return value >= low && value <= high ? value : def;
}

void WriteBool(SettingsBackend& b, const char* section, const char* key, bool value)
{
    b.WriteInt(section, key, value ? 1 : 0);
}

// More entries than any person keeps; a larger count is corrupt.
constexpr int kMaxListEntries = 10000;

// Reads a count and its numbered strings, trimmed, skipping empty ones. A count that
// says more than the store holds stops at the first absent key.
std::vector<std::string> ReadList(SettingsBackend& b, const char* section, const char* stem, int count)
{
    std::vector<std::string> list;
    count = std::min(count, kMaxListEntries);
    for (int i = 0; i < count && b.Contains(section, NumberedKey(stem, i)); ++i) {
        std::string value(TrimView(b.ReadString(section, NumberedKey(stem, i))));
        if (!value.empty()) list.push_back(std::move(value));
    }
    return list;
}

void WriteList(SettingsBackend& b, const char* section, const char* countKey, const char* stem,
               const std::vector<std::string>& list)
{
    b.WriteInt(section, countKey, int32_t(list.size()));
    for (size_t i = 0; i < list.size(); ++i) b.WriteString(section, NumberedKey(stem, int(i)), list[i]);
}

}  // namespace

std::string ConfiguredDataPath(const CSettings& settings, const std::string& defaultFolder)
{
    return settings.dataFile.empty() ? defaultFolder + "Norvelle.dat" : settings.dataFile;
}

std::string NumberedKey(const char* stem, int index)
{
    char buf[64];
    std::snprintf(buf, sizeof buf, "%s%02d", stem, index);
    return buf;
}

void LoadSettings(SettingsBackend& b, CSettings& s, ExceptionSet& exceptions)
{
    s.saveOnPresses = ReadBool(b, kSaving, "Save on Presses", true);
    s.saveLimit = ReadInRange(b, kSaving, "Save Limit", 5, 1, 99);
    s.saveOnTimer = ReadBool(b, kSaving, "Save on Timer", true);
    s.timerIndex = ReadInRange(b, kSaving, "Timer Index", 2, 0, 5);
    s.saveOnClose = ReadBool(b, kSaving, "Save on Close", true);
    s.dataFile = b.ReadString(kSaving, "Data File");
    int files = b.ReadInt(kSaving, "Filename Count", -1);
    if (files > 0) s.dataFiles = ReadList(b, kSaving, "Filename", files);

    s.titleFields = ReadBool(b, kSearching, "Title Fields", true);
    s.descriptionFields = ReadBool(b, kSearching, "Description Fields", true);
    s.categoryFields = ReadBool(b, kSearching, "Category Fields", false);
    s.linkFields = ReadBool(b, kSearching, "Link Fields", false);
    s.positionOnLast = ReadBool(b, kSearching, "Position on Last", false);
    s.allowTypos = ReadBool(b, kSearching, "Allow Typos", false);
    s.separation = ReadInRange(b, kSearching, "Separation", 2, 1, 9);
    s.interruptibleSearching = ReadBool(b, kSearching, "Interruptible Searching", false);
    s.useThousandsSep = ReadBool(b, kNumbers, "Use Thousands Sep", true);
    std::string sep = b.ReadString(kNumbers, "Thousands Separator", ",");
    // One character, which may take several bytes (a no-break space, a typographic apostrophe).
    sep = FirstCharacters(DisplayUtf8(sep), 1);
    s.thousandsSeparator = sep.empty() ? "," : sep;

    s.moveToTitle = ReadBool(b, kMisc, "Move to Title", false);
    s.moveToLink = ReadBool(b, kMisc, "Move to Link", false);
    s.copyLink = ReadBool(b, kMisc, "Copy Link", false);
    s.confirmDelete = ReadBool(b, kMisc, "Confirm Delete", true);
    s.moveSave = ReadBool(b, kMisc, "Move Save", true);
    s.showDayTip = ReadBool(b, kMisc, "Show Day Tip", true);
    s.restoreWndPlacement = ReadBool(b, kMisc, "Restore Wnd Placement", true);
    s.dayTipIndex = b.ReadInt(kMisc, "Day Tip Index", 0);
    s.importKeepsDates = ReadBool(b, kImport, "Keep Dates", true);
    s.importSkipsExisting = ReadBool(b, kImport, "Skip Existing", true);
    s.offerBrowserImport = ReadBool(b, kImport, "Offer Browser Import", true);
    s.archiveLookups = ReadBool(b, kArchive, "Look Up Copies", true);
    s.archiveAskFirst = ReadBool(b, kArchive, "Ask First", true);
    s.archiveService = b.ReadString(kArchive, "Service", "https://archive.org");
    // Only a web service is asked: anything else gives the default back.
    if (s.archiveService.rfind("http://", 0) != 0 && s.archiveService.rfind("https://", 0) != 0)
        s.archiveService = "https://archive.org";

    int words = b.ReadInt(kTitleCase, "Count", -1);
    std::vector<std::string> list;
    if (words == -1)
        CTitleCaser::DefaultExceptions(list);
    else
        list = ReadList(b, kTitleCase, "Exception", words);
    exceptions.SetExceptions(list);
}

void SaveSettings(SettingsBackend& b, const CSettings& s, const ExceptionSet& exceptions)
{
    WriteBool(b, kSaving, "Save on Presses", s.saveOnPresses);
    b.WriteInt(kSaving, "Save Limit", s.saveLimit);
    WriteBool(b, kSaving, "Save on Timer", s.saveOnTimer);
    b.WriteInt(kSaving, "Timer Index", s.timerIndex);
    WriteBool(b, kSaving, "Save on Close", s.saveOnClose);
    b.WriteString(kSaving, "Data File", s.dataFile);
    WriteList(b, kSaving, "Filename Count", "Filename", s.dataFiles);

    WriteBool(b, kSearching, "Title Fields", s.titleFields);
    WriteBool(b, kSearching, "Description Fields", s.descriptionFields);
    WriteBool(b, kSearching, "Category Fields", s.categoryFields);
    WriteBool(b, kSearching, "Link Fields", s.linkFields);
    WriteBool(b, kSearching, "Position on Last", s.positionOnLast);
    WriteBool(b, kSearching, "Allow Typos", s.allowTypos);
    b.WriteInt(kSearching, "Separation", s.separation);
    WriteBool(b, kSearching, "Interruptible Searching", s.interruptibleSearching);
    WriteBool(b, kNumbers, "Use Thousands Sep", s.useThousandsSep);
    b.WriteString(kNumbers, "Thousands Separator", s.thousandsSeparator);

    WriteBool(b, kMisc, "Move to Title", s.moveToTitle);
    WriteBool(b, kMisc, "Move to Link", s.moveToLink);
    WriteBool(b, kMisc, "Copy Link", s.copyLink);
    WriteBool(b, kMisc, "Confirm Delete", s.confirmDelete);
    WriteBool(b, kMisc, "Move Save", s.moveSave);
    WriteBool(b, kMisc, "Show Day Tip", s.showDayTip);
    WriteBool(b, kMisc, "Restore Wnd Placement", s.restoreWndPlacement);
    b.WriteInt(kMisc, "Day Tip Index", s.dayTipIndex);
    WriteBool(b, kImport, "Keep Dates", s.importKeepsDates);
    WriteBool(b, kImport, "Skip Existing", s.importSkipsExisting);
    WriteBool(b, kImport, "Offer Browser Import", s.offerBrowserImport);
    WriteBool(b, kArchive, "Look Up Copies", s.archiveLookups);
    WriteBool(b, kArchive, "Ask First", s.archiveAskFirst);
    b.WriteString(kArchive, "Service", s.archiveService);

    std::vector<std::string> words;
    exceptions.GetExceptions(words);
    WriteList(b, kTitleCase, "Count", "Exception", words);
}
