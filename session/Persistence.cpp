#include "session/Persistence.h"

#include "options/CountFormatter.h"
#include "options/Settings.h"
#include "platform/Clock.h"
#include "platform/Paths.h"
#include "platform/Prompter.h"
#include "platform/SettingsBackend.h"
#include "store/DataFile.h"
#include "store/FileIO.h"
#include "store/LinkStore.h"
#include "store/Utf.h"
#include "platform/Translate.h"

namespace {

#ifdef _WIN32
const char kSeparator = '\\';
const char* const kFallbackFolder = "C:\\My Documents\\";
#else
const char kSeparator = '/';
const char* const kFallbackFolder = "";  // the working folder
#endif

// Keeps the reader's messages of a trial read, to be shown only if it fails.
class HeldMessages : public Prompter {
public:
    Answer Show(const std::string& text, Icon, Buttons, bool) override
    {
        texts.push_back(text);
        return Answer::Ok;
    }
    std::vector<std::string> texts;
};

}  // namespace

CDataFilePersistence::CDataFilePersistence(LinkStore& store, CSettings& settings, Prompter& prompter, Clock& clock,
                                           PersistenceHost& host)
    : m_store(store), m_settings(settings), m_prompter(prompter), m_clock(clock), m_host(host)
{
}

std::string DefaultDataFolderOf(Paths& paths)
{
    std::string folder = paths.DocumentsFolder();
    if (folder.empty())
        folder = kFallbackFolder;
    else if (folder.back() != kSeparator && folder.back() != '/')
        folder += kSeparator;
    return folder;
}

void CDataFilePersistence::SettlePaths(Paths& paths)
{
    m_defaultFolder = DefaultDataFolderOf(paths);
    m_dataPath = ConfiguredDataPath(m_settings, m_defaultFolder);
    m_stateFolder = paths.StateFolder();
}

void CDataFilePersistence::SetDataPath(const std::string& path)
{
    auto lock = m_store.Lock();
    if (path == m_dataPath) return;
    m_dataPath = path;
    AcceptDiskVersion();
}

bool CDataFilePersistence::DataFileChangedOnDisk(DiskStamp* now)
{
    auto lock = m_store.Lock();
    const DiskStamp stamp = StampOf(m_dataPath);
    if (now) *now = stamp;
    if (!m_diskKnown || stamp.kind == DiskStamp::Kind::Missing) return false;
    if (!stamp.SameContent(m_diskStamp)) return true;
    m_diskStamp = stamp;
    return false;
}

void CDataFilePersistence::AcceptDiskVersion()
{
    auto lock = m_store.Lock();
    m_diskStamp = StampOf(m_dataPath);
    m_diskKnown = true;
}

std::string CDataFilePersistence::KeepDiskVersionAside()
{
    auto lock = m_store.Lock();
    const std::string aside = FreeNameWithTag(m_dataPath, "other version");
    WritePolicy policy;
    policy.stateFolder = m_stateFolder;
    policy.sync = m_sync;
    return CopyFileGuarded(m_dataPath, aside, policy).Ok() ? aside : std::string();
}

void CDataFilePersistence::ConfirmReplacing(const std::string& path)
{
    auto lock = m_store.Lock();
    m_confirmedPath = path;
}

void CDataFilePersistence::ForgetKnownFile()
{
    auto lock = m_store.Lock();
    m_knownPath.clear();
    m_confirmedPath.clear();
}

bool CDataFilePersistence::HoldsLinksOf(const std::string& path) const
{
    auto lock = m_store.Lock();
    return !m_knownPath.empty() && (m_knownPath == path || SameFile(m_knownPath, path));
}

void CDataFilePersistence::BackupDataFile()
{
    LocalTime written;
    if (!FileExists(m_dataPath) || !FileLastWriteLocal(m_dataPath, written)) return;
    LocalTime today = m_clock.Now();
    bool sameDay = written.year == today.year && written.month == today.month && written.day == today.day;
    if (sameDay && FileExists(BackupPath())) return;
    // Only a file that reads whole becomes the backup: the one already there may be the
    // last good copy. The backup is the program's own and replaced by design; a failed
    // copy is not reported.
    WritePolicy policy;
    policy.replaceConfirmed = true;
    policy.stateFolder = m_stateFolder;
    policy.sync = m_sync;
    CopyWholeDataFile(m_dataPath, BackupPath(), policy);
}

