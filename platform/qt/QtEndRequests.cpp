#include "platform/qt/QtEndRequests.h"

#include <QSocketNotifier>

#if defined(Q_OS_UNIX)
#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>

namespace {

constexpr int kSignals[] = {SIGTERM, SIGHUP, SIGINT};
constexpr int kSignalCount = int(sizeof(kSignals) / sizeof(kSignals[0]));
struct sigaction g_before[kSignalCount];
volatile sig_atomic_t g_writeEnd = -1;

// Only what a signal handler may do: one byte into the pipe, errno left as it was.
void OnSignal(int)
{
    const int saved = errno;
    const char byte = 1;
    if (g_writeEnd >= 0) {
        const ssize_t written = write(g_writeEnd, &byte, 1);
        (void)written;  // a full pipe already holds a request
    }
    errno = saved;
}

bool MakePipe(int ends[2])
{
    if (pipe(ends) != 0) return false;
    for (int i = 0; i < 2; ++i) {
        fcntl(ends[i], F_SETFD, FD_CLOEXEC);
        fcntl(ends[i], F_SETFL, fcntl(ends[i], F_GETFL) | O_NONBLOCK);
    }
    return true;
}

}  // namespace

QtEndRequests::QtEndRequests(QObject* parent) : QObject(parent)
{
    if (!MakePipe(m_pipe)) return;
    m_notifier = new QSocketNotifier(m_pipe[0], QSocketNotifier::Read, this);
    connect(m_notifier, &QSocketNotifier::activated, this, &QtEndRequests::Drain);
    g_writeEnd = m_pipe[1];
    struct sigaction action = {};
    action.sa_handler = OnSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (int i = 0; i < kSignalCount; ++i) {
        sigaction(kSignals[i], nullptr, &g_before[i]);
        if (g_before[i].sa_handler != SIG_IGN) sigaction(kSignals[i], &action, nullptr);
    }
}

QtEndRequests::~QtEndRequests()
{
    if (m_pipe[0] < 0) return;
    for (int i = 0; i < kSignalCount; ++i) sigaction(kSignals[i], &g_before[i], nullptr);
    g_writeEnd = -1;
    delete m_notifier;
    close(m_pipe[0]);
    close(m_pipe[1]);
}

void QtEndRequests::Drain()
{
    char bytes[64];
    bool requested = false;
    while (read(m_pipe[0], bytes, sizeof bytes) > 0) requested = true;
    if (requested) emit endRequested();
}

#else

// Elsewhere no signal is watched: Windows tells of the end of a session through the session
// manager's request to save, which the application follows.
QtEndRequests::QtEndRequests(QObject* parent) : QObject(parent) {}
QtEndRequests::~QtEndRequests() = default;
void QtEndRequests::Drain() {}

#endif
