// norvelle-host: the program a browser starts for Norvelle's extension. It answers the
// extension's messages (native messaging on standard input and output) over the data
// file that the window uses, and ends when the browser closes its input.
#include <QCoreApplication>
#include <iostream>

#include "host/HostSession.h"
#include "options/Settings.h"
#include "platform/Clock.h"
#include "platform/qt/QtInstanceLock.h"
#include "platform/qt/QtPaths.h"
#include "platform/qt/QtSettingsBackend.h"
#include "session/Persistence.h"
#include "titlecase/TitleCaser.h"

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    // The window's settings: the same data file.
    QCoreApplication::setOrganizationName("Quenby Software");
    QCoreApplication::setApplicationName("Norvelle");
    QtSettingsBackend backend;
    QtPaths paths;
    CSettings settings;
    CTitleCaser exceptions;
    LoadSettings(backend, settings, exceptions);
    SystemClock clock;
    HostEnvironment environment{ConfiguredDataPath(settings, DefaultDataFolderOf(paths)), {}, {}, NORVELLE_VERSION,
                                clock};
    environment.windowOpen = [&] { return QtInstanceLock::HeldByAWindow(environment.dataPath); };
    environment.askWindow = [&](const std::string& message, std::string& answer) {
        return QtInstanceLock::AskWindow(environment.dataPath, message, answer);
    };
    std::ios::sync_with_stdio(false);
    return RunHost(std::cin, std::cout, environment);
}
