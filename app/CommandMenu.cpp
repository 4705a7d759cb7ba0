#include "app/CommandMenu.h"

#include "app/LinksDlg.h"

CCommandMenu::CCommandMenu(QWidget* window) : QMenu(window), m_window(window)
{
    Add(SysRestore, "&Restore");
    Add(SysMove, "&Move");
    Add(SysMinimize, "Mi&nimize");
    addSeparator();
    Add(SysClose, "&Close");
    addSeparator();
    Add(CLinksDlg::CmdStatistics, "&Statistics...\tCtrl+S");
    Add(CLinksDlg::CmdSorting, "Multi-C&olumn Sorting...\tCtrl+M");
    Add(CLinksDlg::CmdCheckLinks, "Chec&k Links...\tCtrl+K");
    Add(CLinksDlg::CmdDuplicates, "F&ind Duplicates...\tCtrl+U");
    Add(CLinksDlg::CmdGetTitle, "&Get Title from Page\tCtrl+G");
    addSeparator();
    Add(CLinksDlg::CmdInvert, "In&vert Selection\tCtrl+I");
    Add(CLinksDlg::CmdSelectAll, "Se&lect All\tCtrl+L");
    Add(CLinksDlg::CmdWordWrap, "&Word Wrap\tCtrl+W");
    Add(CLinksDlg::CmdTitleCase, "&Title Case\tCtrl+T");
    addSeparator();
    Add(CLinksDlg::CmdUndo, "&Undo\tCtrl+Z")->setEnabled(false);
    Add(CLinksDlg::CmdRedo, "Re&do\tCtrl+Y")->setEnabled(false);
    Add(CLinksDlg::CmdPreview, "Activate &Preview\tCtrl+P")->setCheckable(true);
    addSeparator();
    Add(CLinksDlg::CmdImport, "Import &Favorites...\tCtrl+F");
    Add(CLinksDlg::CmdExport, "&Export Bookmarks...\tCtrl+E");
    addSeparator();
    Add(CLinksDlg::CmdTip, "Tip of t&he Day...\tCtrl+D");
    Add(CLinksDlg::CmdAbout, "&About Norvelle...\tCtrl+A");
    FollowWindowState();
    connect(this, &QMenu::aboutToShow, this, &CCommandMenu::FollowWindowState);
}

QAction* CCommandMenu::Add(int id, const char* caption)
{
    QAction* action = addAction(QString::fromUtf8(caption));
    m_entries[id] = action;
    connect(action, &QAction::triggered, this, [this, id] { emit command(id); });
    return action;
}

QAction* CCommandMenu::Entry(int id) const
{
    auto it = m_entries.find(id);
    return it == m_entries.end() ? nullptr : it->second;
}

bool CCommandMenu::IsEnabled(int id) const
{
    QAction* action = Entry(id);
    return action && action->isEnabled();
}

void CCommandMenu::SetEntry(int id, const QString& caption, bool enabled)
{
    if (QAction* action = Entry(id)) {
        action->setText(caption);
        action->setEnabled(enabled);
    }
}

void CCommandMenu::SetChecked(int id, bool checked)
{
    if (QAction* action = Entry(id)) action->setChecked(checked);
}

void CCommandMenu::FollowWindowState()
{
    const bool minimized = m_window->isMinimized();
    Entry(SysRestore)->setEnabled(minimized);
    Entry(SysMinimize)->setEnabled(!minimized);
}