WritePolicy CDataFilePersistence::PolicyFor(const std::string& target) const
{
    WritePolicy policy;
    policy.dataFile = true;
    policy.stateFolder = m_stateFolder;
    policy.sync = m_sync;
    policy.replaceConfirmed = !m_confirmedPath.empty() && target == m_confirmedPath;
    if (HoldsLinksOf(target))
        policy.target = m_known == Known::Whole ? TargetRead::Whole
                        : m_known == Known::Damaged ? TargetRead::Damaged
                                                    : TargetRead::Unreadable;
    return policy;
}

bool CDataFilePersistence::SaveDataFile(const std::string* path, bool offerOptions, bool mayAsk)
{
    std::string target, notice;
    WriteResult result;
    {
        auto lock = m_store.Lock();
        target = path ? *path : m_dataPath;
        const bool dataFile = target == m_dataPath;
        // An empty list is saved only when the person emptied it; otherwise there is
        // nothing to save, and a file is never emptied by it.
        if (m_store.Count() == 0 && !(dataFile && m_store.IsChanged())) {
            if (path)
                m_prompter.Error(FormatPathMessage(Tr("Session", "Could not save annotated links into \"%.259s\".  There are no "
                                                   "links to save."),
                                                   target));
            return false;
        }
        // Never over a version that another program wrote (a sync tool, another machine)
        // without the user's word. After the user chose to load that version, nothing is
        // left to save.
        if (dataFile && DataFileChangedOnDisk() && !m_host.DataFileChangedOnDisk(mayAsk))
            return mayAsk && !m_store.IsChanged();
        BackupDataFile();
        // A fresh account may not have its documents folder yet; no other folder is made.
        if (const std::string folder = ParentFolder(target);
            !folder.empty() && (folder + kSeparator == m_defaultFolder || folder + '/' == m_defaultFolder))
            MakeFolders(folder);
        WritePolicy policy = PolicyFor(target);
        // The replace happens only over the version this window knows (or, where it knew
        // no file, only while there is none).
        if (dataFile && m_diskKnown && m_diskStamp.kind != DiskStamp::Kind::Other) policy.expected = m_diskStamp;
        DiskStamp written;
        const auto produce = [&](ByteSink& sink) {
            // Hashed as it is written: the version this window knows, with no reading back.
            HashingSink hashing(sink);
            if (!WriteDataFile(m_store, hashing)) return false;
            written = hashing.Stamp(target);
            return true;
        };
        result = GuardedWrite(target, policy, produce);
        if (result.outcome == WriteResult::Outcome::Changed) {
            // Another program wrote between the check above and the replace: settled as
            // that check settles it, then tried once more over the version now accepted.
            if (!m_host.DataFileChangedOnDisk(mayAsk)) return mayAsk && !m_store.IsChanged();
            policy.expected.reset();
            if (m_diskKnown && m_diskStamp.kind != DiskStamp::Kind::Other) policy.expected = m_diskStamp;
            result = GuardedWrite(target, policy, produce);
        }
        if (result.outcome == WriteResult::Outcome::NeedsAnswer) {
            // A file this window never loaded, with links in it: only on the person's word. A
            // timed save on a worker leaves it for a save on the window thread to ask.
            if (!mayAsk) return false;
            if (m_prompter.Show(ReplaceQuestion(target, CCountFormatter(m_settings).Format(int32_t(result.links)), result.links),
                                Prompter::Icon::Question, Prompter::Buttons::YesNo, false) != Prompter::Answer::Yes)
                return false;
            policy.replaceConfirmed = true;
            result = GuardedWrite(target, policy, produce);
        }
        if (result.Ok()) {
            if (!result.damagedCopy.empty())
                notice = FormatPathMessage(Tr("Session", "Part of the data file could not be read.  The whole file as it was is "
                                           "kept in \"%.259s\"."),
                                           result.damagedCopy);
            if (dataFile) {
                // Only the data file itself holds the links safe: a copy elsewhere does not.
                m_store.ResetPresses();
                m_store.SetChanged(false);
                m_knownPath = target;
                m_known = Known::Whole;
                m_diskStamp = written;
                m_diskStamp.modified = FileLastWriteSeconds(target);
                m_diskKnown = true;
            }
            // A backup copy killed half way leaves its temporary file too.
            RemoveStaleTemps(BackupPath());
        }
    }
    // Reported after the lock is released: a timed save on a worker waits for the
    // window thread here, and the window thread may be waiting for the lock.
    if (!notice.empty()) m_prompter.Notice(notice);
    if (result.Ok()) return true;
    m_prompter.Error(WriteFailureMessage(Tr("Session", "Could not save annotated links into \"%.259s\"."), target, result));
    if (!path && offerOptions) m_host.OpenSavingOptions();
    return false;
}

