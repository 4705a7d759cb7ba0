#include <QApplication>
#include <QContextMenuEvent>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QToolButton>

#include "app/HelpWindow.h"
#include "app/LinkListCtrl.h"
#include "app/LinksDlg.h"
#include "app/RowMenu.h"
#include "app/TipDlg.h"
#include "common/AboutDlg.h"
#include "options/OptionsSheet.h"
#include "options/CountFormatter.h"
#include "platform/Clipboard.h"
#include "platform/Paths.h"
#include "platform/Prompter.h"
#include "session/WordWrap.h"
#include "stats/StatisticsDlg.h"
#include "platform/Translate.h"

// The main window's commands: the menu's and the Ctrl keys', the commands on the
// selection, Word Wrap, Title Case, and what Undo asks of the window.

void CLinksDlg::SystemCommand(int id)
{
    if (id < CCommandMenu::SysMove && IsSearchBusy()) return;
    switch (id & 0xFFF0) {
    case CmdInvert: InvertSelection(); break;
    case CmdSelectAll: SelectAll(); break;
    case CmdWordWrap: WordWrap(); break;
    case CmdTitleCase: TitleCaseCommand(); break;
    case CmdUndo: m_undoCommands.Step(false); break;
    case CmdRedo: m_undoCommands.Step(true); break;
    case CmdPreview:
        m_undoCommands.SetPreview(!m_undoCommands.PreviewOn());
        m_ui.menu->SetChecked(CmdPreview, m_undoCommands.PreviewOn());
        break;
    case CmdStatistics:
        ShowStatistics(m_store, m_ui.list->States().SelectedCount(), CCountFormatter(m_settings), this);
        break;
    case CmdSorting: m_sorter->SortCommand(); break;
    case CmdTip: TipCommand(); break;
    case CmdAbout: AboutCommand(); break;
    case CmdHelp: HelpCommand(); break;
    case CmdImport: m_import.ImportCommand(); break;
    case CmdExport: m_import.ExportCommand(); break;
    case CmdCheckLinks: m_health.CheckLinksCommand(); break;
    case CmdDuplicates: m_health.DuplicatesCommand(); break;
    case CmdGetTitle: m_health.GetTitleCommand(); break;
    case CCommandMenu::SysRestore: showNormal(); break;
    case CCommandMenu::SysMove: m_keys->StartKeyboardMove(); break;
    case CCommandMenu::SysMinimize: showMinimized(); break;
    case CCommandMenu::SysClose: close(); break;
    default: break;
    }
}

void CLinksDlg::contextMenuEvent(QContextMenuEvent* event)
{
    // A right-click on the window's free area; the controls have menus of their own.
    ShowCommandMenu(event->globalPos());
}

void CLinksDlg::ShowCommandMenu(const QPoint& at) { m_ui.menu->popup(at); }

void CLinksDlg::ShowCommandMenu() { ShowCommandMenu(m_ui.menuButton->mapToGlobal(QPoint(0, m_ui.menuButton->height()))); }

void CLinksDlg::ShowRowMenu(int row, const QPoint& globalPos)
{
    if (row < 0 || row >= m_store.Count()) return;
    m_ui.list->States().SetMark(row);
    RetrieveLink(true);
    RowMenuCommands commands;
    commands.launch = [this] { OnLaunch(); };
    commands.copyLink = [this] { m_services.clipboard.SetText(m_fields->Link()); };
    commands.remove = [this] { OnDelete(); };
    commands.checkLink = [this] { m_health.CheckLinksCommand(true); };
    commands.getTitle = [this] { m_health.GetTitleCommand(); };
    PopupRowMenu(this, globalPos, commands, m_ui.menu);
}

void CLinksDlg::SelectAll()
{
    BeginListUpdate();
    RowStates& states = m_ui.list->States();
    states.SelectAll();
    ShowNewSelection(states.Rows() > 0 ? 0 : -1);
    EndListUpdate();
}

void CLinksDlg::InvertSelection()
{
    BeginListUpdate();
    ShowNewSelection(m_ui.list->States().Invert());
    EndListUpdate();
}

