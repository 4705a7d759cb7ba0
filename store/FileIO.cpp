#include "store/FileIO.h"

#include <atomic>
#include <cerrno>
#include <cstring>
#include <ctime>
#include <filesystem>
#include <random>
#include <system_error>

#include <fcntl.h>
#include <sys/stat.h>
#ifdef _WIN32
#include <io.h>
#include <windows.h>
#else
#include <sys/file.h>
#include <unistd.h>
#endif
#ifdef __linux__
#include <linux/fs.h>
#include <sys/syscall.h>
#endif

#include "store/DiskStamp.h"
#include "store/LinkDate.h"

namespace fs = std::filesystem;

fs::path Utf8Path(const std::string& utf8) { return fs::path(std::u8string(utf8.begin(), utf8.end())); }

namespace {

fs::path PathOf(const std::string& utf8) { return Utf8Path(utf8); }

#ifdef _WIN32
int OpenFd(const std::string& path, int flags, int mode = 0)
{
    return _wopen(PathOf(path).c_str(), flags | _O_BINARY, mode);
}
int WriteFd(int fd, const void* data, unsigned size) { return _write(fd, data, size); }
int SyncFd(int fd) { return _commit(fd); }
int CloseFd(int fd) { return _close(fd); }
bool TruncateFd(int fd, uint64_t size) { return _chsize_s(fd, __int64(size)) == 0; }
// Growing the file reserves its blocks on Windows too; the old bytes stay as they are.
int ReserveFd(int fd, uint64_t oldSize, uint64_t newSize)
{
    return newSize <= oldSize || _chsize_s(fd, __int64(newSize)) == 0 ? 0 : errno;
}
uint64_t SizeOfFd(int fd)
{
    struct _stat64 st;
    return _fstat64(fd, &st) == 0 ? uint64_t(st.st_size) : 0;
}
bool RenameReplacing(const std::string& from, const std::string& to)
{
    return MoveFileExW(PathOf(from).c_str(), PathOf(to).c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH);
}
void SyncFolder(const std::string&) {}
#else
int OpenFd(const std::string& path, int flags, int mode = 0) { return ::open(path.c_str(), flags | O_CLOEXEC, mode); }
ssize_t WriteFd(int fd, const void* data, size_t size) { return ::write(fd, data, size); }
int SyncFd(int fd) { return ::fsync(fd); }
int CloseFd(int fd) { return ::close(fd); }
bool TruncateFd(int fd, uint64_t size) { return ::ftruncate(fd, off_t(size)) == 0; }
int ReserveFd(int fd, uint64_t oldSize, uint64_t newSize)
{
    if (newSize <= oldSize) return 0;
#ifdef __APPLE__
    fstore_t store = {F_ALLOCATEALL, F_PEOFPOSMODE, 0, off_t(newSize - oldSize), 0};
    if (::fcntl(fd, F_PREALLOCATE, &store) == -1) return errno;
    return ::ftruncate(fd, off_t(newSize)) == 0 ? 0 : errno;
#else
    return ::posix_fallocate(fd, off_t(oldSize), off_t(newSize - oldSize));
#endif
}
uint64_t SizeOfFd(int fd)
{
    struct stat st;
    return ::fstat(fd, &st) == 0 ? uint64_t(st.st_size) : 0;
}
bool RenameReplacing(const std::string& from, const std::string& to) { return ::rename(from.c_str(), to.c_str()) == 0; }
void SyncFolder(const std::string& file)
{
    const std::string folder = PathOf(file).parent_path().string();
    int fd = ::open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
}
#endif

// A writer holds a lock on its temporary file while it exists, so that the tidying up of
// another writer (or a later run) removes only the files of writers that are gone.
bool LockTemp(int fd)
{
#ifdef _WIN32
    (void)fd;
    return true;
#else
    return ::flock(fd, LOCK_EX | LOCK_NB) == 0;
#endif
}

// Whether path still names the file open as fd (another writer's tidying up may have
// taken it between its creation and its lock).
bool StillNamed(int fd, const std::string& path)
{
#ifdef _WIN32
    (void)fd, (void)path;
    return true;
#else
    struct stat open, named;
    return ::fstat(fd, &open) == 0 && ::stat(path.c_str(), &named) == 0 && open.st_ino == named.st_ino &&
           open.st_dev == named.st_dev;
#endif
}

#ifdef __linux__
int RenameAt2(const std::string& from, const std::string& to, unsigned flags)
{
    return int(::syscall(SYS_renameat2, AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str(), flags));
}
#endif

// Renames temp over target only when target still holds what expected describes (or is
// gone, and then only while no other file takes its place). On Linux the check is atomic:
// the two files are swapped, what came out is checked, and swapped back when it is not
// what was read. Returns 0, or an error number; changed tells a refusal.
int RenameChecked(const std::string& temp, const std::string& target, const DiskStamp& expected, bool& changed)
{
    changed = false;
#ifdef __linux__
    for (int attempt = 0; attempt < 3; ++attempt) {
        if (RenameAt2(temp, target, RENAME_EXCHANGE) == 0) {
            if (StampOf(temp).SameContent(expected)) {
                ::unlink(temp.c_str());
                return 0;
            }
            changed = true;
            // The other version goes back; should that fail, it stays under the temporary
            // name, which the caller then keeps.
            return RenameAt2(temp, target, RENAME_EXCHANGE) == 0 ? 0 : errno;
        }
        if (errno == ENOENT && FileExists(temp)) {
            // No file to replace: a deleted file is no change, but one made meanwhile is.
            if (RenameAt2(temp, target, RENAME_NOREPLACE) == 0) return 0;
            if (errno == EEXIST) continue;
        }
        if (errno != EINVAL && errno != ENOSYS && errno != ENOTSUP) return errno;
        break;  // a file system that cannot swap: checked just before the rename instead
    }
#endif
    const DiskStamp now = StampOf(target);
    if (now.kind != DiskStamp::Kind::Missing && !now.SameContent(expected)) {
        changed = true;
        return 0;
    }
    return RenameReplacing(temp, target) ? 0 : errno;
}

std::string TempNameBeside(const std::string& target)
{
    // Drawn afresh each time: a generator kept in memory is copied into a forked child,
    // and two processes would then try the same names.
    std::random_device random;
    char suffix[32];
    std::snprintf(suffix, sizeof suffix, ".%08llx.tmp", (unsigned long long)(random() & 0xFFFFFFFFull));
    return target + suffix;
}

}  // namespace

