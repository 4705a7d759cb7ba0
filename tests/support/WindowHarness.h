#pragma once
#include <QPoint>
#include <QTimer>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "app/LinksDlg.h"
#include "platform/Clipboard.h"
#include "platform/Shell.h"
#include "tests/support/FakePrompter.h"
#include "tests/support/FakeServices.h"
#include "tests/support/TempFolder.h"

// Opens links into a list; answers with a scripted error.
class FakeShell : public Shell {
public:
    Error Open(const std::string& target) override;
    std::vector<std::string> Opened() const;
    Error answer = Ok;

private:
    mutable std::mutex m_mutex;
    std::vector<std::string> m_opened;
};

class FakeClipboard : public Clipboard {
public:
    void SetText(const std::string& value) override { text = value; }
    std::string text;
};

// Presses a key in the main window as a user would (Ctrl+key unless told otherwise),
// making it the active window first: the offscreen platform has no window manager to
// give the focus back after a dialog.
void PressKey(CLinksDlg& dlg, int key, Qt::KeyboardModifiers mods = Qt::ControlModifier);

// The titles of the window's links, in list order.
std::vector<std::string> Titles(CLinksDlg& dlg);
// The titles in a data file as another program reads them (none when it cannot be opened).
std::vector<std::string> TitlesIn(const std::string& path);

// Builds the main window over a temporary documents folder, in-memory settings, a
// fixed clock and a scripted prompter.
class WindowHarness {
public:
    WindowHarness();
    ~WindowHarness();

    CLinksDlg& Open();
    void Close();  // as the Close button does
    CLinksDlg& Dlg() { return *m_dlg; }
    std::string DataPath() const;
    // Writes a data file with the given titles (categories "Cat0", "Cat1"...).
    void WriteDataFile(const std::vector<std::string>& titles, int categories = 0);
    void WriteGeneratedFile(int count);
    // Writes a data file with exactly these records.
    void WriteRecords(const std::vector<CAnnotatedLink>& records);

    // Like a user: clicks, keys and typing.
    void ClickRow(int row, Qt::KeyboardModifiers modifiers = Qt::NoModifier);
    void DoubleClickRow(int row);
    void KeyInList(int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier);
    void ClickButton(int id);
    void Type(QWidget* field, const QString& text);
    std::vector<int> SelectedRows();
    std::string Label(int id);
    // Opens the Options sheet and shows each of its pages in turn to visit (given the
    // sheet, the page and its tab's caption), then cancels it; false when no sheet opened.
    bool VisitOptionsPages(const std::function<void(QDialog& sheet, QWidget& page, const std::string& caption)>& visit);

    // The Options sheet that a failed load or save opens is cancelled and counted,
    // unless a test turns this off to work with the sheet itself.
    bool cancelOptions = true;
    int optionsOpened = 0;

    TempFolder temp;
    MemorySettings settings;
    FixedClock clock{LocalTime{2009, 6, 5, 14, 7, 9}};
    FakePrompter prompter;
    FakePaths paths;
    FakeShell shell;
    FakeClipboard clipboard;
    DesktopServices services;

private:
    std::unique_ptr<CLinksDlg> m_dlg;
    QTimer m_optionsWatch;
};
