#pragma once
#include <functional>
#include <memory>
#include <string>

#include "common/ThreadJob.h"
#include "store/GuardedWrite.h"
#include "store/DiskStamp.h"

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

// The documents folder with a trailing separator, where data files go by default.
std::string DefaultDataFolderOf(Paths& paths);

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
    // passes mayAsk false: a data file changed by another program is then left alone, and so
    // is one that holds links this window never loaded. offerOptions: a failed save of the
    // configured file opens the Saving page. Only a save of the data file itself clears the
    // changed flag; a copy saved elsewhere leaves the links marked unsaved.
    bool SaveDataFile(const std::string* path = nullptr, bool offerOptions = true, bool mayAsk = true);
    bool LoadDataFile(const std::string* path, bool append);
    // Copies the configured data file to the backup before the first save of a day, and
    // only a file that reads whole.
    void BackupDataFile();
    // After each record stored through the form.
    void StoredRecord();
    // After an import of count records, which counts as one operation: one save at most.
    void StoredRecords(int count);
    // Writes another file of the person's (an export) through the guarded path: never over
    // the data file, over a file with links only after asking. Says why when it cannot.
    bool WritePersonFile(const std::string& target, const std::string& failureFormat,
                         const std::function<bool(ByteSink&)>& produce);
    // The person answered that this window's links are to replace what the file at path
    // holds (Options: "Replace It"); the next save of it asks no more.
    void ConfirmReplacing(const std::string& path);
    // The window no longer holds the links of any file (New File): a save over a file with
    // links asks first, even over the one that was in use.
    void ForgetKnownFile();
    // Whether this window's links came from the file at path or were saved into it.
    bool HoldsLinksOf(const std::string& path) const;

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

    // For benchmarks: whether saves flush to the disk.
    void SetSyncToDisk(bool sync) { m_sync = sync; }
    // Where in-place saves keep their recovery copy (the user's state folder).
    const std::string& StateFolder() const { return m_stateFolder; }
    // The system is ending the program and the links could not go into the data file (it
    // changed on disk, or the disk refused): they go into a file of their own beside it
    // (else in the state folder), named to the person at the next start. Once a run.
    void KeepUnsavedLinksAtEnd();

private:
    // How this window knows the file at m_knownPath, which decides whether a save may
    // replace it.
    enum class Known { Whole, Damaged, Unread };
    WritePolicy PolicyFor(const std::string& target) const;
    // Reads the file through without keeping anything; reports why when it cannot be read whole.
    bool CheckWholeFile(const std::string& target);
    void Recover(const std::string& target);

    LinkStore& m_store;
    CSettings& m_settings;
    Prompter& m_prompter;
    Clock& m_clock;
    PersistenceHost& m_host;
    std::string m_defaultFolder;
    std::string m_dataPath;
    std::string m_stateFolder;
    std::string m_keptAtEnd;  // where KeepUnsavedLinksAtEnd put the links
    bool m_sync = true;
    std::string m_knownPath;  // the file this window last loaded (replacing) or saved
    Known m_known = Known::Whole;
    std::string m_confirmedPath;  // a file the person said to replace
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

class SettingsBackend;
// What the prompter held back while the system ended the program is kept in the settings
// and shown at the next start.
void HoldMessagesForNextStart(SettingsBackend& settings, const std::vector<std::string>& messages);
std::vector<std::string> TakeMessagesOfTheLastEnd(SettingsBackend& settings);
