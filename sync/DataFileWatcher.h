#pragma once
#include <QFileSystemWatcher>
#include <QObject>
#include <QTimer>
#include <string>

// Watches the data file and its folder (a program that saves by renaming a new file over
// the old one leaves a watch on the file alone behind) and reports a change once things
// settle a little, however many events a save by another program makes.
class CDataFileWatcher : public QObject {
    Q_OBJECT
public:
    explicit CDataFileWatcher(QObject* parent = nullptr);
    // Starts watching this file instead of the one before.
    void Follow(const std::string& path);

signals:
    void changed();

private:
    void Rewatch();

    QFileSystemWatcher m_watcher;
    QTimer m_settle;
    QString m_file;
    QString m_folder;
};