bool CDataFilePersistence::WritePersonFile(const std::string& target, const std::string& failureFormat,
                                           const std::function<bool(ByteSink&)>& produce)
{
    WritePolicy policy;
    policy.stateFolder = m_stateFolder;
    policy.sync = m_sync;
    policy.mayStream = true;
    policy.inputs = {m_dataPath};
    WriteResult result = GuardedWrite(target, policy, produce);
    if (result.outcome == WriteResult::Outcome::NeedsAnswer) {
        if (m_prompter.Show(ReplaceQuestion(target, CCountFormatter(m_settings).Format(int32_t(result.links)), result.links),
                            Prompter::Icon::Question, Prompter::Buttons::YesNo, false) != Prompter::Answer::Yes)
            return false;
        policy.replaceConfirmed = true;
        result = GuardedWrite(target, policy, produce);
    }
    if (result.Ok()) return true;
    m_prompter.Error(WriteFailureMessage(failureFormat, target, result));
    return false;
}

void CDataFilePersistence::Recover(const std::string& target)
{
    const std::string message = RecoverInterruptedWrite(target, m_stateFolder);
    if (!message.empty()) m_prompter.Notice(message);
}

bool CDataFilePersistence::CheckWholeFile(const std::string& target)
{
    const std::string readError = Tr("Session", "Could not read annotated links from \"%.259s\".");
    if (!FileExists(target)) {
        m_prompter.Error(FormatPathMessage(PathExists(target) ? readError : Tr("Session", "Could not find data file \"%.259s\"."), target));
        return false;
    }
    FileSource source;
    LinkStore scratch;
    ReadResult result;
    result.status = ReadStatus::ReadError;
    if (source.Open(target)) result = ScanDataFile(scratch, source, [](CReadRecord&) {});
    if (result.status == ReadStatus::Ok && !source.Failed()) return true;
    if (const char* refused = RefusalMessage(result)) m_prompter.Error(Tr("Store", refused));
    if (source.Failed())
        m_prompter.Error(FormatPathMessage(readError, target));
    else if (result.status == ReadStatus::ReadError)
        m_prompter.Error(ReadFailureMessage(target, result));
    return false;
}

