#include "app/LinksDlg.h"

#include <QApplication>
#include <QGroupBox>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QThread>
#include <QToolButton>
#include <limits>

#include "app/CommandMenu.h"
#include "app/FormFields.h"
#include "app/LinkListCtrl.h"
#include "common/PlainText.h"
#include "common/AccessibleName.h"
#include "common/ColumnScaler.h"
#include "common/DialogUnits.h"
#include "health/LaunchCheck.h"
#include "common/SortedComboBox.h"
#include "options/CountFormatter.h"
#include "platform/Clipboard.h"
#include "platform/Clock.h"
#include "platform/Prompter.h"
#include "platform/SettingsBackend.h"
#include "platform/qt/QtHttpFetcher.h"
#include "store/FileIO.h"
#include "store/NaturalCompare.h"
#include "store/Utf.h"

namespace {

// Fields hold texts of any length (a line edit cuts at 32,767 characters unless told).
constexpr int kAnyLength = std::numeric_limits<int>::max();

// The main window's design widths of the list columns, for a list 455 units wide.
const int kDesignWidths[ColCount] = {150, 100, 600, 160, 160};

}  // namespace

CLinksDlg::CLinksDlg(DesktopServices& services, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                          Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint),
      m_services(services), m_prompter(services.prompter),
      m_persistence(m_store, m_settings, services.prompter, services.clock, *this), m_undo(*this, services.prompter),
      m_editor(m_store, m_undo, services.clock),
      m_health(*this, services.prompter, [this] { return CCountFormatter(m_settings); },
               [] { return std::make_unique<QtHttpFetcher>(); }, this),
      m_import(*this, services.prompter, m_settings, services.clock, services.paths, this),
      m_searcher(*this, m_store, m_settings, nullptr)
{
    m_placement = std::make_unique<WindowPlacementStore>(services.settings, *this);
    LoadSettings(services.settings, m_settings, m_titleCaser);
    m_persistence.SettlePaths(services.paths);

    // Initialisation of the window, in order.
    setWindowTitle("Norvelle Desk");
    BuildControls();
    m_fields = std::make_unique<CFormFields>(*m_title, *m_link, *m_description, *m_category);
    InsertColumns();
    m_sorter = std::make_unique<CSortController>(m_store, *m_list->horizontalHeader(), [this](bool begin) {
        if (begin) BeginListUpdate();
        else EndListUpdate();
    }, this);
    SetDeleteCaption();
    m_sync = new CSyncController(*this, m_store, m_persistence, m_prompter, services.settings, this);
    m_statusText = MakePlain(new QLabel(this));
    m_statusText->setAutoFillBackground(true);
    m_statusText->setFrameShape(QFrame::StyledPanel);
    m_statusText->setMargin(4);
    m_statusText->hide();
    m_statusTimer.setSingleShot(true);
    m_statusTimer.setInterval(8000);
    connect(&m_statusTimer, &QTimer::timeout, m_statusText, &QLabel::hide);
    // A new window has a person to answer again.
    m_prompter.SetUnattended(false);
    m_persistence.LoadDataFile(nullptr, false);
    for (const std::string& message : TakeMessagesOfTheLastEnd(services.settings)) m_prompter.Notice(message);
    if (m_settings.restoreWndPlacement) m_placement->Restore(false);

    m_tipTimer.setSingleShot(true);
    connect(&m_tipTimer, &QTimer::timeout, this, [this] {
        // Never between a failed load's message and the sheet that lets the person mend it.
        if (m_settings.showDayTip && !m_savingOffered) TipCommand();
    });
    m_tipTimer.start(0);
    m_retrieveTimer.setSingleShot(true);
    m_retrieveTimer.setInterval(50);
    connect(&m_retrieveTimer, &QTimer::timeout, this, [this] { RetrieveLink(false, true); });
    connect(&m_saveTimer, &QTimer::timeout, this, &CLinksDlg::TimedSaveTick);
    if (m_settings.saveOnTimer) m_saveTimer.start(m_settings.TimerPeriodMs());
    m_saveJob.SetOwner(&m_persistence);

    qApp->installEventFilter(this);
    // A bookmark file dropped on the window opens the import with its name.
    setAcceptDrops(true);
}

CLinksDlg::~CLinksDlg()
{
    qApp->removeEventFilter(this);
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
    while (!m_saveJob.IsFinished() || !m_launchPool.AllFinished())
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    m_saveJob.Wait();
    m_launchPool.WaitAll();
    m_store.SetListener(nullptr);
    // The list reads the store, which is a member and goes before the child widgets do.
    delete m_list;
    m_list = nullptr;
}

