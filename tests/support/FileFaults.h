#pragma once
#include <cstdint>
#include <functional>
#include <map>
#include <mutex>
#include <string>
#include <vector>

#include <unistd.h>

#include "store/FileIO.h"

// Puts faults into the program's file calls while it lives, and notes the order of the
// calls that make a write durable ("sync path", "rename path", ...).
class FileFaults : public FileSeam {
public:
    FileFaults() { SetFileSeam(this); }
    ~FileFaults() override { SetFileSeam(nullptr); }
    FileFaults(const FileFaults&) = delete;
    FileFaults& operator=(const FileFaults&) = delete;

    int Fault(const char* what, const std::string& path) override
    {
        // Another program's write at the moment before a replace, once.
        if (beforeRename && std::string(what) == "rename") std::exchange(beforeRename, {})(path);
        if (beforeCall) beforeCall(what);
        std::lock_guard lock(m_mutex);
        events.push_back(std::string(what) + " " + path);
        auto it = faults.find(what);
        if (!faultFolder.empty() && path.compare(0, faultFolder.size(), faultFolder) != 0) return 0;
        return it == faults.end() ? 0 : it->second;
    }
    int WriteFault(const std::string& path, uint64_t offset, size_t size) override
    {
        if (writeDelayUs > 0 && (writePath.empty() || path == writePath)) usleep(useconds_t(writeDelayUs));
        std::lock_guard lock(m_mutex);
        ++writesTo[path];
        if (failWritesBeyond >= 0 && offset + size > uint64_t(failWritesBeyond) && (writePath.empty() || path == writePath) &&
            (faultFolder.empty() || path.compare(0, faultFolder.size(), faultFolder) == 0))
            return writeError;
        return 0;
    }
    bool ReadFault(const std::string& path, uint64_t offset) override
    {
        std::lock_guard lock(m_mutex);
        return failReadsAt >= 0 && offset >= uint64_t(failReadsAt) && (readPath.empty() || path == readPath);
    }
    std::vector<std::string> Events()
    {
        std::lock_guard lock(m_mutex);
        return events;
    }

    std::map<std::string, int> faults;  // kind of call -> error number
    std::string faultFolder;            // only calls on paths in this folder fail (all when empty)
    int64_t failWritesBeyond = -1;      // a write reaching past this offset fails
    int writeError = 28;                // ENOSPC
    std::string writePath;              // only writes into this file (all when empty)
    int writeDelayUs = 0;               // each write waits this long first (a slow disk)
    int64_t failReadsAt = -1;           // a read at or past this offset fails
    std::string readPath;               // only reads of this file (all when empty)
    std::vector<std::string> events;
    std::function<void(const std::string& what)> beforeCall;  // runs before each call of the seam
    std::map<std::string, int> writesTo;                      // writes made into each file
    std::function<void(const std::string&)> beforeRename;  // runs once, before the next replace

private:
    std::mutex m_mutex;
};
