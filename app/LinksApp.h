#pragma once
#include <QIcon>

// The application: selects the settings location, runs the main window modally, and
// ends when it closes.
class CLinksApp {
public:
    int Run(int argc, char** argv);
};

// The program's icon, from the desktop's icon theme or built into the program.
QIcon ProgramIcon();