void RemoveStaleTemps(const std::string& target)
{
    const fs::path path = PathOf(target);
    const std::string stem = path.filename().string() + ".";
    std::error_code ec;
    fs::path folder = path.parent_path();
    if (folder.empty()) folder = ".";
    for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
        const std::string name = it->path().filename().string();
        if (name.size() != stem.size() + 12 || name.compare(0, stem.size(), stem) != 0 ||
            name.compare(name.size() - 4, 4, ".tmp") != 0)
            continue;
        const std::string digits = name.substr(stem.size(), 8);
        if (digits.find_first_not_of("0123456789abcdef") != std::string::npos) continue;
        std::error_code ignored;
        if (!it->is_regular_file(ignored)) continue;
        // Only a file no writer holds: another one may be writing it right now.
        const std::u8string stale = it->path().u8string();
        const int fd = OpenFd(std::string(stale.begin(), stale.end()), O_RDONLY);
        if (fd < 0) continue;
        if (LockTemp(fd)) fs::remove(it->path(), ignored);
        CloseFd(fd);
    }
}

namespace {

std::atomic<FileSeam*> g_seam{nullptr};

// The seam's fault for a call, or 0; errno is set to it so that callers see a real failure.
int SeamFault(const char* what, const std::string& path)
{
    FileSeam* seam = g_seam.load();
    const int error = seam ? seam->Fault(what, path) : 0;
    if (error) errno = error;
    return error;
}

}  // namespace

void SetFileSeam(FileSeam* seam) { g_seam.store(seam); }

FileSeam* CurrentFileSeam() { return g_seam.load(); }

int WriteFully(int fd, const std::string& path, uint64_t offset, const void* data, size_t size)
{
    if (FileSeam* seam = g_seam.load())
        if (int error = seam->WriteFault(path, offset, size)) return error;
    const char* bytes = static_cast<const char*>(data);
    while (size > 0) {
        auto chunk = size > (1u << 30) ? (1u << 30) : size;
        auto written = WriteFd(fd, bytes, unsigned(chunk));
        if (written < 0 && errno == EINTR) continue;
        if (written < 0) return errno ? errno : EIO;
        if (written == 0) return ENOSPC;
        bytes += written;
        size -= size_t(written);
    }
    return 0;
}

size_t MemorySource::Read(void* data, size_t size)
{
    size_t n = size < m_data.size() - m_pos ? size : m_data.size() - m_pos;
    std::memcpy(data, m_data.data() + m_pos, n);
    m_pos += n;
    return n;
}

FileSource::~FileSource()
{
    if (m_file) std::fclose(m_file);
}

bool FileSource::Open(const std::string& path)
{
#ifdef _WIN32
    m_file = _wfopen(PathOf(path).c_str(), L"rb");
#else
    m_file = std::fopen(path.c_str(), "rb");
#endif
    if (!m_file) return false;
    std::error_code ec;
    auto size = fs::file_size(PathOf(path), ec);
    if (ec) {
        std::fclose(m_file);
        m_file = nullptr;
        return false;
    }
    m_path = path;
    m_offset = 0;
    m_remaining = size;
    std::setvbuf(m_file, nullptr, _IOFBF, 1 << 16);
    return true;
}

