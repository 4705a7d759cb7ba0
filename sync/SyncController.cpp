#include "sync/SyncController.h"

#include <unordered_map>

#include "platform/Prompter.h"
#include "platform/SettingsBackend.h"
#include "session/Persistence.h"
#include "store/FileIO.h"
#include "store/LinkDate.h"
#include "store/LinkStore.h"
#include "sync/ConflictCopies.h"
#include "sync/DataFileWatcher.h"
#include "common/QtText.h"
#include "platform/Translate.h"

namespace {

// What identifies a record across a reload of the file.
std::string RecordKey(const CAnnotatedLink& r)
{
    return std::string(r.Title()) + '\0' + std::string(r.Link()) + '\0' + std::to_string(r.Added().status) + ':' +
           std::to_string(r.Added().value);
}

std::string ChangeTime(const std::string& path)
{
    LocalTime t;
    if (!FileLastWriteLocal(path, t)) return Tr("Sync", "at an unknown time");
    return Fill(Tr("Sync", "on %1"), {FormatLinkDate(LinkDateFromLocal(t), DateStyle::List)});
}

}  // namespace

CSyncController::CSyncController(SyncHost& host, LinkStore& store, CDataFilePersistence& persistence,
                                 Prompter& prompter, SettingsBackend& backend, QObject* parent)
    : QObject(parent), m_host(host), m_store(store), m_persistence(persistence), m_prompter(prompter),
      m_backend(backend), m_watcher(new CDataFileWatcher(this))
{
    connect(m_watcher, &CDataFileWatcher::changed, this, &CSyncController::CheckDiskVersion);
    m_diskRecheck.setSingleShot(true);
    m_diskRecheck.setInterval(500);
    connect(&m_diskRecheck, &QTimer::timeout, this, &CSyncController::CheckDiskVersion);
}

void CSyncController::FollowDataFile()
{
    if (m_host.Ending()) return;
    const std::string path = m_persistence.DataPath();
    m_watcher->Follow(path);
    if (!m_followedPath.empty() && path != m_followedPath) m_host.DataFileInEffect(path);
    m_followedPath = path;
    CheckConflictCopies();
}

bool CSyncController::DataFileChangedOnDisk(bool mayAsk)
{
    if (m_prompter.Unattended()) {
        // Ending: neither version is replaced, and no one is asked.
        m_host.KeepUnsavedLinksAtEnd();
        return false;
    }
    if (!mayAsk) {
        // A timed save on a worker: the window asks once the worker has let go.
        QMetaObject::invokeMethod(this, [this] {
            m_lastDiskChange = DiskStamp{};
            CheckDiskVersion();
        }, Qt::QueuedConnection);
        return false;
    }
    if (m_settlingDisk) return false;
    m_settlingDisk = true;
    const bool keepMine = SettleDiskChange();
    m_settlingDisk = false;
    return keepMine;
}

void CSyncController::CheckDiskVersion()
{
    if (m_host.Ending() || m_settlingDisk) return;
    // Not in the middle of another question or a search: a little later.
    if (m_host.Occupied()) {
        m_diskRecheck.start();
        return;
    }
    DiskStamp now;
    if (!m_persistence.DataFileChangedOnDisk(&now)) return;
    // A version that could not be loaded is reported once, not at every event.
    if (now.kind == m_lastDiskChange.kind && now.SameContent(m_lastDiskChange)) return;
    m_lastDiskChange = now;
    if (!m_store.IsChanged() && !m_host.FormEdited()) {
        ReloadKeepingView();
        return;
    }
    m_settlingDisk = true;
    SettleDiskChange();
    m_settlingDisk = false;
}

