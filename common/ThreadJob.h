#pragma once
#include <atomic>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

// Work that runs once on a new thread each time it is started. Job objects are
// long-lived and reused; their threads are not.
class CThreadJob {
public:
    CThreadJob() = default;
    CThreadJob(const CThreadJob&) = delete;
    CThreadJob& operator=(const CThreadJob&) = delete;
    // Waits for a run in progress. A derived job whose Run uses its own members must
    // be waited for (Wait) by its owner before it is destroyed.
    virtual ~CThreadJob();

    virtual int Run() = 0;
    // Clears the stop flag and runs Run on a new thread; false when no thread could be made.
    virtual bool Start(void* owner, int parameter);
    void RequestStop(int value) { m_stop.store(value, std::memory_order_relaxed); }
    int IsStopRequested() const { return m_stop.load(std::memory_order_relaxed); }
    int Result() const { return m_result.load(); }
    void* Owner() const { return m_owner; }
    int Parameter() const { return m_parameter; }
    // Waits until the current run, if any, has returned.
    void Wait();

private:
    std::mutex m_threadLock;
    std::thread m_thread;
    void* m_owner = nullptr;
    int m_parameter = 0;
    std::atomic<int> m_result{0};
    std::atomic<int> m_stop{0};
};

// A job that can be handed out again once its run has finished.
class CPooledJob : public CThreadJob {
public:
    bool IsFinished() const { return m_finished.load(); }
    bool Start(void* owner, int parameter) override;

protected:
    // Every Run clears the flag as it begins and sets it just before it returns.
    void SetFinished(bool finished) { m_finished.store(finished); }

private:
    std::atomic<bool> m_finished{true};
};

// The jobs of one kind; grows as needed and never shrinks while it lives.
template <class Job>
class CJobPool {
public:
    CJobPool() = default;
    // Runs in progress end before their jobs are freed.
    ~CJobPool() { WaitAll(); }

    // The first finished job, else a new one appended to the pool.
    Job& GetIdleJob()
    {
        for (auto& job : m_jobs)
            if (job->IsFinished()) return *job;
        m_jobs.push_back(std::make_unique<Job>());
        return *m_jobs.back();
    }
    size_t Size() const { return m_jobs.size(); }
    bool AllFinished() const
    {
        for (auto& job : m_jobs)
            if (!job->IsFinished()) return false;
        return true;
    }
    void WaitAll()
    {
        for (auto& job : m_jobs) job->Wait();
    }

private:
    std::vector<std::unique_ptr<Job>> m_jobs;
};