void CLinksDlg::BuildControls()
{
    const DialogUnits du(font());
    setFixedSize(du.X(320), du.Y(270));

    // Captions keep their place; a font wider than the design's must not clip them.
    auto label = [this](const char* text, QRect r, Qt::Alignment align = Qt::AlignLeft) {
        return PlaceLabel(this, text, r, align);
    };
    auto button = [this](const char* text, QRect r) { return PlaceButton(this, text, r); };
    // The Search and Category boxes keep their lists in natural order. A combo box's
    // rectangle gives its drop-down height; the box itself is one line.
    auto sortedCombo = [&](QRect r) {
        auto* combo = new CSortedComboBox(this);
        combo->setEditable(true);
        // What the user types is what is searched for or stored: no completion.
        combo->setCompleter(nullptr);
        combo->SetCompare(NaturalCompare);
        combo->setGeometry(r.x(), r.y(), r.width(), du.Y(12));
        combo->lineEdit()->setMaxLength(kAnyLength);
        return combo;
    };

    auto* groupBox = new QGroupBox("Annotated Link", this);
    groupBox->setGeometry(du.Rect(7, 125, 246, 137));

    QLabel* listLabel = label("List o&f Links:", du.Rect(7, 7, 40, 8));
    // The count labels keep their centre and right edge but have room for seven digits.
    auto countLabel = [&](const char* format, QRect r, Qt::Alignment align) {
        const QString widest = QString::fromStdString(CCountFormatter(m_settings).Plural(format, 1234567));
        const int extra = fontMetrics().horizontalAdvance(widest) + 2 - r.width();
        if (extra > 0) r.adjust(align == Qt::AlignRight ? -extra : -extra / 2 - 1, 0, align == Qt::AlignRight ? 0 : extra / 2 + 1, 0);
        QLabel* l = label("", r, align);
        l->setText(QString::fromStdString(CCountFormatter(m_settings).Plural(format, 0)));
        return l;
    };
    m_totalLabel = countLabel("%s Total Link%s", du.Rect(126, 7, 68, 8), Qt::AlignHCenter);
    m_selectedLabel = countLabel("%s Selected Link%s", du.Rect(232, 7, 68, 8), Qt::AlignRight);

    // The command menu, where the window system's menu would be: this button, Alt+Space,
    // or a right-click on the window's free area.
    m_menu = new CCommandMenu(this);
    m_menuButton = new QToolButton(this);
    m_menuButton->setGeometry(du.Rect(302, 5, 11, 11));
    m_menuButton->setArrowType(Qt::DownArrow);
    m_menuButton->setToolTip("Commands (Alt+Space or F10)");
    m_menuButton->setAccessibleName("Commands");
    m_menuButton->setFocusPolicy(Qt::NoFocus);
    m_menuButton->setAutoRaise(true);
    m_list = new CLinkListCtrl(m_store, this);
    m_list->setGeometry(du.Rect(7, 17, 306, 85));
    listLabel->setBuddy(m_list);
    m_list->setAccessibleName("Annotated links");

    QLabel* searchLabel = label("&Search:", du.Rect(7, 111, 26, 8));
    m_search = sortedCombo(du.Rect(38, 108, 155, 64));
    searchLabel->setBuddy(m_search);
    NameLike(m_search, searchLabel->text());
    m_previous = button("&Previous", du.Rect(203, 108, 50, 14));
    m_next = button("&Next", du.Rect(263, 108, 50, 14));
    SetPrevNext(false, false);

    QLabel* titleLabel = label("&Title:", du.Rect(13, 140, 16, 8));
    m_title = new QLineEdit(this);
    m_title->setMaxLength(kAnyLength);
    m_title->setGeometry(du.Rect(34, 137, 214, 14));
    titleLabel->setBuddy(m_title);
    QLabel* linkLabel = label("Lin&k:", du.Rect(13, 160, 16, 8));
    m_link = new QLineEdit(this);
    m_link->setMaxLength(kAnyLength);
    m_link->setGeometry(du.Rect(34, 157, 214, 14));
    linkLabel->setBuddy(m_link);
    QLabel* descriptionLabel = label("Descr&iption:", du.Rect(13, 174, 38, 8));
    m_dateLabel = label("", du.Rect(144, 174, 103, 8), Qt::AlignRight);
    m_description = new QPlainTextEdit(this);
    m_description->setGeometry(du.Rect(13, 184, 235, 56));
    m_description->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    m_description->setTabChangesFocus(true);
    descriptionLabel->setBuddy(m_description);
    QLabel* categoryLabel = label("Categor&y:", du.Rect(13, 246, 31, 8));
    m_category = sortedCombo(du.Rect(48, 244, 200, 72));
    categoryLabel->setBuddy(m_category);
    NameLike(m_category, categoryLabel->text());
    // A caption widened for a large font pushes its field to the right, keeping the
    // field's right edge, so that the two never overlap.
    for (auto [caption, field] : {std::pair<QLabel*, QWidget*>{searchLabel, m_search}, {titleLabel, m_title},
                                  {linkLabel, m_link}, {categoryLabel, m_category}}) {
        const int left = caption->geometry().right() + du.X(2);
        if (left > field->x()) field->setGeometry(left, field->y(), field->geometry().right() - left + 1, field->height());
    }

    m_launch = button("&Launch", du.Rect(263, 129, 50, 14));
    m_launch->setDefault(true);
    m_add = button("&Add", du.Rect(263, 149, 50, 14));
    m_modify = button("&Modify", du.Rect(263, 169, 50, 14));
    m_clear = button("&Clear", du.Rect(263, 189, 50, 14));
    m_delete = button("&Delete", du.Rect(263, 209, 50, 14));
    m_options = button("&Options...", du.Rect(263, 229, 50, 14));
    m_close = button("Clos&e", du.Rect(263, 249, 50, 14));

    connect(m_list, &CLinkListCtrl::clicked, this, [this] { RetrieveLink(true); });
    connect(m_list, &CLinkListCtrl::doubleClicked, this, WhenIdle([this] { OnListDoubleClick(); }));
    connect(m_list, &CLinkListCtrl::rightClicked, this, &CLinksDlg::UpdateSelectedCount);
    connect(m_list, &CLinkListCtrl::rowMenuRequested, this, WhenIdle([this](int row, QPoint at) { ShowRowMenu(row, at); }));
    connect(m_list, &CLinkListCtrl::keyDown, this, &CLinksDlg::OnListKey);
    connect(m_list->horizontalHeader(), &QHeaderView::sectionClicked, this, WhenIdle([this](int c) { m_sorter->OnColumnClick(c); }));
    connect(&m_list->Model(), &LinkListModel::categoriesChanged, this, &CLinksDlg::OnCategoriesChanged);
    connect(m_search, &CSortedComboBox::aboutToShowPopup, this, &CLinksDlg::AddSearchHistory);
    connect(m_search->lineEdit(), &QLineEdit::textEdited, &m_searcher, &CSearchController::OnSearchEdited);
    connect(m_search, &QComboBox::activated, this, WhenIdle([this](int index) { OnHistoryChosen(index); }));
    connect(m_previous, &QPushButton::clicked, this, [this] { m_searcher.StepToMatch(false); });
    connect(m_next, &QPushButton::clicked, this, [this] { m_searcher.StepToMatch(true); });
    connect(m_launch, &QPushButton::clicked, this, WhenIdle([this] { OnLaunch(); }));
    connect(m_add, &QPushButton::clicked, this, WhenIdle([this] { OnAdd(); }));
    connect(m_modify, &QPushButton::clicked, this, WhenIdle([this] { OnModify(); }));
    connect(m_clear, &QPushButton::clicked, this, WhenIdle([this] { OnClear(); }));
    connect(m_delete, &QPushButton::clicked, this, WhenIdle([this] { OnDelete(); }));
    connect(m_options, &QPushButton::clicked, this, WhenIdle([this] { OnOptions(); }));
    connect(m_close, &QPushButton::clicked, this, &QDialog::accept);
    connect(m_menu, &CCommandMenu::command, this, &CLinksDlg::SystemCommand);
    connect(m_menuButton, &QToolButton::clicked, this,
            [this] { ShowCommandMenu(m_menuButton->mapToGlobal(QPoint(0, m_menuButton->height()))); });

    auto edited = [this] {
        if (!m_filling) m_edited = true;
    };
    connect(m_title, &QLineEdit::textEdited, this, edited);
    connect(m_link, &QLineEdit::textEdited, this, edited);
    connect(m_description, &QPlainTextEdit::textChanged, this, edited);
    connect(m_category->lineEdit(), &QLineEdit::textEdited, this, edited);
    // The box also reports an activation when the focus leaves its field (another window
    // opening): only a choice that changes the text is an edit.
    connect(m_category, &QComboBox::activated, this, [this] {
        if (!m_filling && !m_fields->CategoryUntouched()) m_edited = true;
    });
}

