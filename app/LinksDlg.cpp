#include "app/LinksDlg.h"

#include <QApplication>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QToolButton>

#include "app/LinkListCtrl.h"
#include "common/EndDialogs.h"
#include "common/SortedComboBox.h"
#include "options/CountFormatter.h"
#include "platform/Prompter.h"
#include "platform/qt/QtHttpFetcher.h"
#include "store/FileIO.h"
#include "store/NaturalCompare.h"
#include "common/QtText.h"
#include "platform/Translate.h"

CLinksDlg::CLinksDlg(DesktopServices& services, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                          Qt::WindowMaximizeButtonHint | Qt::WindowCloseButtonHint),
      m_services(services), m_prompter(services.prompter),
      m_persistence(m_store, m_settings, services.prompter, services.clock, *this), m_undo(*this, services.prompter),
      m_undoCommands(*this, m_undo, m_store, m_settings, this),
      m_editor(m_store, m_undo, services.clock), m_launcher(services.shell, services.prompter),
      m_health(*this, services.prompter, [this] { return CCountFormatter(m_settings); },
               [] { return std::make_unique<QtHttpFetcher>(); }, this),
      m_import(*this, services.prompter, m_settings, services.clock, services.paths, this),
      m_searcher(*this, m_store, m_settings, nullptr),
      m_options(*this, m_store, m_settings, m_titleCaser, services.settings, services.prompter, this),
      m_timedSave(m_persistence, m_store, m_settings)
{
    m_placement = std::make_unique<WindowPlacementStore>(services.settings, *this);
    LoadSettings(services.settings, m_settings, m_titleCaser);
    m_persistence.SettlePaths(services.paths);

    // Initialisation of the window, in order.
    setWindowTitle(QTr("Main", "Norvelle Desk"));
    m_ui = BuildMainControls(*this, m_store, m_settings, m_prompter);
    WireControls();
    m_ui.list->SetEmptyText(QTr("Main", "No links yet.\n\nType a Title and a Link below and press Add, drag a link here from "
                            "your browser, or bring in your bookmarks with Import Favorites (Ctrl+F)."));
    m_searcher.Attach(*m_ui.search, *m_ui.previous, *m_ui.next);
    m_fields = std::make_unique<CFormFields>(*m_ui.title, *m_ui.link, *m_ui.description, *m_ui.category,
                                             *m_ui.dateLabel, nullptr);
    m_sorter = std::make_unique<CSortController>(m_store, *m_ui.list->horizontalHeader(), services.settings, [this](bool begin) {
        if (begin) BeginListUpdate();
        else EndListUpdate();
    }, this);
    SetDeleteCaption();
    m_sync = new CSyncController(*this, m_store, m_persistence, m_prompter, services.settings, this);
    // A new window has a person to answer again.
    m_prompter.SetUnattended(false);
    const bool firstStart = !PathExists(m_persistence.DataPath());
    m_persistence.LoadDataFile(nullptr, false);
    for (const std::string& message : TakeMessagesOfTheLastEnd(services.settings)) m_prompter.Notice(message);
    if (m_settings.restoreWndPlacement) m_placedByPerson = m_placement->Restore(false);
    m_placement->RestoreColumns(*m_ui.list->horizontalHeader());

    m_tipTimer.setSingleShot(true);
    connect(&m_tipTimer, &QTimer::timeout, this, [this, firstStart] {
        // Never between a failed load's message and the sheet that lets the person mend it.
        if (m_savingOffered) return;
        // A first start offers the browsers' bookmarks instead of a tip.
        if (firstStart && m_store.Count() == 0) m_import.OfferFirstImport();
        else if (m_settings.showDayTip) TipCommand();
    });
    m_tipTimer.start(0);
    m_retrieveTimer.setSingleShot(true);
    m_retrieveTimer.setInterval(50);
    connect(&m_retrieveTimer, &QTimer::timeout, this, [this] { RetrieveLink(false, true); });
    m_timedSave.Restart();

    m_keys = std::make_unique<CWindowKeys>(*this, m_ui, CWindowKeys::Actions{
        [this] { ExitCommand(); }, [this] { ShowCommandMenu(); }, [this](int id) { SystemCommand(id); },
        [this] { return m_searcher.TakeBack(); }, [this] { HelpCommand(); }});
    // A bookmark file dropped on the window opens the import with its name.
    setAcceptDrops(true);
}

