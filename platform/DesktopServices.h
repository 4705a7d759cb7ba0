#pragma once

class Clipboard;
class Clock;
class Paths;
class Prompter;
class SettingsBackend;
class Shell;

// What the main window needs from the desktop; tests pass fakes.
struct DesktopServices {
    Prompter& prompter;
    SettingsBackend& settings;
    Clock& clock;
    Paths& paths;
    Shell& shell;
    Clipboard& clipboard;
};