void CLinksDlg::InsertColumns()
{
    const int client = m_list->width() - 2 * m_list->frameWidth();
    CColumnScaler scaler(client, 455, 5, false, 0, &m_prompter);
    for (int c = 0; c < ColCount; ++c) m_list->setColumnWidth(c, scaler.ScaleWidth(kDesignWidths[c]));
}

void CLinksDlg::SetDeleteCaption() { m_delete->setText(m_settings.confirmDelete ? "&Delete..." : "&Delete!"); }

QPushButton* CLinksDlg::Button(int id) const
{
    switch (id) {
    case 1: return m_close;
    case 1005: return m_launch;
    case 1007: return m_clear;
    case 1008: return m_options;
    case 1010: return m_previous;
    case 1011: return m_next;
    case 1014: return m_delete;
    case 1026: return m_add;
    case 1053: return m_modify;
    default: return nullptr;
    }
}

// ---- The list ----

void CLinksDlg::BeginListUpdate() { m_list->BeginUpdate(); }

void CLinksDlg::EndListUpdate()
{
    m_list->EndUpdate();
    if (m_categoriesPending && !m_list->IsUpdating()) SyncCategoryBox();
}

void CLinksDlg::UpdateSelectedCount()
{
    m_selectedLabel->setText(QString::fromStdString(
        CCountFormatter(m_settings).Plural("%s Selected Link%s", m_list->States().SelectedCount())));
}