size_t FileSource::Read(void* data, size_t size)
{
    if (!m_file || m_failed) return 0;
    if (FileSeam* seam = g_seam.load(); seam && seam->ReadFault(m_path, m_offset)) {
        m_failed = true;
        return 0;
    }
    size_t n = std::fread(data, 1, size, m_file);
    if (n < size && std::ferror(m_file)) m_failed = true;
    m_offset += n;
    m_remaining = n > m_remaining ? 0 : m_remaining - n;
    return n;
}

std::string WriteTargetOf(const std::string& path)
{
    std::error_code ec;
    if (!fs::is_symlink(PathOf(path), ec)) return path;
    fs::path real = fs::weakly_canonical(PathOf(path), ec);
    if (ec) return path;
    const std::u8string text = real.u8string();
    return std::string(text.begin(), text.end());
}

AtomicFileWriter::~AtomicFileWriter() { Cancel(); }

bool AtomicFileWriter::Fail(int error)
{
    if (!m_error) m_error = error ? error : EIO;
    return false;
}

bool AtomicFileWriter::Open(const std::string& target)
{
    Cancel();
    // A file that is a link to another place is replaced there, keeping the link.
    m_target = WriteTargetOf(target);
    m_error = 0;
    m_written = 0;
    m_changed = false;
    // A name that is taken (a killed save's leftover) is no reason to give up.
    for (int attempt = 0; attempt < 16 && m_fd < 0; ++attempt) {
        m_temp = TempNameBeside(m_target);
        if (SeamFault("create", m_target) != 0) break;
        m_fd = OpenFd(m_temp, O_WRONLY | O_CREAT | O_EXCL | O_TRUNC, 0666);
        if (m_fd < 0 && errno != EEXIST) break;
        if (m_fd < 0) continue;
#ifndef _WIN32
        // Locked through a second descriptor of the same open file, which outlives the close
        // of the first until the rename. (Windows renames no file that is open, and removes
        // none that is.)
        m_lockFd = ::fcntl(m_fd, F_DUPFD_CLOEXEC, 0);
        if (m_lockFd < 0 || !LockTemp(m_lockFd) || !StillNamed(m_lockFd, m_temp)) {
            // Taken by another writer's tidying up before it was locked: another name.
            if (m_lockFd >= 0) CloseFd(m_lockFd);
            m_lockFd = -1;
            CloseFd(m_fd);
            m_fd = -1;
        }
#endif
    }
    if (m_fd < 0) {
        Fail(errno);
        m_temp.clear();
        return false;
    }
#ifndef _WIN32
    // Keep the permissions of the file that is being replaced.
    struct stat st;
    if (::stat(m_target.c_str(), &st) == 0) ::fchmod(m_fd, st.st_mode & 07777);
#endif
    return true;
}

bool AtomicFileWriter::Write(const void* data, size_t size)
{
    if (m_fd < 0 || m_error) return false;
    if (int error = WriteFully(m_fd, m_temp, m_written, data, size)) return Fail(error);
    m_written += size;
    return true;
}

bool AtomicFileWriter::Commit()
{
    if (m_fd < 0 || m_error) {
        Cancel();
        return false;
    }
    // The bytes reach the disk before the name points to them: a crash after the rename
    // must find the new file whole.
    bool ok = !m_sync || ((SeamFault("sync", m_temp) == 0 && SyncFd(m_fd) == 0) || Fail(errno));
    ok = (CloseFd(m_fd) == 0 || Fail(errno)) && ok;
    m_fd = -1;
    if (ok && m_expected) {
        int error = SeamFault("rename", m_target);
        if (!error) error = RenameChecked(m_temp, m_target, *m_expected, m_changed);
        ok = !error && !m_changed;
        if (error) Fail(error);
        if (m_changed && error) m_temp.clear();  // the other version is there: never removed
    } else {
        ok = ok && ((SeamFault("rename", m_target) == 0 && RenameReplacing(m_temp, m_target)) || Fail(errno));
    }
    if (!ok) {
        Cancel();
        return false;
    }
    m_temp.clear();
    if (m_lockFd >= 0) CloseFd(m_lockFd);
    m_lockFd = -1;
    if (m_sync && SeamFault("syncfolder", m_target) == 0) SyncFolder(m_target);
    RemoveStaleTemps(m_target);
    return true;
}

