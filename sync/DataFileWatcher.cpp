#include "sync/DataFileWatcher.h"

#include <QFileInfo>

CDataFileWatcher::CDataFileWatcher(QObject* parent) : QObject(parent)
{
    m_settle.setSingleShot(true);
    m_settle.setInterval(300);
    // The first event starts the wait and later ones do not restart it, so changes that
    // keep arriving are still looked at every 300 ms.
    auto touched = [this] {
        if (!m_settle.isActive()) m_settle.start();
    };
    connect(&m_watcher, &QFileSystemWatcher::fileChanged, this, touched);
    connect(&m_watcher, &QFileSystemWatcher::directoryChanged, this, touched);
    connect(&m_settle, &QTimer::timeout, this, [this] {
        Rewatch();
        emit changed();
    });
}

void CDataFileWatcher::Follow(const std::string& path)
{
    const QString file = QFileInfo(QString::fromStdString(path)).absoluteFilePath();
    if (file == m_file) return;
    if (!m_watcher.files().isEmpty()) m_watcher.removePaths(m_watcher.files());
    if (!m_watcher.directories().isEmpty()) m_watcher.removePaths(m_watcher.directories());
    m_file = file;
    m_folder = QFileInfo(file).absolutePath();
    Rewatch();
}

void CDataFileWatcher::Rewatch()
{
    // A file replaced by a rename is a new file: watch it again. One that is gone for now
    // is watched through its folder until it comes back.
    if (!m_folder.isEmpty() && !m_watcher.directories().contains(m_folder)) m_watcher.addPath(m_folder);
    if (!m_file.isEmpty() && QFileInfo::exists(m_file)) {
        m_watcher.removePath(m_file);
        m_watcher.addPath(m_file);
    }
}
