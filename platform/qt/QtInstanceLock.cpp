#include "platform/qt/QtInstanceLock.h"

#include <QCryptographicHash>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QLocalSocket>
#include <QStandardPaths>
#include <QSysInfo>
#include <algorithm>

#ifdef Q_OS_UNIX
#include <cerrno>
#include <csignal>
#endif

namespace {

// The same file reached by different spellings of its path gets one key.
QString KeyOf(const std::string& dataPath)
{
    QFileInfo info(QString::fromStdString(dataPath));
    QString path = info.canonicalFilePath();
    // A file not made yet: its folder's real place and its name (Documents may be a link).
    if (path.isEmpty()) {
        const QString folder = QFileInfo(info.absolutePath()).canonicalFilePath();
        path = folder.isEmpty() ? info.absoluteFilePath() : folder + "/" + info.fileName();
    }
    QByteArray hash = QCryptographicHash::hash(path.toUtf8(), QCryptographicHash::Sha256).toHex().left(24);
    return QStringLiteral("norvelle-") + QString::fromLatin1(hash);
}

QString LockFolder()
{
    QString folder = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    if (folder.isEmpty()) folder = QDir::tempPath();
    return folder;
}

QString LockPathOf(const std::string& dataPath) { return LockFolder() + "/" + KeyOf(dataPath) + ".lock"; }

QString ServerNameOf(const std::string& dataPath)
{
#ifdef Q_OS_WIN
    return KeyOf(dataPath);
#else
    // The server is private to the user: a name in the user's runtime folder.
    return LockFolder() + "/" + KeyOf(dataPath) + ".socket";
#endif
}

// What travels on the connection: the line "activate", or the line "message N" and N bytes
// of a message, answered with the answer's bytes and the end of the connection.
constexpr qsizetype kMaxMessageBytes = (4 << 20) + 1024;
constexpr qsizetype kMaxHeaderBytes = 64;

}  // namespace

QtInstanceLock::QtInstanceLock(const std::string& dataPath)
    : m_lockPath(LockPathOf(dataPath)), m_serverName(ServerNameOf(dataPath)), m_lock(m_lockPath)
{
    // Only a dead holder makes a lock stale, however long a window stays open.
    m_lock.setStaleLockTime(0);
    connect(&m_server, &QLocalServer::newConnection, this, [this] {
        while (QLocalSocket* socket = m_server.nextPendingConnection()) {
            connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
            connect(socket, &QLocalSocket::readyRead, this, [this, socket] { Serve(socket); });
            Serve(socket);
        }
    });
}

void QtInstanceLock::Serve(QLocalSocket* socket)
{
    const QByteArray waiting = socket->peek(kMaxHeaderBytes);
    const qsizetype end = waiting.indexOf('\n');
    if (end < 0) {
        if (waiting.size() >= kMaxHeaderBytes) socket->abort();
        return;
    }
    const QByteArray header = waiting.left(end);
    if (header == "activate") {
        socket->read(end + 1);
        emit activationRequested();
        return;
    }
    bool number = false;
    const qsizetype size = header.startsWith("message ") ? header.mid(8).toLongLong(&number) : -1;
    if (!number || size < 0 || size > kMaxMessageBytes || !m_handler) {
        socket->abort();
        return;
    }
    if (socket->bytesAvailable() < end + 1 + size) return;
    socket->read(end + 1);
    const QByteArray message = socket->read(size);
    // The asker may have given up waiting meanwhile: then the answer has no one to go to.
    const std::string answer = m_handler(message.toStdString());
    if (socket->state() != QLocalSocket::ConnectedState) return;
    socket->write(answer.data(), qint64(answer.size()));
    socket->disconnectFromServer();
}

QtInstanceLock::~QtInstanceLock()
{
    m_server.close();
}

bool QtInstanceLock::Acquire()
{
    QDir().mkpath(LockFolder());
    if (m_lock.tryLock(0)) {
        // A socket left by a holder that died would keep the server from listening.
        QLocalServer::removeServer(m_serverName);
        m_server.setSocketOptions(QLocalServer::UserAccessOption);
        m_server.listen(m_serverName);
        return true;
    }
    // Where no lock can be made at all, the program still runs.
    if (m_lock.error() != QLockFile::LockFailedError) return true;
    QLocalSocket socket;
    socket.connectToServer(m_serverName);
    if (socket.waitForConnected(2000)) {
        socket.write("activate\n");
        socket.waitForBytesWritten(1000);
        socket.disconnectFromServer();
    }
    return false;
}

bool QtInstanceLock::HeldByAWindow(const std::string& dataPath)
{
    // Only looked at, never taken: a window starting this very moment must find the lock free.
    QLockFile lock(LockPathOf(dataPath));
    qint64 pid = 0;
    QString hostName, appName;
    if (!lock.getLockInfo(&pid, &hostName, &appName)) return false;
#ifdef Q_OS_UNIX
    // A lock left by a window that died holds nothing.
    if (hostName == QSysInfo::machineHostName() && ::kill(pid_t(pid), 0) != 0 && errno == ESRCH) return false;
#endif
    return true;
}

bool QtInstanceLock::AskWindow(const std::string& dataPath, const std::string& message, std::string& answer,
                               int timeoutMs)
{
    answer.clear();
    QLocalSocket socket;
    socket.connectToServer(ServerNameOf(dataPath));
    if (!socket.waitForConnected(timeoutMs)) return false;
    socket.write("message " + QByteArray::number(qsizetype(message.size())) + "\n");
    socket.write(message.data(), qint64(message.size()));
    QByteArray received;
    QElapsedTimer waited;
    waited.start();
    // The window closes the connection after its answer.
    while (socket.state() == QLocalSocket::ConnectedState && waited.elapsed() < timeoutMs) {
        socket.waitForReadyRead(int(std::max<qint64>(1, timeoutMs - waited.elapsed())));
        received += socket.readAll();
        if (received.size() > kMaxMessageBytes) return false;
    }
    received += socket.readAll();
    if (socket.state() == QLocalSocket::ConnectedState || received.isEmpty()) return false;
    answer = received.toStdString();
    return true;
}

bool FollowDataFile(std::unique_ptr<QtInstanceLock>& held, const std::string& dataPath)
{
    auto next = std::make_unique<QtInstanceLock>(dataPath);
    if (held && held->LockFilePath() == next->LockFilePath()) return true;
    const bool mine = next->Acquire();
    held = mine ? std::move(next) : nullptr;
    return mine;
}