bool CDataFilePersistence::LoadDataFile(const std::string* path, bool append)
{
    auto lock = m_store.Lock();
    const std::string target = path ? *path : m_dataPath;
    // A save of it that was cut off in the middle is put right before anything is read.
    Recover(target);
    // The links of the data file in use are already here: appending it would double them.
    if (append && HoldsLinksOf(target)) {
        m_prompter.Error(FormatPathMessage(Tr("Session", "Could not append \"%.259s\".  It is the data file in use: its links are "
                                           "already in the list."),
                                           target));
        return false;
    }
    // A file the user names is read through once first: one that cannot be read whole
    // leaves the window's links as they are instead of half replacing them.
    if (path && !CheckWholeFile(*path)) return false;
    if (!append) m_host.ResetStore();
    if (!append) {
        m_knownPath = target;
        m_known = Known::Whole;
    }
    if (!FileExists(target)) {
        // Known also when there is no file yet: one that appears later is a change.
        if (!append && target == m_dataPath) AcceptDiskVersion();
        if (path) m_prompter.Error(FormatPathMessage(Tr("Session", "Could not find data file \"%.259s\"."), target));
        return false;
    }
    m_host.BeginListUpdate();
    if (m_store.Count() == 0) m_host.EmptyCategoryField();
    const int before = m_store.Count();
    ReadStatus status = ReadStatus::ReadError;
    ReadResult read;
    FileSource source;
    // Hashed as it is read: the version this window knows, with no second reading.
    HashingSource hashing(source);
    const bool opened = source.Open(target);
    if (opened) {
        read = ReadDataFile(m_store, hashing);
        if (const char* refused = RefusalMessage(read)) m_prompter.Error(Tr("Store", refused));
        status = read.status;
        if (source.Failed()) status = ReadStatus::ReadError;
    }
    if (!append && target == m_dataPath) {
        m_diskStamp = opened ? hashing.Finish(target) : StampOf(target);
        m_diskKnown = true;
    }
    try {
        m_store.ConvertLegacyText(before);
    } catch (const std::bad_alloc&) {
        m_prompter.Error(Tr("Store", kOutOfMemoryMessage));
        if (status == ReadStatus::Ok) status = ReadStatus::OutOfMemory;
    }
    // A file that was not read whole must not be replaced by what was read of it. A
    // damaged one may be, once it is copied aside; one that could not be opened, or
    // of a newer version, or too large for memory, may not be replaced at all.
    if (!append && status != ReadStatus::Ok)
        m_known = opened && status == ReadStatus::ReadError ? Known::Damaged : Known::Unread;
    const bool ok = status != ReadStatus::ReadError;
    // Appended links are not in the data file yet: they must be saved like typed ones.
    // After a whole load the window holds what is on disk, and nothing is left to save.
    if (append && m_store.Count() > before) m_store.SetChanged();
    if (!append && status == ReadStatus::Ok) m_store.SetChanged(false);
    if (ok) {
        m_store.ResetPresses();
    } else {
        m_prompter.Error(opened && !source.Failed() ? ReadFailureMessage(target, read)
                                                     : FormatPathMessage(Tr("Session", "Could not read annotated links from \"%.259s\"."), target));
        if (!path) m_host.OpenSavingOptions();
    }
    m_host.EndListUpdate();
    m_host.LoadFinished();
    return ok;
}

void CDataFilePersistence::StoredRecord() { StoredRecords(1); }

void CDataFilePersistence::StoredRecords(int count)
{
    if (count <= 0) return;
    auto lock = m_store.Lock();
    if (m_settings.saveOnPresses && m_store.AddPresses(count) >= m_settings.saveLimit) {
        // A save that fails leaves the record unsaved: mark it so that it is not lost.
        if (!SaveDataFile()) m_store.SetChanged();
        return;
    }
    m_store.SetChanged();
}

int CSaveJob::Run()
{
    SetFinished(false);
    if (m_owner) m_owner->SaveDataFile(nullptr, true, false);
    SetFinished(true);
    return 0;
}

void CDataFilePersistence::KeepUnsavedLinksAtEnd()
{
    auto lock = m_store.Lock();
    if (!m_store.IsChanged() || !m_keptAtEnd.empty()) return;
    std::vector<std::string> places = {FreeNameWithTag(m_dataPath, "unsaved")};
    if (!m_stateFolder.empty())
        places.push_back(FreeNameWithTag(m_stateFolder + "/" + Utf8Path(m_dataPath).filename().string(), "unsaved"));
    for (const std::string& place : places) {
        if (!SaveDataFile(&place, false, false)) continue;
        m_keptAtEnd = place;
        m_prompter.Notice(FormatPathMessage(Tr("Session", "When the system last ended Norvelle, links that could not be saved into "
                                            "the data file were saved in \"%.259s\".  Append on the Saving page of "
                                            "Options brings them in."),
                                            place));
        return;
    }
}

void HoldMessagesForNextStart(SettingsBackend& settings, const std::vector<std::string>& messages)
{
    std::string held = settings.ReadString("Settings", "Notices at Next Start", "");
    // Kept as one text; a line holding only a form feed parts one message from the next.
    for (const std::string& text : messages) held += (held.empty() ? "" : "\n\f\n") + text;
    settings.WriteString("Settings", "Notices at Next Start", held);
}

std::vector<std::string> TakeMessagesOfTheLastEnd(SettingsBackend& settings)
{
    const std::string held = settings.ReadString("Settings", "Notices at Next Start", "");
    std::vector<std::string> messages;
    if (held.empty()) return messages;
    settings.WriteString("Settings", "Notices at Next Start", "");
    for (size_t start = 0;;) {
        const size_t end = held.find("\n\f\n", start);
        messages.push_back(held.substr(start, end == std::string::npos ? std::string::npos : end - start));
        if (end == std::string::npos) break;
        start = end + 3;
    }
    return messages;
}
