#pragma once
#include <string>
#include <vector>

class SettingsBackend;

// Where the title-case exception words live (titlecase/TitleCaser.h).
class ExceptionSet;

// Every preference of the program, with its default.
struct CSettings {
    // "Saving"
    bool saveOnPresses = true;
    int saveLimit = 5;
    bool saveOnTimer = true;
    int timerIndex = 2;
    bool saveOnClose = true;
    std::string dataFile;
    std::vector<std::string> dataFiles;  // the known data files, "Filename%02d"
    // "Searching"
    bool titleFields = true;
    bool descriptionFields = true;
    bool categoryFields = false;
    bool linkFields = false;
    bool positionOnLast = false;
    bool allowTypos = false;
    int separation = 2;
    bool interruptibleSearching = false;
    // "Numbers"
    bool useThousandsSep = true;
    std::string thousandsSeparator = ",";  // one character, UTF-8
    // "Misc"
    bool moveToTitle = false;
    bool moveToLink = false;
    bool copyLink = false;
    bool confirmDelete = true;
    bool moveSave = true;
    bool showDayTip = true;
    bool restoreWndPlacement = true;
    int dayTipIndex = 0;
    // The choices of Import Favorites.
    bool importKeepsDates = true;
    bool importSkipsExisting = true;
    // A first start without a data file offers to import the browsers' bookmarks, until declined for good.
    bool offerBrowserImport = true;
    // Archived copies of dead links: whether the service may be asked at all, whether the
    // person said once not to be asked before it is, and the service's address.
    bool archiveLookups = true;
    bool archiveAskFirst = true;
    std::string archiveService = "https://archive.org";

    // Timed-save period in milliseconds.
    int TimerPeriodMs() const { return (timerIndex + 1) * 600000; }
};

// The data file of the settings ("Data File"), else "Norvelle.dat" in the default folder.
std::string ConfiguredDataPath(const CSettings& settings, const std::string& defaultFolder);

// "Filename%02d" and "Exception%02d": the number grows past two digits.
std::string NumberedKey(const char* stem, int index);

void LoadSettings(SettingsBackend& backend, CSettings& settings, ExceptionSet& exceptions);
void SaveSettings(SettingsBackend& backend, const CSettings& settings, const ExceptionSet& exceptions);
