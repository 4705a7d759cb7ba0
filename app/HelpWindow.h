#pragma once
#include <QDialog>

class QTextBrowser;

// The program's help: the keys, the search rules and the Options, from the help text
// built into the program (the README's sections for its users, so that both say the same).
class CHelpWindow : public QDialog {
public:
    explicit CHelpWindow(QWidget* parent);

    QTextBrowser* Browser() const { return m_browser; }
    // Scrolls to the heading with this text; false when there is none.
    bool ShowSection(const QString& heading);

private:
    QTextBrowser* m_browser;
};

// Opens the help over `over` (kept above it, and usable while it waits for an answer) at
// the section; a help already open over it comes forward instead.
CHelpWindow* ShowHelp(QWidget* over, const QString& section);