CLinksDlg::~CLinksDlg()
{
    m_keys.reset();
    if (!m_shutDown) {
        // A window that goes without being closed asks nothing: no one is there to answer.
        m_prompter.SetUnattended(true);
        SaveBeforeClosing(false);
        HoldMessagesForNextStart(m_services.settings, m_prompter.TakeHeldMessages());
        Shutdown();
    }
    m_searcher.StopSearches();
    // A worker may be showing a message through the window thread: keep serving it
    // until every job has finished, so that no job is freed under its worker.
    while (!m_timedSave.Job().IsFinished() || !m_launcher.AllFinished())
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    m_timedSave.Job().Wait();
    m_launcher.WaitAll();
    m_store.SetListener(nullptr);
    // The list reads the store, which is a member and goes before the child widgets do.
    delete m_ui.list;
    m_ui.list = nullptr;
}

void CLinksDlg::WireControls()
{
    connect(m_ui.list, &CLinkListCtrl::clicked, this, [this] { RetrieveLink(true); });
    connect(m_ui.list, &CLinkListCtrl::doubleClicked, this, WhenIdle([this] { OnLaunch(); }));
    connect(m_ui.list, &CLinkListCtrl::rightClicked, this, &CLinksDlg::UpdateSelectedCount);
    connect(m_ui.list, &CLinkListCtrl::rowMenuRequested, this, WhenIdle([this](int row, QPoint at) { ShowRowMenu(row, at); }));
    connect(m_ui.list, &CLinkListCtrl::keyDown, this, &CLinksDlg::OnListKey);
    // The count follows the selection at once; the form follows the row as after any key.
    connect(m_ui.list, &CLinkListCtrl::rowPickedByKey, this, [this] {
        UpdateSelectedCount();
        m_retrieveTimer.start();
    });
    connect(m_ui.list->horizontalHeader(), &QHeaderView::sectionClicked, this, WhenIdle([this](int c) { m_sorter->OnColumnClick(c); }));
    connect(&m_ui.list->Model(), &LinkListModel::categoriesChanged, this, &CLinksDlg::OnCategoriesChanged);
    connect(m_ui.launch, &QPushButton::clicked, this, WhenIdle([this] { OnLaunch(); }));
    connect(m_ui.add, &QPushButton::clicked, this, WhenIdle([this] { OnAdd(); }));
    connect(m_ui.modify, &QPushButton::clicked, this, WhenIdle([this] { OnModify(); }));
    connect(m_ui.clear, &QPushButton::clicked, this, WhenIdle([this] { OnClear(); }));
    connect(m_ui.remove, &QPushButton::clicked, this, WhenIdle([this] { OnDelete(); }));
    connect(m_ui.options, &QPushButton::clicked, this, WhenIdle([this] { OnOptions(); }));
    connect(m_ui.close, &QPushButton::clicked, this, &QDialog::accept);
    connect(m_ui.menu, &CCommandMenu::command, this, &CLinksDlg::SystemCommand);
    connect(m_ui.menu, &QMenu::aboutToShow, this, [this] { m_ui.menu->SetRecentFiles(m_settings.dataFiles, DataPath()); });
    connect(m_ui.menu, &CCommandMenu::recentFile, this, WhenIdle([this](int index) {
        if (index < int(m_settings.dataFiles.size())) m_options.SwitchDataFile(m_settings.dataFiles[size_t(index)]);
    }));
    connect(m_ui.menuButton, &QToolButton::clicked, this, [this] { ShowCommandMenu(); });

}

void CLinksDlg::resizeEvent(QResizeEvent* event)
{
    QDialog::resizeEvent(event);
    PlaceForSize(m_ui, size());
}

void CLinksDlg::showEvent(QShowEvent* event)
{
    // Before the window is mapped, so that the window manager takes the place given.
    if (!std::exchange(m_shown, true) && !m_placedByPerson) m_placement->PlaceOnScreen();
    QDialog::showEvent(event);
}

void CLinksDlg::SetDeleteCaption() { m_ui.remove->setText(m_settings.confirmDelete ? QTr("Main", "&Delete...") : QTr("Main", "&Delete!")); }

