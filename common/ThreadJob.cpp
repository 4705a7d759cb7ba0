#include "common/ThreadJob.h"

#include <system_error>

CThreadJob::~CThreadJob() { Wait(); }

bool CThreadJob::Start(void* owner, int parameter)
{
    std::lock_guard lock(m_threadLock);
    m_owner = owner;
    m_parameter = parameter;
    m_stop = 0;
    m_result = 0;
    // The previous run has returned (its job was finished); collect its thread.
    if (m_thread.joinable()) m_thread.join();
    try {
        m_thread = std::thread([this] { m_result = Run(); });
    } catch (const std::system_error&) {
        return false;
    }
    return true;
}

void CThreadJob::Wait()
{
    std::lock_guard lock(m_threadLock);
    if (m_thread.joinable() && m_thread.get_id() != std::this_thread::get_id()) m_thread.join();
}

bool CPooledJob::Start(void* owner, int parameter)
{
    // Cleared before the thread exists, so that the job is not handed out twice.
    SetFinished(false);
    if (CThreadJob::Start(owner, parameter)) return true;
    SetFinished(true);
    return false;
}