void CLinksDlg::WordWrap()
{
    auto lock = m_store.Lock();
    BeginListUpdate();
    // Lines are measured as the Description field shows them, less a small margin.
    const QFontMetrics metrics(m_ui.description->font());
    const int width = m_ui.description->viewport()->width() - 4;
    const MeasureText measure = [&metrics](std::string_view text) {
        return metrics.horizontalAdvance(QString::fromUtf8(text.data(), qsizetype(text.size())));
    };
    if (FormIsTheTarget(m_ui.description)) {
        // The whole description, also the part a cut field does not show.
        m_fields->ChangeByCommand(CFormFields::CommandField::Description,
                                  WrapDescription(m_fields->Description(), width, measure), m_undo.Changes());
        EnableFormCommandSteps();
    } else {
        m_editor.ChangeTexts(CAnnotatedLink::Text::Description, m_ui.list->States().SelectedRows(),
                             [&](std::string& description) { description = WrapDescription(description, width, measure); });
        RetrieveLink(false);
    }
    EndListUpdate();
}

bool CLinksDlg::FormIsTheTarget(QWidget* field) const
{
    // What the person typed is theirs to change: the form since it was filled, or the field
    // they are in. Only an untouched form with several rows selected leaves it to the rows.
    return m_fields->Edited() || field->hasFocus() || m_ui.list->States().SelectedCount() < 2;
}

void CLinksDlg::TitleCaseCommand()
{
    auto lock = m_store.Lock();
    BeginListUpdate();
    if (FormIsTheTarget(m_ui.title)) {
        std::string title = m_fields->Title();
        m_titleCaser.Convert(title);
        m_fields->ChangeByCommand(CFormFields::CommandField::Title, title, m_undo.Changes());
        EnableFormCommandSteps();
    } else {
        m_editor.ChangeTexts(CAnnotatedLink::Text::Title, m_ui.list->States().SelectedRows(),
                             [this](std::string& title) { m_titleCaser.Convert(title); });
        RetrieveLink(false);
    }
    EndListUpdate();
}

const CAnnotatedLink* CLinksDlg::ShownRecord()
{
    RowStates& states = m_ui.list->States();
    if (states.Retrieved() >= 0 && states.Retrieved() < m_store.Count()) return &m_store.At(states.Retrieved());
    states.SetRetrieved(-1);
    return nullptr;
}

void CLinksDlg::StepTaken()
{
    ShowCounts();
    m_searcher.StepsFrom(m_ui.list->States().Mark());
    m_health.RecordsChanged();
}

void CLinksDlg::RestoreDeletedLinks(std::vector<LinkStore::Record>& records)
{
    if (records.empty()) return;
    if (!m_editor.RestoreRecords(records))
        m_prompter.Error(Tr("Main", "Could not restore all of the deleted links."));
    else
        m_ui.list->EnsureRowVisible(m_store.Count() - 1);
}

std::vector<LinkStore::Record> CLinksDlg::RemoveLinkRows(const std::unordered_set<const CAnnotatedLink*>& records)
{
    const bool hadRetrieved = m_ui.list->States().Retrieved() >= 0;
    std::vector<LinkStore::Record> taken = m_editor.TakeRecords(records);
    // The retrieved row followed its record; a removed record leaves the form unbound.
    if (hadRetrieved && m_ui.list->States().Retrieved() < 0) m_retrieved = false;
    return taken;
}

bool CLinksDlg::StepFormCommand(bool redo)
{
    if (!m_fields->StepCommand(redo, m_undo.Changes())) return false;
    EnableFormCommandSteps();
    return true;
}

void CLinksDlg::EnableFormCommandSteps()
{
    for (const bool redo : {false, true}) {
        QAction* entry = m_ui.menu->Entry(redo ? CmdRedo : CmdUndo);
        if (m_fields->CanStepCommand(redo, m_undo.Changes())) entry->setEnabled(true);
    }
}

void CLinksDlg::SetUndoCaption(const std::string& caption, bool enabled)
{
    m_ui.menu->SetEntry(CmdUndo, QString::fromStdString(caption), enabled);
}

void CLinksDlg::SetRedoCaption(const std::string& caption, bool enabled)
{
    m_ui.menu->SetEntry(CmdRedo, QString::fromStdString(caption), enabled);
}

void CLinksDlg::TipCommand()
{
    // Beside the program first, so that a build tree finds its own file.
    const std::vector<std::string> folders = {m_services.paths.ProgramFolder(), NORVELLE_DATA_DIR};
    if (!ShowTipOfTheDay(this, m_prompter, folders, m_settings)) m_ui.list->setFocus();
    m_options.SaveSettings();
}

void CLinksDlg::AboutCommand()
{
    CAboutDlg dlg(m_services.shell, m_services.clipboard, m_prompter, this);
    dlg.exec();
}

void CLinksDlg::HelpCommand()
{
    QWidget* over = QApplication::activeModalWidget();
    const bool options = qobject_cast<COptionsSheet*>(over) != nullptr;
    ShowHelp(over ? over : this, options ? "Options" : "Using Norvelle");
}