QPushButton* CLinksDlg::Button(int id) const
{
    switch (id) {
    case 1: return m_ui.close;
    case 1005: return m_ui.launch;
    case 1007: return m_ui.clear;
    case 1008: return m_ui.options;
    case 1010: return m_ui.previous;
    case 1011: return m_ui.next;
    case 1014: return m_ui.remove;
    case 1026: return m_ui.add;
    case 1053: return m_ui.modify;
    default: return nullptr;
    }
}

// ---- The list ----

void CLinksDlg::BeginListUpdate() { m_ui.list->BeginUpdate(); }

void CLinksDlg::EndListUpdate()
{
    m_ui.list->EndUpdate();
    if (m_categoriesPending && !m_ui.list->IsUpdating()) SyncCategoryBox();
}

void CLinksDlg::UpdateSelectedCount()
{
    m_ui.selectedLabel->setText(QString::fromStdString(
        CCountFormatter(m_settings).Plural(m_ui.list->States().SelectedCount(), Tr("Main", "%1 Selected Link"), Tr("Main", "%1 Selected Links"))));
}

void CLinksDlg::UpdateTotalCount()
{
    m_ui.totalLabel->setText(QString::fromStdString(CCountFormatter(m_settings).Plural(m_store.Count(), Tr("Main", "%1 Total Link"), Tr("Main", "%1 Total Links"))));
}

void CLinksDlg::ShowCounts()
{
    UpdateTotalCount();
    UpdateSelectedCount();
}

void CLinksDlg::ShowRow(int row)
{
    m_ui.list->States().SetMark(row);
    RetrieveLink(false);
    m_ui.list->EnsureRowVisible(row);
    m_searcher.StepsFrom(row);
}

void CLinksDlg::ShowNewSelection(int first)
{
    m_ui.list->States().SetFocus(-1);
    if (first >= 0) ShowRow(first);
    UpdateSelectedCount();
}

// ---- Commands ----

void CLinksDlg::OnAdd()
{
    AddSearchHistory();
    m_retrieved = false;
    SaveCurrentLink(true);
}

void CLinksDlg::OnModify()
{
    AddSearchHistory();
    if (m_retrieved && m_ui.list->States().Retrieved() >= 0)
        SaveCurrentLink(true);
    else
        m_prompter.Error(Tr("Main", "No item is selected for modification."));
}

void CLinksDlg::OnClear()
{
    AddSearchHistory();
    ClearForm(false);
    m_ui.search->setEditText(QString());
}

void CLinksDlg::OnDelete()
{
    auto lock = m_store.Lock();
    AddSearchHistory();
    RowStates& states = m_ui.list->States();
    const int selected = states.SelectedCount();
    if (selected == 0) return;
    if (m_settings.confirmDelete && !m_prompter.Ask(CCountFormatter(m_settings).Plural(selected, Tr("Main", "Delete %1 item?"), Tr("Main", "Delete %1 items?"))))
        return;
    BeginListUpdate();
    m_editor.DeleteRows(states.SelectedRows());
    m_retrieved = false;
    EndListUpdate();
    ShowCounts();
    // The selected rows went: Previous and Next have nothing left to go to.
    m_searcher.StepsFrom(states.Mark());
}

void CLinksDlg::OnLaunch()
{
    AddSearchHistory();
    std::string link(TrimView(m_fields->Link()));
    if (link.empty())
        m_prompter.Error(Tr("Main", "Please put a link or full filename in the Link field."));
    else
        m_launcher.Launch(link, ParentFolder(m_persistence.DataPath()));
}

void CLinksDlg::OnListKey(int key, Qt::KeyboardModifiers)
{
    if (key == Qt::Key_Control || key == Qt::Key_Shift || key == Qt::Key_Space) return;
    if (key == Qt::Key_Delete) {
        WhenIdle([this] { OnDelete(); })();
        return;
    }
    m_retrieveTimer.start();
}

void CLinksDlg::OnOptions()
{
    AddSearchHistory();
    m_options.Open(COptionsController::SavingPage);
}

void CLinksDlg::ExitCommand()
{
    if (m_prompter.Ask(Tr("Main", "Do you want to exit Norvelle?"))) accept();
}

// ---- Loading, saving and closing ----

void CLinksDlg::ResetStore()
{
    auto lock = m_store.Lock();
    m_store.FreeAllLinks();
    // The history refers to the records just freed.
    m_undo.Clear();
    ShowCounts();
    m_ui.search->clear();
    ClearForm(true);
}

void CLinksDlg::EmptyCategoryField() { m_fields->EmptyCategory(); }

