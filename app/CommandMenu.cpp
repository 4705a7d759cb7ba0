#include "app/CommandMenu.h"

#include "common/QtText.h"
#include "platform/Translate.h"

namespace {

// The program's commands in menu order: each one's identifier, menu text and Ctrl key
// (an identifier of 0 is a separator; a key of 0 names its key in the text). The menu
// and the keys are both made from it.
struct CommandSpec {
    int id;
    const char* text;
    int key;
};
const CommandSpec kCommands[] = {
    {CmdStatistics, TrNoop("Main", "&Statistics..."), Qt::Key_S},
    {CmdSorting, TrNoop("Main", "Multi-C&olumn Sorting..."), Qt::Key_M},
    {CmdCheckLinks, TrNoop("Main", "Chec&k Links..."), Qt::Key_K},
    {CmdDuplicates, TrNoop("Main", "F&ind Duplicates..."), Qt::Key_U},
    {CmdGetTitle, TrNoop("Main", "&Get Title from Page"), Qt::Key_G},
    {0, nullptr, 0},
    {CmdInvert, TrNoop("Main", "In&vert Selection"), Qt::Key_I},
    {CmdSelectAll, TrNoop("Main", "Se&lect All"), Qt::Key_L},
    {CmdWordWrap, TrNoop("Main", "&Word Wrap"), Qt::Key_W},
    {CmdTitleCase, TrNoop("Main", "&Title Case"), Qt::Key_T},
    {0, nullptr, 0},
    {CmdUndo, TrNoop("Main", "&Undo"), Qt::Key_Z},
    {CmdRedo, TrNoop("Main", "Re&do"), Qt::Key_Y},
    {CmdPreview, TrNoop("Main", "Activate &Preview"), Qt::Key_P},
    {0, nullptr, 0},
    {CmdImport, TrNoop("Main", "Import &Favorites..."), Qt::Key_F},
    {CmdExport, TrNoop("Main", "&Export Bookmarks..."), Qt::Key_E},
    {0, nullptr, 0},
    {CmdHelp, TrNoop("Main", "&Quick Help...\tF1"), 0},
    {CmdTip, TrNoop("Main", "Tip of t&he Day..."), Qt::Key_D},
    {CmdAbout, TrNoop("Main", "&About Norvelle..."), Qt::Key_A},
};

}  // namespace

CCommandMenu::CCommandMenu(QWidget* window) : QMenu(window), m_window(window)
{
    Add(SysRestore, QTr("Main", "&Restore"));
    Add(SysMove, QTr("Main", "&Move"));
    Add(SysMinimize, QTr("Main", "Mi&nimize"));
    addSeparator();
    Add(SysClose, QTr("Main", "&Close"));
    addSeparator();
    for (const CommandSpec& command : kCommands) {
        if (command.id == 0) {
            QAction* separator = addSeparator();
            if (!m_recentPlace && Entry(CmdExport)) m_recentPlace = separator;
            continue;
        }
        if (command.key == 0) {
            Add(command.id, QTr("Main", command.text));
            continue;
        }
        Add(command.id, QTr("Main", command.text) + "\tCtrl+" + QChar(command.key));
        m_keys[command.key] = command.id;
    }
    Entry(CmdUndo)->setEnabled(false);
    Entry(CmdRedo)->setEnabled(false);
    Entry(CmdPreview)->setCheckable(true);
    FollowWindowState();
    connect(this, &QMenu::aboutToShow, this, &CCommandMenu::FollowWindowState);
}

int CCommandMenu::CommandOfKey(int key) const
{
    auto it = m_keys.find(key);
    return it == m_keys.end() ? 0 : it->second;
}

QAction* CCommandMenu::Add(int id, const QString& caption)
{
    QAction* action = addAction(caption);
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

void CCommandMenu::SetRecentFiles(const std::vector<std::string>& files, const std::string& inUse)
{
    for (QAction* action : m_recent) delete action;
    m_recent.clear();
    constexpr size_t kShown = 9;
    if (!files.empty()) {
        QAction* separator = new QAction(this);
        separator->setSeparator(true);
        insertAction(m_recentPlace, separator);
        m_recent.push_back(separator);
    }
    for (size_t i = 0; i < files.size() && i < kShown; ++i) {
        const QString path = DisplayText(files[i]);
        // A number is the entry's key; the name is shown with its folder elided in the middle.
        QString shown = fontMetrics().elidedText(path, Qt::ElideMiddle, fontMetrics().averageCharWidth() * 60);
        shown.replace('&', "&&");
        auto* action = new QAction(QString("&%1 %2").arg(i + 1).arg(shown), this);
        action->setCheckable(true);
        action->setChecked(files[i] == inUse);
        const int index = int(i);
        connect(action, &QAction::triggered, this, [this, index] { emit recentFile(index); });
        insertAction(m_recentPlace, action);
        m_recent.push_back(action);
    }
}