void CLinksDlg::UpdateTotalCount()
{
    m_totalLabel->setText(QString::fromStdString(CCountFormatter(m_settings).Plural("%s Total Link%s", m_store.Count())));
}

void CLinksDlg::UpdatePrevNextButtons(int row)
{
    SetPrevNext(m_list->States().SelectedAbove(row) >= 0, m_list->States().SelectedBelow(row) >= 0);
}

void CLinksDlg::SetPrevNext(bool previous, bool next)
{
    // A disabled button hands its focus on; Qt would give it to the Title field, where
    // the next key would replace the title. The other button takes it, else the Search box.
    QWidget* focused = QApplication::focusWidget();
    if ((focused == m_previous && !previous) || (focused == m_next && !next)) {
        QPushButton* other = focused == m_previous ? m_next : m_previous;
        if (other == m_next ? next : previous)
            other->setFocus(Qt::OtherFocusReason);
        else
            m_search->setFocus(Qt::OtherFocusReason);
    }
    m_previous->setEnabled(previous);
    m_next->setEnabled(next);
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
    if (m_retrieved && m_list->States().Retrieved() >= 0)
        SaveCurrentLink(true);
    else
        m_prompter.Error("No item is selected for modification.");
}

void CLinksDlg::OnClear()
{
    AddSearchHistory();
    ClearForm(false);
    m_search->setEditText(QString());
}

void CLinksDlg::OnDelete()
{
    auto lock = m_store.Lock();
    AddSearchHistory();
    RowStates& states = m_list->States();
    const int selected = states.SelectedCount();
    if (selected == 0) return;
    if (m_settings.confirmDelete && !m_prompter.Ask(CCountFormatter(m_settings).Plural("Delete %s item%s?", selected)))
        return;
    BeginListUpdate();
    m_editor.DeleteRows(states.SelectedRows());
    m_retrieved = false;
    EndListUpdate();
    UpdateSelectedCount();
    UpdateTotalCount();
}

void CLinksDlg::OnLaunch()
{
    AddSearchHistory();
    std::string link(TrimView(m_fields->Link()));
    if (link.empty())
        m_prompter.Error("Please put a link or full filename in the Link field.");
    else
        LaunchLink(link);
}

void CLinksDlg::LaunchLink(const std::string& link)
{
    // What opens is what is shown, and nothing starts a program without the person's word.
    const LaunchCheck check = CheckLaunch(link, ParentFolder(m_persistence.DataPath()));
    if (check.verdict == LaunchCheck::Verdict::Refuse) {
        m_prompter.Error(check.message);
        return;
    }
    if (check.verdict == LaunchCheck::Verdict::Ask &&
        m_prompter.Show(check.message, Prompter::Icon::Question, Prompter::Buttons::YesNo, false) != Prompter::Answer::Yes)
        return;
    CLaunchJob& job = m_launchPool.GetIdleJob();
    job.SetServices(&m_services.shell, &m_prompter);
    job.SetLink(check.target);
    job.Start(this, 0);
}