void CLinksDlg::LoadFinished()
{
    m_ui.search->setEditText(QString());
    m_searcher.SetSteps(false, false);
    ShowCounts();
    // Once the load has returned: the look for conflict copies may ask a question.
    QMetaObject::invokeMethod(m_sync, &CSyncController::FollowDataFile, Qt::QueuedConnection);
    m_searcher.LoadEnded();
}

void CLinksDlg::OpenSavingOptions()
{
    // Once the failure has been reported and the operation has returned: a load at
    // start-up fails before the window is even shown, and a timed save fails on a worker.
    m_savingOffered = true;
    QMetaObject::invokeMethod(this, [this] {
        // Not once the system is ending the program: nobody would be there to answer.
        if (!m_endRequested) m_options.Open(COptionsController::SavingPage);
    }, Qt::QueuedConnection);
}

void CLinksDlg::RequestEnd()
{
    if (m_shutDown || m_endRequested) return;
    m_endRequested = true;
    // Every open question takes its safe answer, and no new one is shown.
    m_prompter.SetUnattended(true);
    CancelDialogsOver(*this);
    QDialog::done(QDialog::Rejected);
}

void CLinksDlg::SaveForSessionEnd()
{
    if (m_shutDown) return;
    SaveBeforeClosing(false);
    m_timedSave.Restart();
}

void CLinksDlg::done(int result)
{
    // Closed at the system's request: the links are saved once every dialog has returned.
    if (m_endRequested) {
        QDialog::done(result);
        return;
    }
    if (!m_shutDown && !SaveBeforeClosing(true)) return;
    if (!m_shutDown) Shutdown();
    QDialog::done(result);
}

bool CLinksDlg::SaveBeforeClosing(bool mayStay)
{
    // A background search reads the records that a save or a reset may change.
    m_searcher.StopSearches();
    // Waits here for a timed save that is running.
    auto lock = m_store.Lock();
    m_timedSave.Stop();
    StoreFormEdit();
    if (!m_store.IsChanged() || !m_settings.saveOnClose || m_persistence.SaveDataFile(nullptr, false)) return true;
    // The save failed and said why: the user may stay to save the links elsewhere. No is
    // the default, so that Enter twice does not lose them.
    if (!mayStay && m_prompter.Unattended()) m_persistence.KeepUnsavedLinksAtEnd();
    if (!mayStay || m_prompter.Show(Tr("Main", "Your changes will be lost.  Proceed?"), Prompter::Icon::Question,
                                    Prompter::Buttons::YesNo, false) == Prompter::Answer::Yes)
        return true;
    m_timedSave.Restart();
    OpenSavingOptions();
    return false;
}

void CLinksDlg::Shutdown()
{
    m_shutDown = true;
    // A link check in progress stops with the window.
    m_health.CloseWindows();
    auto lock = m_store.Lock();
    m_store.FreeAllLinks();
    m_placement->Save();
    m_placement->SaveColumns(*m_ui.list->horizontalHeader());
}

std::vector<int> CLinksDlg::SelectedRows() { return m_ui.list->States().SelectedRows(); }

void CLinksDlg::SelectRows(const std::vector<int>& rows)
{
    auto lock = m_store.Lock();
    BeginListUpdate();
    RowStates& states = m_ui.list->States();
    states.ClearSelection();
    for (int row : rows) states.SetSelected(row, true);
    ShowNewSelection(rows.empty() ? -1 : rows.front());
    EndListUpdate();
}

void CLinksDlg::FocusList()
{
    raise();
    activateWindow();
    m_ui.list->setFocus();
}

void CLinksDlg::ChangeRecords(const std::vector<CAnnotatedLink*>& records, const std::function<void()>& change)
{
    auto lock = m_store.Lock();
    // An edit in the form goes into its record first, as leaving the record would do,
    // so that it neither is lost nor later writes the old text back.
    if (m_fields->Edited() && m_retrieved) SaveCurrentLink(false);
    BeginListUpdate();
    m_editor.ChangeRecords(records, change);
    if (const CAnnotatedLink* shown = m_retrieved ? ShownRecord() : nullptr;
        shown && std::find(records.begin(), records.end(), shown) != records.end())
        ShowLink(*shown);
    EndListUpdate();
}

CLinkDate CLinksDlg::Now() { return NowDate(m_services.clock); }
