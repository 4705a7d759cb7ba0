#pragma once
#include <QDialog>
#include <QTimer>
#include <memory>
#include <string>
#include <type_traits>
#include <vector>

#include "app/CommandMenu.h"
#include "app/FormFields.h"
#include "app/MainControls.h"
#include "app/WindowKeys.h"
#include "app/WindowPlacementStore.h"
#include "capture/CaptureInWindow.h"
#include "health/Launcher.h"
#include "platform/DesktopServices.h"
#include "common/ThreadJob.h"
#include "health/HealthController.h"
#include "import/ImportController.h"
#include "sync/SyncController.h"
#include "sync/TimedSave.h"
#include "options/OptionsController.h"
#include "options/Settings.h"
#include "search/SearchController.h"
#include "sort/SortController.h"
#include "store/LinkStore.h"
#include "session/LinkEditor.h"
#include "session/Persistence.h"
#include "titlecase/TitleCaser.h"
#include "undo/UndoController.h"
#include "undo/UndoManager.h"

class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QToolButton;
class CLinkListCtrl;
class CSortedComboBox;
class Prompter;

// The main window: owns the link store, the settings, the jobs and the form for the
// whole run, and ties the subsystems together.
class CLinksDlg : public QDialog,
                  private PersistenceHost,
                  private UndoHost,
                  private UndoCommandHost,
                  private OptionsHost,
                  private HealthHost,
                  private ImportHost,
                  private SyncHost,
                  private SearchHost,
                  private CaptureWindow {
    Q_OBJECT
public:
    using enum CommandId;

    explicit CLinksDlg(DesktopServices& services, QWidget* parent = nullptr);
    ~CLinksDlg() override;

    LinkStore& Store() { return m_store; }
    CSettings& Settings() { return m_settings; }
    CDataFilePersistence& Persistence() { return m_persistence; }
    CLinkListCtrl& List() { return *m_ui.list; }

    // The list.
    void BeginListUpdate() override;
    void EndListUpdate() override;
    void UpdateSelectedCount();
    void UpdateTotalCount();
    // Marks the row, shows it in the form and in the list, and sets Previous and Next by it.
    void ShowRow(int row);
    // A command chose a new selection: its first row (or none, -1) is shown.
    void ShowNewSelection(int first);

    // The form.
    void ShowLink(const CAnnotatedLink& record) override;
    void RetrieveLink(bool click, bool byKey = false);
    bool SaveCurrentLink(bool buttonMode);
    void ClearForm(bool reset);
    void AddSearchHistory();

    // Searching.
    CSearchController& Searcher() { return m_searcher; }

    // Commands.
    void OnAdd();
    void OnModify();
    void OnClear();
    void OnDelete();
    void OnLaunch();
    void OnOptions();
    void ExitCommand();
    // The system ends the program (a shutdown, a logout, a signal): every dialog over the
    // window goes as if cancelled, and the window closes without a question. The links are
    // saved as at any close, by the destructor, once nothing runs in a dialog any more.
    void RequestEnd();
    // The desktop's session manager asks that work be saved before the session ends
    // (Windows always, X desktops that speak its protocol): saves as a close would, and
    // goes on, since the session may yet go on too.
    void SaveForSessionEnd();
    // Every command of the menu and the Ctrl keys arrives here; the low four bits of the
    // identifier are ignored. Like every command, none starts while a search is busy.
    void SystemCommand(int id);
    void SelectAll();
    void InvertSelection();
    void WordWrap();
    void TitleCaseCommand();
    // Sorting by a column heading and by Multi-Column Sorting.
    CSortController& Sorter() { return *m_sorter; }
    void TipCommand();
    // Import, Export and links dropped on the window.
    CImportController& Import() { return m_import; }
    void AboutCommand();
    // The help over the window that has the person's attention, at what it is about.
    void HelpCommand();
    // A row's menu: the row becomes the one in the form, as a click makes it.
    void ShowRowMenu(int row, const QPoint& globalPos);
    // Check Links, Find Duplicates and Get Title from Page.
    CHealthController& Health() { return m_health; }
    // Selects exactly the given rows (ascending), showing the first in the form.
    void SelectRows(const std::vector<int>& rows) override;

    // The data file on disk, changed by other programs, and the copies sync tools leave.
    CSyncController& Sync() { return *m_sync; }
    // A passing note over the foot of the list.
    void ShowStatus(const QString& text) override;
    CSettings& HealthSettings() override { return m_settings; }
    void SaveHealthSettings() override;
    void OpenInBrowser(const std::string& address) override;
    QLabel* StatusText() const;
    // Opens the command menu at a point of the screen, by default under its button.
    void ShowCommandMenu(const QPoint& at);
    void ShowCommandMenu();
    CCommandMenu& CommandMenu() { return *m_ui.menu; }
    CUndoManager& UndoManager() { return m_undo; }
    CUndoController& UndoCommands() { return m_undoCommands; }
    CTitleCaser& TitleCaser() { return m_titleCaser; }
    // The Options sheet.
    COptionsController& Options() { return m_options; }
    // A message from the browser's host, answered over the links in the window.
    std::string AnswerBrowser(const std::string& message);

    // Empties the store, the list, the Search history and the form.
    void ResetStore() override;
    // The timed-save tick (timer 4).
    void TimedSaveTick() { m_timedSave.Tick(); }

    bool IsSearchBusy() const { return m_searcher.Busy(); }
    bool IsEdited() const { return m_fields->Edited(); }
    bool IsRetrieved() const { return m_retrieved; }
    bool PreviewOn() const { return m_undoCommands.PreviewOn(); }
    CSaveJob& SaveJob() { return m_timedSave.Job(); }
    const QTimer& SaveTimer() const { return m_timedSave.Timer(); }
    bool LaunchesFinished() const { return m_launcher.AllFinished(); }

    // The controls, by their role; tests drive them like a user.
    QLineEdit* TitleField() const { return m_ui.title; }
    QLineEdit* LinkField() const { return m_ui.link; }
    QPlainTextEdit* DescriptionField() const { return m_ui.description; }
    CSortedComboBox* CategoryBox() const { return m_ui.category; }
    CSortedComboBox* SearchBox() const { return m_ui.search; }
    QLabel* TotalLabel() const { return m_ui.totalLabel; }
    QLabel* SelectedLabel() const { return m_ui.selectedLabel; }
    QLabel* DateLabel() const { return m_ui.dateLabel; }
    QPushButton* Button(int id) const;

signals:
    // The data file now in effect, after it changed (Options).
    void dataFileInEffect(const QString& path);

protected:
    void done(int result) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    // What the person starts from a button or the list waits, as the menu's commands do,
    // while a search is busy: the one place of that rule besides SystemCommand.
    template <class F> auto WhenIdle(F command)
    {
        return [this, command](auto... args) {
            if (IsSearchBusy()) return;
            // A signal may carry more than the command takes (clicked's checked state).
            if constexpr (std::is_invocable_v<F, decltype(args)...>)
                command(args...);
            else
                command();
        };
    }
    // Connects the controls to what they do.
    void WireControls();
    // Whether Title Case and Word Wrap change the form's field rather than the selected rows.
    bool FormIsTheTarget(QWidget* field) const;
    void SetDeleteCaption();
    void SyncCategoryBox();
    void OnCategoriesChanged();
    void OnListKey(int key, Qt::KeyboardModifiers modifiers);
    // Stores a pending edit and saves at exit; false when the save failed and the user
    // chose to keep the window (only when mayStay).
    bool SaveBeforeClosing(bool mayStay);
    void Shutdown();
    // SearchHost
    RowStates& SearchStates() override;
    void PrepareSearch() override;
    void FinishSearch() override;
    void ShowMatch(int row) override;
    void ShowRowAlone(int row) override;
    // UndoCommandHost
    const CAnnotatedLink* ShownRecord() override;
    void SetFormEdited(bool edited) override { m_fields->SetEdited(edited); }
    unsigned FormShows() override { return m_fields->Shows(); }
    void StepTaken() override;
    bool StepFormCommand(bool redo) override;
    // Undo and Redo work for a command's change of the form, whatever the list of steps holds.
    void EnableFormCommandSteps();

    // OptionsHost
    bool Busy() override { return IsSearchBusy(); }
    std::string DataPath() override { return m_persistence.DataPath(); }
    std::string DefaultDataFolder() override { return m_persistence.DefaultDataFolder(); }
    void SetDataPath(const std::string& path) override { m_persistence.SetDataPath(path); }
    bool SaveDataFileAs(const std::string& path) override { return m_persistence.SaveDataFile(&path); }
    bool SaveDataFileInUse() override { return m_persistence.SaveDataFile(nullptr, false); }
    bool LoadDataFileFrom(const std::string& path, bool append) override { return m_persistence.LoadDataFile(&path, append); }
    void ConfirmReplacing(const std::string& path) override { m_persistence.ConfirmReplacing(path); }
    void ForgetKnownFile() override { m_persistence.ForgetKnownFile(); }
    void FollowDataFile() override { m_sync->FollowDataFile(); }
    void CategoriesReplaced() override;
    void CategoriesRenamed(const std::vector<std::pair<std::string, std::string>>& renames) override;
    void ShowCounts() override;
    void SettingsChanged(const CSettings& before) override;

    // UndoHost
    void RestoreDeletedLinks(std::vector<LinkStore::Record>& records) override;
    std::vector<LinkStore::Record> RemoveLinkRows(const std::unordered_set<const CAnnotatedLink*>& records) override;
    void SetUndoCaption(const std::string& caption, bool enabled) override;
    void RecordsChanged(const std::vector<const CAnnotatedLink*>& records) override { m_store.RecordsChanged(records); }
    void SetRedoCaption(const std::string& caption, bool enabled) override;

    // HealthHost
    LinkStore& HealthStore() override { return m_store; }
    std::vector<int> SelectedRows() override;
    void FocusList() override;
    bool FormIsTarget() override;
    std::string FormLink() override;
    bool FormTitleEmpty() override;
    void TypeIntoForm(const std::string& title, const std::string& description) override;
    void ChangeRecords(const std::vector<CAnnotatedLink*>& records, const std::function<void()>& change) override;
    void CountStored(int records) override { m_persistence.StoredRecords(records); }
    CLinkDate Now() override;

    // ImportHost
    LinkStore& ImportStore() override { return m_store; }
    std::string DefaultFolder() override { return m_persistence.DefaultDataFolder(); }
    bool AppendRecords(std::vector<LinkStore::Record>& records, Arrival arrival, int presses) override;
    void TypeLinkIntoForm(const std::string& title, const std::string& link) override;
    std::string FormCategory() override;
    bool WritePersonFile(const std::string& path, const std::string& failure,
                         const std::function<bool(ByteSink&)>& write) override;
    void SaveImportSettings() override;

    // PersistenceHost
    void EmptyCategoryField() override;
    void LoadFinished() override;
    void OpenSavingOptions() override;
    bool DataFileChangedOnDisk(bool mayAsk) override;

    // SyncHost
    bool Ending() override { return m_shutDown; }
    bool Occupied() override;
    bool FormEdited() override { return m_fields->Edited(); }
    void StoreFormEdit() override;
    void ForgetFormEdit() override { m_fields->SetEdited(false); }
    void KeepUnsavedLinksAtEnd() override { m_persistence.KeepUnsavedLinksAtEnd(); }
    int ShownRow() override;
    QString SearchBoxText() override;
    void RestoreView(const std::vector<int>& selected, int shown, const QString& search) override;
    void DataFileInEffect(const std::string& path) override;

    // CaptureWindow
    const LinkStore& CaptureStore() override { return m_store; }
    std::string CaptureBusy() override;
    bool FormEditsRow(int row) override { return m_fields->Edited() && ShownRow() == row; }
    int StoreCaptured(int row, const FormTexts& texts, const std::string& category) override;
    void CountCaptured() override;

    DesktopServices& m_services;
    Prompter& m_prompter;
    LinkStore m_store;
    CSettings m_settings;
    CTitleCaser m_titleCaser;
    CDataFilePersistence m_persistence;
    std::unique_ptr<WindowPlacementStore> m_placement;
    bool m_placedByPerson = false;  // a stored place was restored: it is kept as it was
    bool m_shown = false;
    CUndoManager m_undo;
    CUndoController m_undoCommands;
    CLinkEditor m_editor;
    CLauncher m_launcher;
    CHealthController m_health;
    CImportController m_import;
    CSearchController m_searcher;
    COptionsController m_options;
    CTimedSave m_timedSave;
    std::unique_ptr<CSortController> m_sorter;

    bool m_retrieved = false;
    bool m_categoriesPending = false;  // the Category box follows the list after a bulk change
    bool m_shutDown = false;
    bool m_endRequested = false;

    std::unique_ptr<CFormFields> m_fields;

    QTimer m_tipTimer;       // timer 1
    QTimer m_retrieveTimer;  // timer 3

    MainControls m_ui;
    std::unique_ptr<CWindowKeys> m_keys;

    CSyncController* m_sync = nullptr;
    bool m_savingOffered = false;  // the Saving page was offered after a failed load or save
};