int OverwriteInPlace(const std::string& target, const std::string& from, bool sync, bool& touched)
{
    touched = false;
    FileSource source;
    if (!source.Open(from)) return errno ? errno : EIO;
    const uint64_t newSize = source.Remaining();
    const int fd = OpenFd(target, O_WRONLY);
    if (fd < 0) return errno;
    const uint64_t oldSize = SizeOfFd(fd);
    int error = SeamFault("reserve", target);
    if (!error) error = ReserveFd(fd, oldSize, newSize);
    if (error) {
        // What a failed reservation added is taken off again; the old bytes were not touched.
        if (SizeOfFd(fd) != oldSize) TruncateFd(fd, oldSize);
        CloseFd(fd);
        return error;
    }
    char buffer[1 << 16];
    uint64_t offset = 0;
    touched = true;
    while (!error) {
        const size_t n = source.Read(buffer, sizeof buffer);
        if (n == 0) break;
        error = WriteFully(fd, target, offset, buffer, n);
        offset += n;
    }
    if (!error && (source.Failed() || offset != newSize)) error = EIO;
    if (!error && !TruncateFd(fd, newSize)) error = errno;
    if (!error && sync && (SeamFault("sync", target) != 0 || SyncFd(fd) != 0)) error = errno;
    if (CloseFd(fd) != 0 && !error) error = errno;
    return error;
}

void AtomicFileWriter::Cancel()
{
    if (m_fd >= 0) {
        CloseFd(m_fd);
        m_fd = -1;
    }
    if (!m_temp.empty()) {
        std::error_code ec;
        fs::remove(PathOf(m_temp), ec);
        m_temp.clear();
    }
    if (m_lockFd >= 0) {
        CloseFd(m_lockFd);
        m_lockFd = -1;
    }
}

bool FileExists(const std::string& path)
{
    std::error_code ec;
    return fs::is_regular_file(PathOf(path), ec);
}

bool PathExists(const std::string& path)
{
    std::error_code ec;
    return fs::exists(PathOf(path), ec);
}

bool FileIsWritable(const std::string& path)
{
#ifdef _WIN32
    return _waccess(PathOf(path).c_str(), 2) == 0;
#else
    struct stat st;
    if (::stat(path.c_str(), &st) != 0) return false;
    return (st.st_mode & 0222) != 0 && ::access(path.c_str(), W_OK) == 0;
#endif
}

namespace {

// A name is taken by anything there, a link to nowhere included.
bool NameTaken(const std::string& name)
{
    std::error_code ec;
    return fs::exists(PathOf(name), ec) || fs::is_symlink(PathOf(name), ec);
}

}  // namespace

std::string FreeNameBeside(const std::string& path, const std::string& suffix)
{
    std::string name = path + suffix;
    for (int n = 2; NameTaken(name); ++n) name = path + suffix + "-" + std::to_string(n);
    return name;
}

std::string FreeNameWithTag(const std::string& path, const std::string& tag)
{
    const fs::path p = PathOf(path);
    const std::u8string stem8 = p.stem().u8string(), extension8 = p.extension().u8string();
    const std::string stem(stem8.begin(), stem8.end()), extension(extension8.begin(), extension8.end());
    const std::string folder = path.substr(0, path.size() - p.filename().u8string().size());
    std::string name = folder + stem + " (" + tag + ")" + extension;
    for (int n = 2; NameTaken(name); ++n) name = folder + stem + " (" + tag + " " + std::to_string(n) + ")" + extension;
    return name;
}

namespace {

// The last-write time as the system gives it; false when it cannot be read.
bool LastWrite(const std::string& path, std::time_t& out)
{
#ifdef _WIN32
    struct _stat64 st;
    if (_wstat64(PathOf(path).c_str(), &st) != 0) return false;
#else
    struct stat st;
    if (::stat(path.c_str(), &st) != 0) return false;
#endif
    out = std::time_t(st.st_mtime);
    return true;
}

}  // namespace

bool FileLastWriteLocal(const std::string& path, LocalTime& out)
{
    std::time_t written;
    if (!LastWrite(path, written)) return false;
    std::tm tm{};
#ifdef _WIN32
    if (localtime_s(&tm, &written) != 0) return false;
#else
    if (!localtime_r(&written, &tm)) return false;
#endif
    out = LocalTime{tm.tm_year + 1900, tm.tm_mon + 1, tm.tm_mday, tm.tm_hour, tm.tm_min, tm.tm_sec};
    return true;
}

int64_t FileLastWriteSeconds(const std::string& path)
{
    std::time_t written;
    return LastWrite(path, written) ? int64_t(written) : 0;
}

std::string ParentFolder(const std::string& path)
{
    std::u8string folder = PathOf(path).parent_path().u8string();
    return std::string(folder.begin(), folder.end());
}

bool MakeFolders(const std::string& folder)
{
    std::error_code ec;
    fs::create_directories(PathOf(folder), ec);
    return fs::is_directory(PathOf(folder), ec);
}
