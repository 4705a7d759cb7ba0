#pragma once
#include <QLocalServer>
#include <QLockFile>
#include <QObject>
#include <functional>
#include <memory>
#include <string>

// One data file is open in one window. The first start on a file holds a lock for it
// and listens; a later start on the same file asks the holder to come to the front and
// leaves the file alone. A lock left by a program that died is taken over.
class QtInstanceLock : public QObject {
    Q_OBJECT
public:
    explicit QtInstanceLock(const std::string& dataPath);
    ~QtInstanceLock() override;

    // True when this process may open the file; false when another running window has
    // it (and was asked to come forward).
    bool Acquire();
    QString LockFilePath() const { return m_lockPath; }
    // Whether a running window holds the file now, asked without taking the lock for long
    // and without calling that window forward.
    static bool HeldByAWindow(const std::string& dataPath);

    // The answer to a message that another program of ours (the browser's host) hands over.
    using MessageHandler = std::function<std::string(const std::string& message)>;
    void SetMessageHandler(MessageHandler handler) { m_handler = std::move(handler); }
    // Hands message to the window that holds dataPath and waits for its answer; false
    // when no window took it or none answered within timeoutMs.
    static bool AskWindow(const std::string& dataPath, const std::string& message, std::string& answer,
                          int timeoutMs = 10000);

signals:
    // Another start asked for the window on this file.
    void activationRequested();

private:
    void Serve(class QLocalSocket* socket);

    QString m_lockPath;
    QString m_serverName;
    QLockFile m_lock;
    QLocalServer m_server;
    MessageHandler m_handler;
};

// Moves a window's hold to the data file it now uses: true when the hold is on that file
// (the previous one is let go); false when another running window has the file (it was
// asked to come forward), and nothing is held then.
bool FollowDataFile(std::unique_ptr<QtInstanceLock>& held, const std::string& dataPath);
