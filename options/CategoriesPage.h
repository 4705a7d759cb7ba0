#pragma once
#include "options/OptionsSheet.h"

class QCheckBox;
class QComboBox;
class QLineEdit;
class CSortedListBox;

// "Categories": the names the Category box offers, renaming a category in every link,
// and what the Category field shows after Clear.
class CCategoriesPage : public COptionsPage {
    Q_OBJECT
public:
    CCategoriesPage(OptionsOwner& owner, std::string& clearSelection, QWidget* parent = nullptr);

    void Apply() override;

    void Add();
    void Edit();
    void Delete();

    QLineEdit* NameField() const { return m_names.field; }
    CSortedListBox* CategoryList() const { return m_names.list; }
    QCheckBox* RenameBox() const { return m_rename; }
    QComboBox* ClearList() const { return m_clear; }

private:
    void Changed();
    void RefreshClearList();

    OptionsOwner& m_owner;
    std::string& m_clearSelection;
    std::string m_edited;
    std::vector<std::pair<std::string, std::string>> m_renames;
    bool m_changed = false;
    NameList m_names{};
    QCheckBox* m_rename;
    QComboBox* m_clear;
};
