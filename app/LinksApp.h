#pragma once

// The application: selects the settings location, runs the main window modally, and
// ends when it closes.
class CLinksApp {
public:
    int Run(int argc, char** argv);
};
