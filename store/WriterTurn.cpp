#include "store/WriterTurn.h"

#include <atomic>
#include <cerrno>
#include <chrono>
#include <condition_variable>
#include <filesystem>
#include <map>
#include <mutex>
#include <thread>

#include <fcntl.h>
#ifndef _WIN32
#include <sys/file.h>
#include <unistd.h>
#endif

#include "store/FileIO.h"
#include "platform/Translate.h"

namespace fs = std::filesystem;

namespace {

std::atomic<int> g_timeoutMs{10000};

// The turns this process holds. The system's lock belongs to an open file, not to a
// thread, so threads of one process take turns here before they reach it.
struct HeldTurn {
    int fd = -1;
    std::thread::id owner;
    int count = 0;
};
std::mutex g_mutex;
std::condition_variable g_released;
std::map<std::string, HeldTurn> g_held;

std::string KeyOf(const std::string& path)
{
    std::error_code ec;
    fs::path absolute = fs::absolute(Utf8Path(WriteTargetOf(path)), ec);
    if (ec) absolute = Utf8Path(path);
    const std::u8string text = absolute.lexically_normal().u8string();
    return std::string(text.begin(), text.end());
}

#ifndef _WIN32
// Opens what the turn is a lock on: the lock file beside the data file, or the data file
// itself where its folder lets no file be made (its writes then keep the same file).
int OpenLockTarget(const std::string& key)
{
    int fd = ::open(WriterTurnLockPath(key).c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOCTTY, 0666);
    if (fd < 0 && (errno == EACCES || errno == EPERM || errno == EROFS))
        fd = ::open(key.c_str(), O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK);
    return fd;
}
#endif

}  // namespace

int WriterTurnTimeoutMs() { return g_timeoutMs.load(); }
void SetWriterTurnTimeoutMs(int milliseconds) { g_timeoutMs = milliseconds; }

std::string WriterTurnLockPath(const std::string& path)
{
    const fs::path file = Utf8Path(path);
    const std::u8string name = file.filename().u8string();
    const std::u8string text = (file.parent_path() / (u8"." + name + u8".lock")).u8string();
    return std::string(text.begin(), text.end());
}

bool WriterTurn::Take(const std::string& path)
{
    Release();
    m_reason.clear();
    const std::string key = KeyOf(path);
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(WriterTurnTimeoutMs());
    const int seconds = (WriterTurnTimeoutMs() + 999) / 1000;
    const std::string busy =
        Fill(seconds == 1 ? Tr("Store", "Another program was writing it and did not finish within %1 second.")
                          : Tr("Store", "Another program was writing it and did not finish within %1 seconds."),
             {std::to_string(seconds)});
    std::unique_lock lock(g_mutex);
    for (;;) {
        auto found = g_held.find(key);
        if (found == g_held.end()) break;
        if (found->second.owner == std::this_thread::get_id()) {
            ++found->second.count;
            m_key = key;
            return true;
        }
        if (g_released.wait_until(lock, deadline) == std::cv_status::timeout && g_held.count(key)) {
            m_reason = busy;
            return false;
        }
    }
    // Marked as this thread's before the wait for other processes, which happens unlocked.
    HeldTurn& held = g_held[key];
    held.owner = std::this_thread::get_id();
    held.count = 1;
    lock.unlock();
#ifndef _WIN32
    const int fd = OpenLockTarget(key);
    bool taken = fd < 0;  // nothing to lock on: the write itself will fail and say why
    while (fd >= 0 && !(taken = ::flock(fd, LOCK_EX | LOCK_NB) == 0)) {
        if (errno != EWOULDBLOCK && errno != EINTR) {
            taken = true;  // a file system without locks: writers cannot take turns there
            break;
        }
        if (std::chrono::steady_clock::now() >= deadline) break;
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    lock.lock();
    if (!taken) {
        if (fd >= 0) ::close(fd);
        g_held.erase(key);
        g_released.notify_all();
        m_reason = busy;
        return false;
    }
    g_held[key].fd = fd;
#endif
    m_key = key;
    return true;
}

void WriterTurn::Release()
{
    if (m_key.empty()) return;
    std::lock_guard lock(g_mutex);
    auto found = g_held.find(m_key);
    if (found != g_held.end() && --found->second.count == 0) {
#ifndef _WIN32
        // Closing the file lets go of the system's lock; the lock file stays, since
        // removing it would let two writers lock two different files of one name.
        if (found->second.fd >= 0) ::close(found->second.fd);
#endif
        g_held.erase(found);
        g_released.notify_all();
    }
    m_key.clear();
}
