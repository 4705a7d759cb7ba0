#pragma once
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

struct DiskStamp;

// Where the data file writer puts its bytes. Write returns false on any failure.
class ByteSink {
public:
    virtual ~ByteSink() = default;
    virtual bool Write(const void* data, size_t size) = 0;
};

// Where the data file reader takes its bytes from. Remaining() bounds every length
// the reader believes, so that a corrupt length never allocates more than the file holds.
class ByteSource {
public:
    virtual ~ByteSource() = default;
    // Reads up to size bytes; returns how many were read (0 at the end or on error).
    virtual size_t Read(void* data, size_t size) = 0;
    virtual uint64_t Remaining() const = 0;
    // True when a read failed for another reason than the end of the data.
    virtual bool Failed() const { return false; }
};

class StringSink : public ByteSink {
public:
    bool Write(const void* data, size_t size) override
    {
        bytes.append(static_cast<const char*>(data), size);
        return true;
    }
    std::string bytes;
};

class MemorySource : public ByteSource {
public:
    explicit MemorySource(std::string data) : m_data(std::move(data)) {}
    size_t Read(void* data, size_t size) override;
    uint64_t Remaining() const override { return m_data.size() - m_pos; }

private:
    std::string m_data;
    size_t m_pos = 0;
};

// A file opened for reading, its size taken at open.
class FileSource : public ByteSource {
public:
    FileSource() = default;
    ~FileSource() override;
    FileSource(const FileSource&) = delete;
    FileSource& operator=(const FileSource&) = delete;
    bool Open(const std::string& path);
    size_t Read(void* data, size_t size) override;
    uint64_t Remaining() const override { return m_remaining; }
    bool Failed() const override { return m_failed; }

private:
    std::FILE* m_file = nullptr;
    std::string m_path;
    uint64_t m_offset = 0;
    uint64_t m_remaining = 0;
    bool m_failed = false;
};

// Where tests put faults into reading and writing files and watch the order of the calls
// that make a write durable. The program runs without one.
class FileSeam {
public:
    virtual ~FileSeam() = default;
    // Before each call of kind what ("create" of a temporary file beside path, "sync",
    // "rename", "reserve", "syncfolder") on path:
    // an error number to fail it with, or 0 to let it run.
    virtual int Fault(const char* what, const std::string& path)
    {
        (void)what, (void)path;
        return 0;
    }
    // Before each write of size bytes at offset into path: an error number, or 0.
    virtual int WriteFault(const std::string& path, uint64_t offset, size_t size)
    {
        (void)path, (void)offset, (void)size;
        return 0;
    }
    // Before each read of path at offset: true makes it fail as a bad disk would.
    virtual bool ReadFault(const std::string& path, uint64_t offset)
    {
        (void)path, (void)offset;
        return false;
    }
};
// Installs seam for every file operation of the process (nullptr: none).
void SetFileSeam(FileSeam* seam);
FileSeam* CurrentFileSeam();

// Writes a file so that it is either replaced whole or not at all: the bytes go to a
// temporary file in the same folder, which is flushed to disk and then renamed over
// the target; any failure removes the temporary file and leaves the target as it was.
// A person's files are written through GuardedWrite, which uses this and decides what
// may be replaced; tests and tools write their own files with it directly.
class AtomicFileWriter : public ByteSink {
public:
    // syncToDisk: flush the file and its folder to the disk (off only for benchmarks).
    explicit AtomicFileWriter(bool syncToDisk = true) : m_sync(syncToDisk) {}
    ~AtomicFileWriter() override;
    AtomicFileWriter(const AtomicFileWriter&) = delete;
    AtomicFileWriter& operator=(const AtomicFileWriter&) = delete;

    // False when no temporary file can be made beside target; Error() says why.
    bool Open(const std::string& target);
    bool Write(const void* data, size_t size) override;
    // Flushes, syncs and renames; false (and nothing replaced) on any failure.
    bool Commit();
    void Cancel();
    // Commit then replaces the target only while it holds what expected describes (which
    // the caller keeps alive), and leaves it as it is otherwise: Changed() tells that case.
    void ReplaceOnly(const DiskStamp* expected) { m_expected = expected; }
    bool Changed() const { return m_changed; }
    // The system's error number of the first failure (0 when none).
    int Error() const { return m_error; }
    uint64_t Written() const { return m_written; }

private:
    bool Fail(int error);

    std::string m_target, m_temp;
    int m_fd = -1;
    // A second descriptor of the temporary file, whose lock tells other writers that it
    // is in use; held past the close of m_fd until the rename is done.
    int m_lockFd = -1;
    int m_error = 0;
    bool m_sync;
    uint64_t m_written = 0;
    const DiskStamp* m_expected = nullptr;
    bool m_changed = false;
};

// The path that a write of path replaces: where a symbolic link points, so that the
// link stays; path itself otherwise.
std::string WriteTargetOf(const std::string& path);

// Writes size bytes at the file's current position, going on after interruptions and
// short writes, through the seam; the error number, or 0 when all were written.
int WriteFully(int fd, const std::string& path, uint64_t offset, const void* data, size_t size);

// Overwrites the existing file target with the bytes of the file from, in place, for a
// folder that lets no file be created: reserves the new size first (nothing changes when
// that fails), then writes, cuts to size and syncs. 0, or the system's error number.
// touched: whether the target's bytes were changed at all (false when the reservation failed).
int OverwriteInPlace(const std::string& target, const std::string& from, bool sync, bool& touched);

// Removes the temporary files of saves of target that were killed before they could
// rename or remove them: target's name, a dot, eight hexadecimal digits and ".tmp".
void RemoveStaleTemps(const std::string& target);


// A path held as UTF-8 bytes, as the file system library takes it on every system.
std::filesystem::path Utf8Path(const std::string& utf8);

bool FileExists(const std::string& path);
// True when anything (a file, a folder) is at the path.
bool PathExists(const std::string& path);
// False when an existing file may not be written: no permission, or read-only for
// everyone (which even an administrator's account respects here).
bool FileIsWritable(const std::string& path);
// The first of path + suffix, path + suffix + "-2", ... that does not exist yet.
std::string FreeNameBeside(const std::string& path, const std::string& suffix);
// "Norvelle (tag).dat", then "Norvelle (tag 2).dat", ...: the first that does not exist,
// in the same folder and with the same extension, so that it opens as a data file.
std::string FreeNameWithTag(const std::string& path, const std::string& tag);
// Last-write time of a file as local time; false when it cannot be read.
struct LocalTime;
bool FileLastWriteLocal(const std::string& path, LocalTime& out);
// Last-write time in seconds since 1970; 0 when it cannot be read.
int64_t FileLastWriteSeconds(const std::string& path);
// The folder part of a path (empty for a bare file name).
std::string ParentFolder(const std::string& path);
// Creates the folder and its parents; true when it exists afterwards.
bool MakeFolders(const std::string& folder);
