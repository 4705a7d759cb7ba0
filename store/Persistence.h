#pragma once
#include <functional>
#include <memory>
#include <string>

#include "common/ThreadJob.h"
#include "sync/DiskVersion.h"

class AtomicFileWriter;
class Clock;
class LinkStore;
class Paths;
class Prompter;
struct CSettings;

// The window's part in loading and saving.
class PersistenceHost {
public:
    virtual ~PersistenceHost() = default;
    // Empties the store, the list, the Search history and the form.
    virtual void ResetStore() = 0;
    virtual void BeginListUpdate() = 0;
    virtual void EndListUpdate() = 0;
    // The reader empties the Category list of an empty store; the field follows it.
    virtual void EmptyCategoryField() = 0;
    // After every load: the Search text emptied, Previous and Next disabled, counts refreshed.
    virtual void LoadFinished() = 0;
    // Offers the Options sheet on its Saving page, so that another data file can be chosen.
    virtual void OpenSavingOptions() = 0;
    // Another program changed the data file since this window loaded or saved it. On the
    // window thread (mayAsk) the host settles it with the user and returns true when the
    // save may now replace the file; on a worker it is only told, and nothing is saved.
    virtual bool DataFileChangedOnDisk(bool mayAsk) = 0;
};

// "Could not save annotated links into "%.259s"." with the path cut to 259 characters.
std::string FormatPathMessage(const char* format, const std::string& path);

// The documents folder with a trailing separator, where data files go by default.
std::string DefaultDataFolderOf(Paths& paths);
// The data file of the settings ("Data File"), else "Norvelle.dat" in the default folder.
std::string ConfiguredDataPath(const CSettings& settings, const std::string& defaultFolder);

// Where the link store lives on disk and when it is read and written.
class CDataFilePersistence {
public:
    CDataFilePersistence(LinkStore& store, CSettings& settings, Prompter& prompter, Clock& clock,
                         PersistenceHost& host);

    // Finds the documents folder and settles the configured path ("Data File", or the
    // default "Norvelle.dat" in the documents folder).
    void SettlePaths(Paths& paths);
    const std::string& DefaultDataFolder() const { return m_defaultFolder; }
    const std::string& DataPath() const { return m_dataPath; }
    void SetDataPath(const std::string& path);
    std::string BackupPath() const { return m_dataPath + ".bak"; }

    // path: nullptr for the configured data file. Safe to call from a worker thread, which
    // passes mayAsk false: a data file changed by another program is then left alone.
    // offerOptions: a failed save of the configured file opens the Saving page.
    bool SaveDataFile(const std::string* path = nullptr, bool offerOptions = true, bool mayAsk = true);
    bool LoadDataFile(const std::string* path, bool append);
    // Copies the configured data file to the backup before the first save of a day.
    void BackupDataFile();
    // After each record stored through the form.
    void StoredRecord();
    // After an import of count records, which counts as one operation: one save at most.
    void StoredRecords(int count);

    // Whether another program changed the data file since this window loaded or saved it:
    // a new time on the same bytes is no change, and neither is a deleted file (the next
    // save makes it again). now gets what is on disk.
    bool DataFileChangedOnDisk(DiskStamp* now = nullptr);
    // What is on disk now becomes the version this window knows, so that the next save
    // may replace it: the user chose to keep their version, or declined a reload.
    void AcceptDiskVersion();
    // Copies the data file as it is on disk beside itself under a new name ("Norvelle
    // (other version).dat"); empty when it could not.
    std::string KeepDiskVersionAside();

    // For tests and benchmarks: how the replacing writer is made, and whether it syncs.
    void SetWriterFactory(std::function<std::unique_ptr<AtomicFileWriter>()> factory);

private:
    // How the last replacing load of a file ended, which decides whether a save may
    // replace that file.
    enum class LoadOutcome { Whole, Damaged, Unread };
    // False when the target must not be replaced; a damaged file is first copied aside
    // (notice tells the user where).
    bool MayReplace(const std::string& target, std::string& notice);
    // Reads the file through without keeping anything; reports why when it cannot be read whole.
    bool CheckWholeFile(const std::string& target);

    LinkStore& m_store;
    CSettings& m_settings;
    Prompter& m_prompter;
    Clock& m_clock;
    PersistenceHost& m_host;
    std::string m_defaultFolder;
    std::string m_dataPath;
    std::function<std::unique_ptr<AtomicFileWriter>()> m_makeWriter;
    std::string m_loadedPath;
    LoadOutcome m_loadOutcome = LoadOutcome::Whole;
    DiskStamp m_diskStamp;  // the data file as this window last loaded or saved it
    bool m_diskKnown = false;
};

// The timed save: SaveDataFile of its owner on a worker thread.
class CSaveJob : public CPooledJob {
public:
    ~CSaveJob() override { Wait(); }
    void SetOwner(CDataFilePersistence* owner) { m_owner = owner; }
    int Run() override;

private:
    CDataFilePersistence* m_owner = nullptr;
};
