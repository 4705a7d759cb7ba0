#pragma once
#include <QDialog>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "options/Settings.h"

class QPushButton;
class QTabWidget;
class CSortedListBox;
class Prompter;

// What the pages of the Options sheet do to the main window at once.
class OptionsOwner {
public:
    virtual ~OptionsOwner() = default;
    virtual Prompter& OptionsPrompter() = 0;
    // Saving page.
    virtual bool SaveDataFileAs(const std::string& path) = 0;
    virtual bool LoadDataFileFrom(const std::string& path, bool append) = 0;
    virtual bool HasUnsavedChanges() = 0;
    virtual int PressCount() = 0;
    // An empty collection in the window, the data file's links no longer in it.
    virtual void StartNewCollection() = 0;
    virtual std::string DefaultFolder() = 0;
    // The file that saves go to from now on: the one just loaded, or a new one.
    virtual void SetDataFileInEffect(const std::string& path) = 0;
    // The person chose to replace the links in the file at path with the window's: the
    // next save writes them there without asking again.
    virtual void ReplaceDataFile(const std::string& path) = 0;
    virtual void SetKnownDataFiles(const std::vector<std::string>& files) = 0;
    // Categories page.
    virtual std::vector<std::string> Categories() = 0;
    virtual void SetCategories(const std::vector<std::string>& names) = 0;
    virtual void RenameCategories(std::vector<std::pair<std::string, std::string>>& renames) = 0;
    // Numbers page: applied to the count labels at once.
    virtual void SetNumberFormat(bool useSeparators, const std::string& separator) = 0;
    // Title Case page.
    virtual std::vector<std::string> Exceptions() = 0;
    virtual void SetExceptions(const std::vector<std::string>& words) = 0;
};

// The values the pages edit: copies of the settings and the Clear-selection value,
// read back by the Options command after OK.
struct OptionsValues {
    CSettings settings;
    std::string clearSelection;
};

class QLineEdit;
// Enter in field runs action and goes no further: it must not also press the sheet's
// default button (OK) and close the sheet.
void TakeEnterFor(QLineEdit* field, std::function<void()> action);

// One page of the sheet.
class COptionsPage : public QWidget {
    Q_OBJECT
public:
    explicit COptionsPage(QWidget* parent = nullptr) : QWidget(parent) {}
    // Checks the page before the user leaves it (another tab, OK, Apply); on a refusal
    // it says why and focuses the field, and the user stays.
    virtual bool Leave() { return true; }
    // OK or Apply, once every page passed Leave: a last question to the person before
    // anything is taken; false keeps the sheet open.
    virtual bool Confirm() { return true; }
    // OK or Apply: reads the controls back into the values and acts on the owner.
    virtual void Apply() {}
    bool IsModified() const { return m_modified; }
    void SetModified(bool modified = true);

signals:
    void modifiedChanged();

protected:
    // The controls of a page that edits a list of names: a field (Enter adds) with Add
    // beside it, the sorted list (a double-click edits) with Edit and Delete beside it.
    struct NameList {
        QLineEdit* field;
        QPushButton* add;
        CSortedListBox* list;
        QPushButton* edit;
        QPushButton* remove;
    };
    NameList MakeNameList(const QString& fieldName, const QString& listName, std::function<void()> add,
                          std::function<void()> edit, std::function<void()> remove);
    // Edit on such a list: the selected current row leaves the list and its text goes into
    // the field, which takes the focus; without such a row the user is told, and false.
    static bool EditCurrentName(const NameList& names, Prompter& prompter);

private:
    bool m_modified = false;
};

// "Options": the Saving, Categories, Searching, Title Case, Numbers and Misc. pages,
// with OK, Cancel and Apply.
class COptionsSheet : public QDialog {
    Q_OBJECT
public:
    enum Page { Saving, Categories, Searching, TitleCase, Numbers, Misc };

    COptionsSheet(OptionsOwner& owner, const OptionsValues& values, QWidget* parent = nullptr);

    const OptionsValues& Values() const { return m_values; }
    COptionsPage* PageAt(Page page) const;
    void ShowPage(Page page);
    Page CurrentPage() const;
    QPushButton* ApplyButton() const { return m_apply; }
    // As the buttons do; false when the current page held the user.
    bool ApplyPages();
    void accept() override;

private:
    void OnTabChanged(int index);
    void UpdateApply();

    OptionsValues m_values;
    QTabWidget* m_tabs;
    QPushButton* m_apply;
    int m_current = 0;
    bool m_switching = false;
};