bool CSyncController::SettleDiskChange()
{
    const std::string path = m_persistence.DataPath();
    const std::string text = FormatPathMessage(
        Fill(Tr("Sync", "\"%.259s\", changed %1.\n\nThe data file was changed by another program. Load it and lose "
                        "your changes, keep your version, or save your version under another name?"),
             {ChangeTime(path)}),
        path);
    const int choice = m_prompter.Choose(
        text, {Tr("Sync", "&Load It"), Tr("Sync", "&Keep Mine"), Tr("Sync", "&Save Mine under Another Name")}, 1);
    auto lock = m_store.Lock();
    if (choice == 0) {
        m_host.ForgetFormEdit();
        if (m_persistence.LoadDataFile(&path, false))
            m_host.ShowStatus(QTr("Sync", "Loaded the data file as the other program saved it."));
        return false;
    }
    if (choice == 1) {
        // The window's version is no longer what is on disk: it is unsaved until it is.
        m_store.SetChanged();
        const std::string aside = m_persistence.KeepDiskVersionAside();
        if (aside.empty()) {
            m_prompter.Error(FormatPathMessage(Tr("Sync", "Could not keep a copy of the other version of \"%.259s\".  Your "
                                               "version was not saved."), path));
            return false;
        }
        m_persistence.AcceptDiskVersion();
        m_prompter.Notice(FormatPathMessage(Tr("Sync", "The other version of the data file is kept in \"%.259s\"."), aside));
        return true;
    }
    m_host.StoreFormEdit();
    const std::string mine = FreeNameWithTag(path, "my version");
    if (!m_persistence.SaveDataFile(&mine, false)) return false;
    if (!m_persistence.LoadDataFile(&path, false)) {
        // The other version could not be read whole: the window keeps the person's links,
        // still unsaved, and the next save asks again.
        m_prompter.Notice(FormatPathMessage(Tr("Sync", "Your version is saved in \"%.259s\".  The other version could not be "
                                            "read, so the window still shows your links."),
                                            mine));
        return false;
    }
    m_host.ForgetFormEdit();
    m_prompter.Notice(FormatPathMessage(Tr("Sync", "Your version is saved in \"%.259s\".  The window now shows the data file "
                                        "as the other program saved it; Append on the Saving page of Options brings "
                                        "in your links."), mine));
    return false;
}

void CSyncController::ReloadKeepingView()
{
    auto lock = m_store.Lock();
    const LinkStore& store = m_store;
    std::unordered_map<std::string, int> selected;
    for (int row : m_host.SelectedRows()) ++selected[RecordKey(store.At(row))];
    const int retrieved = m_host.ShownRow();
    const std::string retrievedKey = retrieved >= 0 && retrieved < store.Count() ? RecordKey(store.At(retrieved)) : "";
    const QString search = m_host.SearchBoxText();
    const std::string path = m_persistence.DataPath();
    // A file that cannot be read whole leaves the window as it is (and says why).
    if (!m_persistence.LoadDataFile(&path, false)) return;

    std::vector<int> rows;
    int shown = -1;
    for (int row = 0; row < store.Count(); ++row) {
        const std::string key = RecordKey(store.At(row));
        if (auto found = selected.find(key); found != selected.end() && found->second > 0) {
            --found->second;
            rows.push_back(row);
        }
        if (shown < 0 && !retrievedKey.empty() && key == retrievedKey) shown = row;
    }
    m_host.RestoreView(rows, shown, search);
    m_host.ShowStatus(QTr("Sync", "The data file was changed by another program and has been loaded again."));
}

void CSyncController::CheckConflictCopies()
{
    const std::string key = "Conflict Copies Offered";
    const std::string dataPath = m_persistence.DataPath();
    OfferedConflictCopies offered(m_backend.ReadString("Settings", key, ""));
    for (const ConflictCopy& copy : FindConflictCopies(dataPath)) {
        if (offered.Contains(dataPath, copy)) continue;
        // Remembered before asking, so that the question comes once.
        offered.Add(dataPath, copy);
        m_backend.WriteString("Settings", key, offered.Text());
        const std::string text =
            FormatPathMessage(Fill(Tr("Sync", "A sync tool left a copy of your data file that was changed at the same "
                                              "time as yours: \"%.259s\", changed %1.\n\nAppend its links to yours, "
                                              "so that nothing is lost?"),
                                   {ChangeTime(copy.path)}),
                              copy.path);
        if (m_prompter.Choose(text, {Tr("Sync", "&Append"), Tr("Sync", "&Ignore")}, 0) != 0) continue;
        if (m_persistence.LoadDataFile(&copy.path, true)) {
            m_prompter.Notice(Tr("Sync", "Finished reading from the data file.  Find Duplicates (Ctrl+U) selects the links "
                              "that both files had, ready for Delete."));
        } else {
            // A copy that could not be appended (it ends early, say) is offered again at
            // the next start: its links are not given up for having been asked about once.
            offered.Remove(dataPath, copy);
            m_backend.WriteString("Settings", key, offered.Text());
        }
    }
}
