#pragma once
#include <QMenu>
#include <map>
#include <string>
#include <vector>

// The program's commands, by the identifiers that the menu, the Ctrl keys and the window
// share; the low four bits are free.
enum CommandId { CmdAbout = 16, CmdStatistics = 32, CmdSorting = 48, CmdInvert = 64, CmdSelectAll = 80,
               CmdWordWrap = 96, CmdUndo = 112, CmdRedo = 128, CmdPreview = 144, CmdTitleCase = 160,
               CmdImport = 176, CmdExport = 208, CmdTip = 192, CmdCheckLinks = 224, CmdDuplicates = 240,
               CmdGetTitle = 256, CmdHelp = 272, CmdExit = 110 };

// The window's command menu, the place of the window system's own menu: Restore, Move,
// Minimize and Close, then the program's commands with their Ctrl keys. Every entry
// reports its identifier through triggered().
class CCommandMenu : public QMenu {
    Q_OBJECT
public:
    // The window system's own entries.
    enum SystemEntry { SysRestore = 0xF120, SysMove = 0xF010, SysMinimize = 0xF020, SysClose = 0xF060 };

    explicit CCommandMenu(QWidget* window);

    QAction* Entry(int id) const;
    // The command of a Ctrl key, or 0.
    int CommandOfKey(int key) const;
    bool IsEnabled(int id) const;
    void SetEntry(int id, const QString& caption, bool enabled);
    void SetChecked(int id, bool checked);
    // Restore can be chosen only while the window is minimised, Minimize only while not.
    void FollowWindowState();
    // The known data files, numbered after Export to switch to in one step; the one in
    // use is checked.
    void SetRecentFiles(const std::vector<std::string>& files, const std::string& inUse);

signals:
    void command(int id);
    // A data file of the list was chosen, by its index.
    void recentFile(int index);

private:
    QAction* Add(int id, const QString& caption);

    QWidget* m_window;
    std::map<int, QAction*> m_entries;
    std::map<int, int> m_keys;  // Ctrl key to command
    QAction* m_recentPlace = nullptr;  // the recent files go before it
    std::vector<QAction*> m_recent;
};
