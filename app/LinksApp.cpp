#include "app/LinksApp.h"

#include <QApplication>
#include <QIcon>
#include <QSessionManager>
#include <cstdio>
#include <cstdlib>

#include "app/LinksDlg.h"
#include "common/AccessibleName.h"
#include "common/Translations.h"
#include "platform/Clock.h"
#include "options/Settings.h"
#include "platform/Prompter.h"
#include "platform/qt/QtEndRequests.h"
#include "platform/qt/QtInstanceLock.h"
#include "platform/qt/QtPaths.h"
#include "platform/qt/QtPrompter.h"
#include "platform/qt/QtServices.h"
#include "platform/qt/QtSettingsBackend.h"
#include "titlecase/TitleCaser.h"
#include "platform/Translate.h"

namespace {
// Qt aborts when it cannot reach a display; say so plainly instead.
bool DisplayAvailable()
{
#if defined(Q_OS_LINUX) || defined(Q_OS_FREEBSD)
    auto set = [](const char* name) {
        const char* value = std::getenv(name);
        return value && *value;
    };
    return set("DISPLAY") || set("WAYLAND_DISPLAY") || set("QT_QPA_PLATFORM");
#else
    return true;
#endif
}
}  // namespace

QIcon ProgramIcon()
{
    // The installed theme icon where there is one; the icon built into the program
    // otherwise, so that a build tree or a broken installation still shows it.
    QIcon builtIn;
    for (int size : {16, 22, 24, 32, 48, 64, 128, 256}) builtIn.addFile(QString(":/icons/%1.png").arg(size), QSize(size, size));
    return QIcon::fromTheme(NORVELLE_APP_ID, builtIn);
}

int CLinksApp::Run(int argc, char** argv)
{
    if (!DisplayAvailable()) {
        std::fprintf(stderr,
                     "norvelle: no display found (neither DISPLAY nor WAYLAND_DISPLAY is set).\n"
                     "Start Norvelle from a desktop session.\n");
        return 1;
    }
    QApplication app(argc, argv);
    QApplication::setOrganizationName("Quenby Software");
    QApplication::setApplicationName("Norvelle");
    QApplication::setApplicationVersion(NORVELLE_VERSION);
    // Ties the windows to the desktop entry (task bar grouping, Wayland's app id).
    QGuiApplication::setDesktopFileName(NORVELLE_APP_ID);
    QApplication::setWindowIcon(ProgramIcon());
    // The windows speak the desktop's language where Norvelle has a translation for it.
    UseLanguage(QLocale::system());
    InstallAccessibleNames();

    QtSettingsBackend settings;
    QtPrompter prompter;
    SystemClock clock;
    QtPaths paths;
    QtShell shell;
    QtClipboard clipboard;
    DesktopServices services{prompter, settings, clock, paths, shell, clipboard};

    // A second window on the same data file would overwrite the first one's changes:
    // bring the first one forward instead.
    CSettings configured;
    CTitleCaser exceptions;
    LoadSettings(settings, configured, exceptions);
    std::unique_ptr<QtInstanceLock> instance;
    if (!FollowDataFile(instance, ConfiguredDataPath(configured, DefaultDataFolderOf(paths)))) return 0;

    // Messages raised while the window is being built have no owner yet.
    auto dialog = std::make_unique<CLinksDlg>(services);
    prompter.SetOwner(dialog.get());
    auto comeForward = [&dialog] {
        if (dialog->isMinimized()) dialog->showNormal();
        dialog->raise();
        dialog->activateWindow();
    };
    // The hold answers a second start and the browser's host, on whichever file the window has.
    auto answerOthers = [&] {
        QObject::connect(instance.get(), &QtInstanceLock::activationRequested, dialog.get(), comeForward);
        instance->SetMessageHandler([&dialog](const std::string& message) { return dialog->AnswerBrowser(message); });
    };
    answerOthers();
    // The hold goes with the window to another data file chosen in Options.
    QObject::connect(dialog.get(), &CLinksDlg::dataFileInEffect, dialog.get(), [&](const QString& path) {
        QtInstanceLock* before = instance.get();
        if (!FollowDataFile(instance, path.toStdString())) {
            prompter.Notice(FormatPathMessage(Tr("Main", "The data file \"%.259s\" is open in another Norvelle window too.  "
                                              "Before either window saves, it checks whether the other one "
                                              "changed the file."), path.toStdString()));
            return;
        }
        if (instance.get() != before) answerOthers();
    });
    // A shutdown or a logout ends the window as a close does, saving the links, instead
    // of ending the process where it stands.
    QtEndRequests ends;
    QObject::connect(&ends, &QtEndRequests::endRequested, dialog.get(), &CLinksDlg::RequestEnd);
#ifndef QT_NO_SESSIONMANAGER
    // Windows ends the process right after the session manager's request, without closing
    // the window first.
    QObject::connect(&app, &QGuiApplication::commitDataRequest, dialog.get(), [&dialog](QSessionManager&) {
        dialog->SaveForSessionEnd();
    });
#endif
    dialog->exec();
    dialog.reset();
    return 0;
}