void CLinksDlg::OnListDoubleClick()
{
    OnLaunch();
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
    OpenOptions(SavingPage);
}

void CLinksDlg::ExitCommand()
{
    if (m_prompter.Ask("Do you want to exit Norvelle?")) accept();
}

// ---- Loading, saving and closing ----

void CLinksDlg::ResetStore()
{
    auto lock = m_store.Lock();
    m_store.FreeAllLinks();
    // The history refers to the records just freed.
    m_undo.Clear();
    UpdateSelectedCount();
    UpdateTotalCount();
    m_search->clear();
    ClearForm(true);
}

void CLinksDlg::EmptyCategoryField()
{
    m_filling = true;
    m_category->setEditText(QString());
    m_filling = false;
}

void CLinksDlg::LoadFinished()
{
    m_search->setEditText(QString());
    SetPrevNext(false, false);
    UpdateSelectedCount();
    UpdateTotalCount();
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
        if (!m_endRequested) OpenOptions(SavingPage);
    }, Qt::QueuedConnection);
}

void CLinksDlg::TimedSaveTick()
{
    if (m_store.IsChanged() && m_saveJob.IsFinished()) m_saveJob.Start(this, 0);
}

void CLinksDlg::RequestEnd()
{
    if (m_shutDown || m_endRequested) return;
    m_endRequested = true;
    // Every open question takes its safe answer, and no new one is shown.
    m_prompter.SetUnattended(true);
    // From the top down: a dialog's loop returns only after the one opened over it has.
    QWidget* last = nullptr;
    for (QWidget* modal; (modal = QApplication::activeModalWidget()) && modal != this && modal != last; last = modal) {
        if (auto* dialog = qobject_cast<QDialog*>(modal)) dialog->reject();
        // A dialog that stays after Cancel (a question without one) still goes.
        if (modal->isVisible()) modal->hide();
    }
    QDialog::done(QDialog::Rejected);
}

void CLinksDlg::SaveForSessionEnd()
{
    if (m_shutDown) return;
    SaveBeforeClosing(false);
    if (m_settings.saveOnTimer) m_saveTimer.start(m_settings.TimerPeriodMs());
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
    m_saveTimer.stop();
    StoreFormEdit();
    if (!m_store.IsChanged() || !m_settings.saveOnClose || m_persistence.SaveDataFile(nullptr, false)) return true;
    // The save failed and said why: the user may stay to save the links elsewhere. No is
    // the default, so that Enter twice does not lose them.
    if (!mayStay && m_prompter.Unattended()) m_persistence.KeepUnsavedLinksAtEnd();
    if (!mayStay || m_prompter.Show("Your changes will be lost.  Proceed?", Prompter::Icon::Question,
                                    Prompter::Buttons::YesNo, false) == Prompter::Answer::Yes)
        return true;
    if (m_settings.saveOnTimer) m_saveTimer.start(m_settings.TimerPeriodMs());
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
}

std::vector<int> CLinksDlg::SelectedRows() { return m_list->States().SelectedRows(); }

void CLinksDlg::SelectRows(const std::vector<int>& rows)
{
    auto lock = m_store.Lock();
    BeginListUpdate();
    RowStates& states = m_list->States();
    states.ClearSelection();
    for (int row : rows) states.SetSelected(row, true);
    states.SetFocus(-1);
    if (!rows.empty()) {
        states.SetMark(rows.front());
        RetrieveLink(false);
        m_list->EnsureRowVisible(rows.front());
        UpdatePrevNextButtons(rows.front());
    }
    UpdateSelectedCount();
    EndListUpdate();
}

void CLinksDlg::FocusList()
{
    raise();
    activateWindow();
    m_list->setFocus();
}

void CLinksDlg::ChangeRecords(const std::vector<CAnnotatedLink*>& records, const std::function<void()>& change)
{
    auto lock = m_store.Lock();
    // An edit in the form goes into its record first, as leaving the record would do,
    // so that it neither is lost nor later writes the old text back.
    if (m_edited && m_retrieved) SaveCurrentLink(false);
    BeginListUpdate();
    m_editor.ChangeRecords(records, change);
    if (const CAnnotatedLink* shown = m_retrieved ? ShownRecord() : nullptr;
        shown && std::find(records.begin(), records.end(), shown) != records.end())
        ShowLink(*shown);
    EndListUpdate();
}

CLinkDate CLinksDlg::Now() { return NowDate(m_services.clock); }
