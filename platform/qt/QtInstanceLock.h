#pragma once
#include <QLocalServer>
#include <QLockFile>
#include <QObject>
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

signals:
    // Another start asked for the window on this file.
    void activationRequested();

private:
    QString m_lockPath;
    QString m_serverName;
    QLockFile m_lock;
    QLocalServer m_server;
};
