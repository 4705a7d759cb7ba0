#pragma once
#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <mutex>
#include <string>
#include <thread>
#include <unistd.h>

// Ends the test program with a message when a test has not finished in time: a test of
// code that could deadlock then fails at once, instead of hanging until ctest's limit.
class Watchdog {
public:
    Watchdog(std::chrono::seconds limit, std::string what) : m_what(std::move(what))
    {
        m_thread = std::thread([this, limit] {
            std::unique_lock lock(m_mutex);
            if (m_done.wait_for(lock, limit, [this] { return m_finished; })) return;
            std::fprintf(stderr, "FAILED: %s did not finish within %lld seconds (a deadlock?)\n", m_what.c_str(),
                         static_cast<long long>(limit.count()));
            std::fflush(stderr);
            _exit(1);
        });
    }
    ~Watchdog()
    {
        {
            std::lock_guard lock(m_mutex);
            m_finished = true;
        }
        m_done.notify_all();
        m_thread.join();
    }
    Watchdog(const Watchdog&) = delete;
    Watchdog& operator=(const Watchdog&) = delete;

private:
    std::string m_what;
    std::mutex m_mutex;
    std::condition_variable m_done;
    bool m_finished = false;
    std::thread m_thread;
};
