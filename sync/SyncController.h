#pragma once
#include <QObject>
#include <QString>
#include <QTimer>
#include <string>
#include <vector>

#include "store/DiskStamp.h"

class CDataFilePersistence;
class CDataFileWatcher;
class LinkStore;
class Prompter;
class SettingsBackend;

// What following the data file on disk needs of the main window.
class SyncHost {
public:
    virtual ~SyncHost() = default;
    // The program is ending: nothing more is followed.
    virtual bool Ending() = 0;
    // A search or another dialog is under way: a look at the disk waits.
    virtual bool Occupied() = 0;
    virtual bool FormEdited() = 0;
    // Stores the form's edit when the settings say that leaving it does.
    virtual void StoreFormEdit() = 0;
    virtual void ForgetFormEdit() = 0;
    virtual void KeepUnsavedLinksAtEnd() = 0;
    // The view across a reload: the selected rows, the row shown in the form (or -1) and
    // the Search box's text; RestoreView gives them back after the load.
    virtual std::vector<int> SelectedRows() = 0;
    virtual int ShownRow() = 0;
    virtual QString SearchBoxText() = 0;
    virtual void RestoreView(const std::vector<int>& selected, int shown, const QString& search) = 0;
    virtual void ShowStatus(const QString& text) = 0;
    // The data file in effect changed (Options, a switch): the window says so.
    virtual void DataFileInEffect(const std::string& path) = 0;
};

// The main window's side of a data file that other programs change: a sync tool bringing
// another machine's version, or leaving a conflict copy beside it.
class CSyncController : public QObject {
    Q_OBJECT
public:
    CSyncController(SyncHost& host, LinkStore& store, CDataFilePersistence& persistence, Prompter& prompter,
                    SettingsBackend& backend, QObject* parent);

    // After each load and each change of the data file: watch it, look for conflict copies.
    void FollowDataFile();
    // The data file on disk, changed by other programs: looks whether it changed, reloads
    // it when nothing is unsaved here and asks otherwise.
    void CheckDiskVersion();
    // A save found the file changed on disk: true when this window's version is to
    // replace it (a worker's save asks once the window is free again).
    bool DataFileChangedOnDisk(bool mayAsk);
    // Looks for the conflict copies that sync tools leave beside the data file.
    void CheckConflictCopies();

private:
    // The three-way question about a data file changed on disk; true when this window's
    // version is to replace it.
    bool SettleDiskChange();
    // Loads the data file again, keeping the selection, the record in the form and the
    // search as far as the records are still there.
    void ReloadKeepingView();

    SyncHost& m_host;
    LinkStore& m_store;
    CDataFilePersistence& m_persistence;
    Prompter& m_prompter;
    SettingsBackend& m_backend;
    CDataFileWatcher* m_watcher;
    QTimer m_diskRecheck;  // a look at the disk put off while a dialog is open
    DiskStamp m_lastDiskChange;  // the last version reported, so that it is reported once
    bool m_settlingDisk = false;
    std::string m_followedPath;  // the data file watched (and held) now
};
