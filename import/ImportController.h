#pragma once
#include <functional>
#include <string>
#include <vector>

#include "import/DroppedLinks.h"
#include "import/LinkExport.h"
#include "options/CountFormatter.h"
#include "store/LinkStore.h"

class QMimeData;
class QWidget;
class ByteSink;
class Clock;
class Paths;
class Prompter;
struct CSettings;

// What importing, exporting and dropping links need of the main window.
class ImportHost {
public:
    virtual ~ImportHost() = default;
    virtual LinkStore& ImportStore() = 0;
    virtual void BeginListUpdate() = 0;
    virtual void EndListUpdate() = 0;
    // Appends the records as one undoable step ("Import": the form counts as unedited;
    // dropped links: "Add", with the last one scrolled into view), counting `presses`
    // stored records toward the next save; false, with nothing added, when memory ran out.
    enum class Arrival { Imported, Dropped };
    virtual bool AppendRecords(std::vector<LinkStore::Record>& records, Arrival arrival, int presses) = 0;
    // One link into an empty form, as if typed (what the form held is stored first).
    virtual void TypeLinkIntoForm(const std::string& title, const std::string& link) = 0;
    virtual std::string FormCategory() = 0;
    virtual std::string DefaultFolder() = 0;
    // The rows selected in the list, ascending.
    virtual std::vector<int> SelectedRows() = 0;
    // Writes a person's file through the guarded write path; false after its message.
    virtual bool WritePersonFile(const std::string& path, const std::string& failure,
                                 const std::function<bool(ByteSink&)>& write) = 0;
    // Keeps the settings that the Import dialog changed.
    virtual void SaveImportSettings() = 0;
};

// The main window's side of Import, Export and links dropped on the window.
class CImportController {
public:
    CImportController(ImportHost& host, Prompter& prompter, CSettings& settings, Clock& clock, Paths& paths,
                      QWidget* window);

    // Import Favorites, with the file name filled in when one was dropped on the window.
    void ImportCommand(const std::string& fileName = {});
    // At a first start (no data file yet): offers to import the bookmarks of the browser
    // profiles found, through the Import dialog; "Don't Ask Again" declines for good.
    void OfferFirstImport();
    // Export Bookmarks: with several rows (not all) selected, asks whether to export them
    // only; then asks where and writes the file.
    void ExportCommand();
    // Writes the links of these rows (every link when none) as a bookmark file.
    bool ExportBookmarksTo(const std::string& path, const std::vector<int>& rows = {},
                           ExportFormat format = ExportFormat::Html);
    // The links a drag carries, as the window takes them (none: the window refuses it).
    std::vector<DroppedLink> LinksOfDrag(const QMimeData& mime) const;
    // Links dragged onto the window: one fills the form, several are added as one step
    // after asking; a bookmark file or a browser's store opens the import.
    void TakeDroppedLinks(const std::vector<DroppedLink>& links);

private:
    CCountFormatter Counts() const { return CCountFormatter(m_settings); }

    ImportHost& m_host;
    Prompter& m_prompter;
    CSettings& m_settings;
    Clock& m_clock;
    Paths& m_paths;
    QWidget* m_window;
};
