#include "platform/qt/QtServices.h"

#include <QClipboard>
#include <QDesktopServices>
#include <QFileInfo>
#include <QGuiApplication>
#include <QProcess>
#include <QRegularExpression>
#include <QThread>
#include <QUrl>

void QtClipboard::SetText(const std::string& text)
{
    QString value = QString::fromUtf8(text.data(), qsizetype(text.size()));
    auto set = [value] { QGuiApplication::clipboard()->setText(value); };
    if (QThread::currentThread() == qApp->thread())
        set();
    else
        QMetaObject::invokeMethod(qApp, set, Qt::BlockingQueuedConnection);
}

Shell::Error QtShell::Open(const std::string& target)
{
    const QString link = QString::fromUtf8(target.data(), qsizetype(target.size()));
    // A scheme of two or more letters makes a URL; "C:\..." is a file name.
    static const QRegularExpression scheme("^[A-Za-z][A-Za-z0-9+.-]+:");
    const bool isUrl = scheme.match(link).hasMatch() && !link.startsWith("file:", Qt::CaseInsensitive);
    QString path = link;
    if (!isUrl) {
        if (link.startsWith("file:", Qt::CaseInsensitive)) path = QUrl(link).toLocalFile();
        QFileInfo info(path);
        if (!info.exists()) return FileNotFound;
        if (!info.isReadable()) return AccessDenied;
    }
#if defined(Q_OS_LINUX) || defined(Q_OS_FREEBSD)
    QProcess opener;
    opener.setProgram("xdg-open");
    opener.setArguments({isUrl ? link : path});
    opener.setStandardInputFile(QProcess::nullDevice());
    opener.setStandardOutputFile(QProcess::nullDevice());
    opener.setStandardErrorFile(QProcess::nullDevice());
    opener.start();
    if (!opener.waitForStarted(10000)) return NoAssociation;  // no opener installed
    opener.waitForFinished(-1);
    if (opener.exitStatus() != QProcess::NormalExit) return Other;
    switch (opener.exitCode()) {
    case 0: return Ok;
    case 2: return FileNotFound;
    case 3: return NoAssociation;  // no program for the type
    case 4: return Other;          // the opener failed for another reason
    default: return Other;
    }
#else
    bool opened = QDesktopServices::openUrl(isUrl ? QUrl(link) : QUrl::fromLocalFile(path));
    return opened ? Ok : NoAssociation;
#endif
}
