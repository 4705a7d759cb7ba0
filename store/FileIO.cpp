#include "store/FileIO.h"

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
#include <unistd.h>
#endif

#include "store/LinkDate.h"

namespace fs = std::filesystem;

namespace {

fs::path PathOf(const std::string& utf8)
{
    return fs::path(std::u8string(utf8.begin(), utf8.end()));
}

#ifdef _WIN32
int OpenFd(const std::string& path, int flags, int mode = 0)
{
    return _wopen(PathOf(path).c_str(), flags | _O_BINARY, mode);
}
int WriteFd(int fd, const void* data, unsigned size) { return _write(fd, data, size); }
int SyncFd(int fd) { return _commit(fd); }
int CloseFd(int fd) { return _close(fd); }
bool TruncateFd(int fd, uint64_t size) { return _chsize_s(fd, __int64(size)) == 0; }
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
        if (it->is_regular_file(ignored)) fs::remove(it->path(), ignored);
    }
}

namespace {

bool WriteAll(int fd, const char* data, size_t size)
{
    while (size > 0) {
        auto chunk = size > (1u << 30) ? (1u << 30) : size;
        auto written = WriteFd(fd, data, unsigned(chunk));
        if (written < 0 && errno == EINTR) continue;
        if (written <= 0) return false;
        data += written;
        size -= size_t(written);
    }
    return true;
}

}  // namespace

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
    m_remaining = size;
    std::setvbuf(m_file, nullptr, _IOFBF, 1 << 16);
    return true;
}

size_t FileSource::Read(void* data, size_t size)
{
    if (!m_file) return 0;
    size_t n = std::fread(data, 1, size, m_file);
    if (n < size && std::ferror(m_file)) m_failed = true;
    m_remaining = n > m_remaining ? 0 : m_remaining - n;
    return n;
}

AtomicFileWriter::~AtomicFileWriter() { Cancel(); }

bool AtomicFileWriter::Open(const std::string& target)
{
    Cancel();
    m_target = target;
    // A data file that is a link to another place is replaced there, keeping the link.
    std::error_code ec;
    if (fs::is_symlink(PathOf(target), ec)) {
        fs::path real = fs::weakly_canonical(PathOf(target), ec);
        if (!ec) m_target = real.string();
    }
    m_failed = false;
    m_inPlace = false;
    m_written = 0;
    // A name that is taken (a killed save's leftover) is no reason to write in place.
    for (int attempt = 0; attempt < 16 && m_fd < 0; ++attempt) {
        m_temp = TempNameBeside(m_target);
        m_fd = OpenFd(m_temp, O_WRONLY | O_CREAT | O_EXCL | O_TRUNC, 0666);
        if (m_fd < 0 && errno != EEXIST) break;
    }
    if (m_fd < 0) {
        const int error = errno;
        m_temp.clear();
        // Only a folder that lets no file be created makes the file be written in place.
        if ((error != EACCES && error != EPERM) || !FileExists(m_target)) return false;
        m_fd = OpenFd(m_target, O_WRONLY);
        m_inPlace = m_fd >= 0;
        return m_inPlace;
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
    if (m_fd < 0 || m_failed) return false;
    if (!WriteAll(m_fd, static_cast<const char*>(data), size)) m_failed = true;
    m_written += size;
    return !m_failed;
}

bool AtomicFileWriter::Commit()
{
    if (m_fd < 0 || m_failed) {
        Cancel();
        return false;
    }
    // In place, the old contents beyond the new end are cut off before the sync.
    bool ok = !m_inPlace || TruncateFd(m_fd, m_written);
    ok = ok && (!m_sync || SyncFd(m_fd) == 0);
    ok = CloseFd(m_fd) == 0 && ok;
    m_fd = -1;
    if (!ok || (!m_inPlace && !RenameReplacing(m_temp, m_target))) {
        Cancel();
        return false;
    }
    m_temp.clear();
    if (m_sync && !m_inPlace) SyncFolder(m_target);
    RemoveStaleTemps(m_target);
    return true;
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
}

bool CopyFileReplacing(const std::string& from, const std::string& to)
{
    FileSource source;
    if (!source.Open(from)) return false;
    AtomicFileWriter writer;
    if (!writer.Open(to)) return false;
    char buffer[1 << 16];
    for (;;) {
        size_t n = source.Read(buffer, sizeof buffer);
        if (n == 0) break;
        if (!writer.Write(buffer, n)) return false;
    }
    if (source.Failed()) return false;
    return writer.Commit();
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
