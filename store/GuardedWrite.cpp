#include "store/GuardedWrite.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>

#include <fcntl.h>
#include <sys/stat.h>
#ifndef _WIN32
#include <unistd.h>
#endif

#include "store/DataFile.h"
#include "store/FileIO.h"
#include "store/LinkDate.h"
#include "store/LinkStore.h"
#include "store/Utf.h"
#include "store/WriterTurn.h"
#include "platform/Translate.h"

namespace fs = std::filesystem;

namespace {

fs::path PathOf(const std::string& utf8) { return fs::path(std::u8string(utf8.begin(), utf8.end())); }

// A sentence for the person about a system error.
std::string ErrorSentence(int error)
{
    switch (error) {
    case ENOSPC:
#ifdef EDQUOT
    case EDQUOT:
#endif
        return Tr("Store", "The disk is full.");
    case EACCES:
    case EPERM: return Tr("Store", "Permission to write there is denied.");
    case EROFS: return Tr("Store", "The disk is read-only.");
    case ENOENT: return Tr("Store", "The folder does not exist.");
    case EISDIR: return Tr("Store", "It is a folder.");
    case 0: return "";
    default: {
        std::string text = std::strerror(error);
        return text.empty() ? "" : text + ".";
    }
    }
}

WriteResult Outcome(WriteResult::Outcome outcome, std::string reason = {})
{
    WriteResult result;
    result.outcome = outcome;
    result.reason = std::move(reason);
    return result;
}

// Writes into an open descriptor that is not ours to replace: a device, a fifo, standard output.
class StreamSink : public ByteSink {
public:
    StreamSink(int fd, std::string path) : m_fd(fd), m_path(std::move(path)) {}
    bool Write(const void* data, size_t size) override
    {
        if (m_error) return false;
        m_error = WriteFully(m_fd, m_path, m_offset, data, size);
        m_offset += size;
        return m_error == 0;
    }
    int m_fd;
    std::string m_path;
    uint64_t m_offset = 0;
    int m_error = 0;
};

#ifndef _WIN32
// The descriptor that a name of standard output or of an open descriptor stands for
// ("/dev/stdout", "/dev/fd/3", "/proc/self/fd/1"), or -1: written through that
// descriptor, so that "> file" and ">> file" mean what the shell made of them.
int OpenDescriptorOf(const std::string& path)
{
    if (path == "/dev/stdout") return 1;
    if (path == "/dev/stderr") return 2;
    for (const char* prefix : {"/dev/fd/", "/proc/self/fd/"}) {
        const size_t n = std::strlen(prefix);
        if (path.compare(0, n, prefix) == 0 && path.size() > n &&
            path.find_first_not_of("0123456789", n) == std::string::npos)
            return std::atoi(path.c_str() + n);
    }
    return -1;
}
#endif

enum class Kind { Missing, File, Folder, Stream, Other };

Kind KindOf(const std::string& path)
{
    struct stat st;
#ifdef _WIN32
    struct _stat64 wst;
    if (_wstat64(PathOf(path).c_str(), &wst) != 0) return PathExists(path) ? Kind::Other : Kind::Missing;
    st.st_mode = wst.st_mode;
#else
    if (::stat(path.c_str(), &st) != 0) return errno == ENOENT || errno == ENOTDIR ? Kind::Missing : Kind::Other;
#endif
    if (S_ISREG(st.st_mode)) return Kind::File;
    if (S_ISDIR(st.st_mode)) return Kind::Folder;
#ifndef _WIN32
    if (S_ISCHR(st.st_mode) || S_ISFIFO(st.st_mode) || S_ISSOCK(st.st_mode)) return Kind::Stream;
#endif
    return Kind::Other;
}

WriteResult WriteStream(int fd, const std::string& path, const std::function<bool(ByteSink&)>& produce)
{
    StreamSink sink(fd, path);
    const bool produced = produce(sink);
    WriteResult result = Outcome(produced && !sink.m_error ? WriteResult::Outcome::Written : WriteResult::Outcome::Failed,
                                 ErrorSentence(sink.m_error));
    result.streamed = true;
    return result;
}

std::string RecoveryKey(const std::string& target)
{
    uint64_t hash = 14695981039346656037ull;
    for (unsigned char c : target) hash = (hash ^ c) * 1099511628211ull;
    char text[24];
    std::snprintf(text, sizeof text, "%016llx", (unsigned long long)hash);
    return text;
}

struct RecoveryFiles {
    std::string copy, marker, restoring;
};

RecoveryFiles RecoveryFilesOf(const std::string& target, const std::string& stateFolder)
{
    const std::string folder = (stateFolder.empty() ? UserStateFolder() : stateFolder);
    if (folder.empty()) return {};
    const std::string base = (PathOf(folder) / "recovery" / RecoveryKey(target)).string();
    return {base + ".dat", base + ".target", base + ".restore"};
}

void RemoveFile(const std::string& path)
{
    std::error_code ec;
    fs::remove(PathOf(path), ec);
}

bool WriteSmallFile(const std::string& path, const std::string& text, bool sync)
{
    AtomicFileWriter writer(sync);
    return writer.Open(path) && writer.Write(text.data(), text.size()) && writer.Commit();
}

std::string ReadSmallFile(const std::string& path)
{
    std::ifstream in(PathOf(path), std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

// In a folder that lets no file be created: the new content goes whole and synced into a
// recovery copy in the user's own folder, then over the old bytes, and the copy goes
// once those are synced. A crash in between leaves the copy for the next load.
WriteResult WriteInPlace(const std::string& target, const WritePolicy& policy,
                         const std::function<bool(ByteSink&)>& produce)
{
    const RecoveryFiles files = RecoveryFilesOf(target, policy.stateFolder);
    if (files.copy.empty() || !MakeFolders(ParentFolder(files.copy)))
        return Outcome(WriteResult::Outcome::Failed,
                       Tr("Store", "No new file can be made in its folder, and there is no folder of Norvelle's own "
                                   "for a safe copy."));
    AtomicFileWriter copy(policy.sync);
    const bool copied = copy.Open(files.copy) && produce(copy) && copy.Commit();
    if (!copied) {
        const int error = copy.Error();
        copy.Cancel();
        return Outcome(WriteResult::Outcome::Failed, error ? ErrorSentence(error) : "");
    }
    if (!WriteSmallFile(files.marker, target + "\n", policy.sync)) {
        RemoveFile(files.copy);
        return Outcome(WriteResult::Outcome::Failed, ErrorSentence(errno));
    }
    bool touched = false;
    const int error = OverwriteInPlace(target, files.copy, policy.sync, touched);
    if (error && touched) {
        // The old bytes are partly overwritten: the copy stays, and the next load restores it.
        return Outcome(WriteResult::Outcome::Failed,
                       ErrorSentence(error) + FormatPathMessage("  The links are kept in \"%.259s\".", files.copy));
    }
    RemoveFile(files.marker);
    RemoveFile(files.copy);
    if (error) return Outcome(WriteResult::Outcome::Failed, ErrorSentence(error));
    WriteResult result = Outcome(WriteResult::Outcome::Written);
    result.inPlace = true;
    return result;
}

bool SameBytes(const std::string& a, const std::string& b)
{
    FileSource x, y;
    if (!x.Open(a) || !y.Open(b) || x.Remaining() != y.Remaining()) return false;
    char bx[1 << 16], by[1 << 16];
    for (;;) {
        const size_t n = x.Read(bx, sizeof bx);
        if (n == 0) return !x.Failed() && y.Read(by, 1) == 0 && !y.Failed();
        if (y.Read(by, n) != n || std::memcmp(bx, by, n) != 0) return false;
    }
}

// Reads from a source and hands every byte read on to a sink as well.
class TeeSource : public ByteSource {
public:
    TeeSource(ByteSource& inner, ByteSink& copy) : m_inner(inner), m_copy(copy) {}
    size_t Read(void* data, size_t size) override
    {
        const size_t n = m_inner.Read(data, size);
        if (n && !m_copy.Write(data, n)) m_failed = true;
        return n;
    }
    uint64_t Remaining() const override { return m_inner.Remaining(); }
    bool Failed() const override { return m_failed || m_inner.Failed(); }

private:
    ByteSource& m_inner;
    ByteSink& m_copy;
    bool m_failed = false;
};

const char* const kNotWhole = TrNoop("Store", "It could not be read whole.");

}  // namespace

std::string OtherVersionSentence(const std::string& path)
{
    const int64_t links = LinksInDataFile(path);
    // Its time as the list shows dates, from the one place that formats them.
    LocalTime written;
    const std::string at = FileLastWriteLocal(path, written) ? FormatLinkDate(LinkDateFromLocal(written), DateStyle::List) : "";
    const std::string count = std::to_string(links);
    if (links > 0 && !at.empty())
        return Fill(links == 1 ? Tr("Store", "Another program wrote another version of it after it was read, which holds "
                                             "%1 link and was written at %2.  Nothing was written over it.")
                               : Tr("Store", "Another program wrote another version of it after it was read, which holds "
                                             "%1 links and was written at %2.  Nothing was written over it."),
                    {count, at});
    if (links > 0)
        return Fill(links == 1 ? Tr("Store", "Another program wrote another version of it after it was read, which holds "
                                             "%1 link.  Nothing was written over it.")
                               : Tr("Store", "Another program wrote another version of it after it was read, which holds "
                                             "%1 links.  Nothing was written over it."),
                    {count});
    if (!at.empty())
        return Fill(Tr("Store", "Another program wrote another version of it after it was read, written at %1.  Nothing "
                                "was written over it."),
                    {at});
    return Tr("Store", "Another program wrote another version of it after it was read.  Nothing was written over it.");
}

std::string FormatPathMessage(const std::string& format, const std::string& path)
{
    // Cut by characters, not bytes, so that a path is never split inside a character.
    std::string out = format;
    const std::string placeholder = "%.259s";
    size_t at = out.find(placeholder);
    if (at != std::string::npos) out.replace(at, placeholder.size(), FirstCharacters(path, 259));
    return out;
}

std::string UserStateFolder()
{
#ifdef _WIN32
    const char* local = std::getenv("LOCALAPPDATA");
    return local && *local ? std::string(local) + "\\Norvelle" : std::string();
#else
    const char* home = std::getenv("HOME");
#ifdef __APPLE__
    return home && *home ? std::string(home) + "/Library/Application Support/Norvelle" : std::string();
#else
    const char* state = std::getenv("XDG_STATE_HOME");
    if (state && state[0] == '/') return std::string(state) + "/norvelle";
    return home && *home ? std::string(home) + "/.local/state/norvelle" : std::string();
#endif
#endif
}

bool SameFile(const std::string& a, const std::string& b)
{
    std::error_code ec;
    return fs::equivalent(PathOf(a), PathOf(b), ec) && !ec;
}

int64_t LinksInDataFile(const std::string& path)
{
    FileSource source;
    if (KindOf(path) != Kind::File || !source.Open(path)) return 0;
    unsigned char head[4];
    if (source.Read(head, 4) != 4) return 0;
    const int32_t version = int32_t(uint32_t(head[0]) | uint32_t(head[1]) << 8 | uint32_t(head[2]) << 16 |
                                    uint32_t(head[3]) << 24);
    // Only the versions ever written make a data file; a later program's is counted as
    // holding links, their number unknown.
    if (version > 2 && version < 100) return -1;
    if (version != 1 && version != 2) return 0;
    FileSource again;
    if (!again.Open(path)) return 0;
    LinkStore scratch;
    int64_t links = 0;
    (void)ScanDataFile(scratch, again, [&links](CReadRecord&) { ++links; });
    return links;
}

bool IsDataFileOrEmpty(const std::string& path)
{
    FileSource source;
    if (!source.Open(path)) return false;
    if (source.Remaining() == 0) return true;
    unsigned char head[4];
    if (source.Read(head, 4) != 4) return false;
    return (head[0] == 1 || head[0] == 2) && head[1] == 0 && head[2] == 0 && head[3] == 0;
}

std::string ReplaceQuestion(const std::string& path, const std::string& countText, int64_t links)
{
    if (links == 0) return FormatPathMessage("\"%.259s\" is not a data file of Norvelle.  Replace it?", path);
    if (links < 0)
        return FormatPathMessage("\"%.259s\" holds links of a newer version of Norvelle.  Replace it?", path);
    return FormatPathMessage("\"%.259s\" already holds ", path) + countText + (links == 1 ? " link" : " links") +
           " that this window did not load.  Replace " + (links == 1 ? "it" : "them") + "?";
}

std::string WriteFailureMessage(const std::string& format, const std::string& path, const WriteResult& result)
{
    std::string text = FormatPathMessage(format, path);
    if (!result.reason.empty()) text += "  " + result.reason;
    return text;
}

WriteResult GuardedWrite(const std::string& path, const WritePolicy& policy, const std::function<bool(ByteSink&)>& produce)
{
#ifndef _WIN32
    if (policy.mayStream) {
        const int fd = OpenDescriptorOf(path);
        if (fd >= 0) {
            for (const std::string& input : policy.inputs)
                if (SameFile(input, path)) return Outcome(WriteResult::Outcome::Refused, Tr("Store", "It is the file being read."));
            return WriteStream(fd, path, produce);
        }
    }
#endif
    const std::string target = WriteTargetOf(path);
    for (const std::string& input : policy.inputs)
        if (SameFile(input, target)) return Outcome(WriteResult::Outcome::Refused, Tr("Store", "It is the file being read."));
    const Kind kind = KindOf(target);
    if (kind == Kind::Folder) return Outcome(WriteResult::Outcome::Refused, Tr("Store", "It is a folder."));
    if (kind == Kind::Other) return Outcome(WriteResult::Outcome::Refused, Tr("Store", "It is not a file that can be written."));
    if (kind == Kind::Stream) {
#ifndef _WIN32
        if (policy.mayStream) {
            const int fd = ::open(target.c_str(), O_WRONLY | O_CLOEXEC | O_NOCTTY);
            if (fd < 0) return Outcome(WriteResult::Outcome::Failed, ErrorSentence(errno));
            WriteResult result = WriteStream(fd, target, produce);
            ::close(fd);
            return result;
        }
#endif
        return Outcome(WriteResult::Outcome::Refused, Tr("Store", "It is a device, not a file."));
    }
    // Data files have writers that take turns; other files (an export, a backup) have one.
    WriterTurn turn;
    if ((policy.dataFile || policy.expected) && !turn.Take(target))
        return Outcome(WriteResult::Outcome::Failed, turn.Reason());
    // Looked at again now that the turn is held: another writer may have finished meanwhile.
    // Its size tells most versions apart at no cost; the content is compared at the replace.
    if (policy.expected && KindOf(target) == Kind::File) {
        std::error_code ec;
        if (fs::file_size(PathOf(target), ec) != policy.expected->size || ec)
            return Outcome(WriteResult::Outcome::Changed, OtherVersionSentence(target));
    }
    std::string damagedCopy;
    if (kind == Kind::File) {
        if (policy.target == TargetRead::Unreadable)
            return Outcome(WriteResult::Outcome::Refused, Tr("Store", "Not all of its links could be read, and those would be lost."));
        // Read-only for everyone is a person's word, which even an administrator's account respects.
        if (!FileIsWritable(target)) return Outcome(WriteResult::Outcome::Refused, Tr("Store", "It is read-only."));
        switch (policy.target) {
        case TargetRead::Unreadable: break;
        case TargetRead::Damaged: {
            // Records that could not be read are still in the file: it is kept whole first.
            damagedCopy = FreeNameBeside(target, ".damaged");
            WritePolicy aside;
            aside.stateFolder = policy.stateFolder;
            aside.sync = policy.sync;
            if (!CopyFileGuarded(target, damagedCopy, aside).Ok())
                return Outcome(WriteResult::Outcome::Refused,
                               Tr("Store", "Part of it could not be read, and no copy of it as it is could be made."));
            break;
        }
        case TargetRead::NotRead:
            if (!policy.replaceConfirmed) {
                const int64_t links = LinksInDataFile(target);
                if (links != 0) {
                    WriteResult result = Outcome(WriteResult::Outcome::NeedsAnswer, Tr("Store", "It holds links that were not loaded."));
                    result.links = links;
                    return result;
                }
                if (policy.dataFile && !IsDataFileOrEmpty(target))
                    return Outcome(WriteResult::Outcome::NeedsAnswer, Tr("Store", "It is not a data file of Norvelle."));
            }
            break;
        case TargetRead::Whole: break;
        }
    }
    AtomicFileWriter writer(policy.sync);
    WriteResult result;
    if (policy.expected) writer.ReplaceOnly(&*policy.expected);
    if (writer.Open(target)) {
        const bool produced = produce(writer);
        const bool committed = produced && writer.Commit();
        result = Outcome(committed ? WriteResult::Outcome::Written : WriteResult::Outcome::Failed,
                         ErrorSentence(writer.Error()));
        if (writer.Changed()) result = Outcome(WriteResult::Outcome::Changed, OtherVersionSentence(target));
    } else if ((writer.Error() == EACCES || writer.Error() == EPERM) && kind == Kind::File) {
        // Only a folder that lets no file be created makes the file be written in place; there
        // no swap can check what is replaced, so its content is compared first.
        result = policy.expected && !StampOf(target).SameContent(*policy.expected)
                     ? Outcome(WriteResult::Outcome::Changed, OtherVersionSentence(target))
                     : WriteInPlace(target, policy, produce);
    } else {
        result = Outcome(WriteResult::Outcome::Failed, ErrorSentence(writer.Error()));
    }
    result.damagedCopy = damagedCopy;
    return result;
}

WriteResult CopyFileGuarded(const std::string& from, const std::string& to, const WritePolicy& policy)
{
    FileSource source;
    if (!source.Open(from)) return Outcome(WriteResult::Outcome::Failed, Tr("Store", "The file to copy could not be opened."));
    WritePolicy copying = policy;
    copying.inputs.push_back(from);
    bool readWhole = true;
    WriteResult result = GuardedWrite(to, copying, [&](ByteSink& sink) {
        char buffer[1 << 16];
        for (;;) {
            const size_t n = source.Read(buffer, sizeof buffer);
            if (n == 0) break;
            if (!sink.Write(buffer, n)) return false;
        }
        readWhole = !source.Failed();
        return readWhole;
    });
    if (!readWhole) result.reason = Tr("Store", kNotWhole);
    return result;
}

WriteResult CopyWholeDataFile(const std::string& from, const std::string& to, const WritePolicy& policy)
{
    FileSource source;
    if (!source.Open(from)) return Outcome(WriteResult::Outcome::Failed, Tr("Store", "The file to copy could not be opened."));
    WritePolicy copying = policy;
    copying.inputs.push_back(from);
    bool readWhole = true;
    WriteResult result = GuardedWrite(to, copying, [&](ByteSink& sink) {
        TeeSource tee(source, sink);
        LinkStore scratch;
        // Checked as a data file while it is copied: a file that ends early is no copy to keep.
        readWhole = ScanDataFile(scratch, tee, [](CReadRecord&) {}).status == ReadStatus::Ok;
        char buffer[1 << 16];
        while (readWhole && tee.Read(buffer, sizeof buffer) > 0) {
        }
        readWhole = readWhole && !tee.Failed();
        return readWhole;
    });
    if (!readWhole) result.reason = Tr("Store", kNotWhole);
    return result;
}

namespace {

// How many copies of interrupted files the program's own folder keeps: a file cut off
// again and again would otherwise fill it with copies whose links were restored.
constexpr size_t kDamagedCopiesKept = 5;

// Removes all but the newest keep of base and its numbered names ("X.damaged",
// "X.damaged-2", ...).
void KeepNewestCopies(const std::string& base, size_t keep)
{
    const fs::path basePath = PathOf(base);
    const std::string name = basePath.filename().string();
    std::vector<std::pair<fs::file_time_type, fs::path>> copies;
    std::error_code ec;
    for (fs::directory_iterator it(basePath.parent_path(), ec), end; !ec && it != end; it.increment(ec)) {
        const std::string entry = it->path().filename().string();
        const bool numbered = entry.size() > name.size() + 1 && entry.compare(0, name.size() + 1, name + "-") == 0 &&
                              entry.find_first_not_of("0123456789", name.size() + 1) == std::string::npos;
        if (entry != name && !numbered) continue;
        std::error_code timeEc;
        copies.emplace_back(fs::last_write_time(it->path(), timeEc), it->path());
    }
    if (copies.size() <= keep) return;
    std::sort(copies.begin(), copies.end(), [](const auto& a, const auto& b) { return a.first > b.first; });
    for (size_t i = keep; i < copies.size(); ++i) RemoveFile(copies[i].second.string());
}

}  // namespace

std::string RecoverInterruptedWrite(const std::string& path, const std::string& stateFolder)
{
    const std::string target = WriteTargetOf(path);
    const RecoveryFiles files = RecoveryFilesOf(target, stateFolder);
    if (files.copy.empty()) return {};
    if (!FileExists(files.marker)) {
        // A copy without its mark was cut off before the file itself was touched.
        RemoveFile(files.copy);
        RemoveFile(files.restoring);
        return {};
    }
    if (ReadSmallFile(files.marker) != target + "\n") return {};  // another file's (hashes met)
    // A restore cut off in its turn left its source under the other name.
    if (!FileExists(files.copy) && FileExists(files.restoring)) {
        std::error_code ec;
        fs::rename(PathOf(files.restoring), PathOf(files.copy), ec);
    }
    if (!FileExists(files.copy) || SameBytes(target, files.copy)) {
        // The write had ended; only its tidying up had not.
        RemoveFile(files.marker);
        RemoveFile(files.copy);
        return {};
    }
    std::string aside;
    bool asideInState = false;
    if (FileExists(target)) {
        // Beside the file, or where its folder lets no file be made, in the program's own.
        aside = FreeNameBeside(target, ".damaged");
        if (!CopyFileGuarded(target, aside, WritePolicy{}).Ok()) {
            const std::string base = (PathOf(ParentFolder(files.copy)) / PathOf(target).filename()).string() + ".damaged";
            aside = FreeNameBeside(base, "");
            asideInState = true;
            if (CopyFileGuarded(target, aside, WritePolicy{}).Ok()) KeepNewestCopies(base, kDamagedCopiesKept);
        }
        if (!FileExists(aside))
            return FormatPathMessage(Tr("Store", "A save of \"%.259s\" was cut off before it ended.  "), target) +
                   FormatPathMessage(Tr("Store", "The links it was saving are in \"%.259s\"."), files.copy);
    }
    // The copy moves aside, so that the restore (which may be in place again) makes its own;
    // the mark stays until the restore is done, so that a crash now is recovered next time.
    std::error_code ec;
    fs::rename(PathOf(files.copy), PathOf(files.restoring), ec);
    WritePolicy restore;
    restore.target = TargetRead::Whole;
    restore.stateFolder = stateFolder;
    if (!CopyFileGuarded(files.restoring, target, restore).Ok()) {
        if (!FileExists(files.copy)) fs::rename(PathOf(files.restoring), PathOf(files.copy), ec);
        WriteSmallFile(files.marker, target + "\n", true);
        return FormatPathMessage(Tr("Store", "A save of \"%.259s\" was cut off before it ended, and it could not be "
                                             "restored.  "),
                                 target) +
               FormatPathMessage(Tr("Store", "The links it was saving are in \"%.259s\"."), files.copy);
    }
    RemoveFile(files.marker);
    RemoveFile(files.restoring);
    std::string text = FormatPathMessage("A save of \"%.259s\" was cut off before it ended.  The links it was saving "
                                         "have been restored.",
                                         target);
    if (!aside.empty()) text += FormatPathMessage("  The file as it was is kept in \"%.259s\".", aside);
    if (asideInState) text += "  (The last " + std::to_string(kDamagedCopiesKept) + " such copies are kept there.)";
    return text;
}
