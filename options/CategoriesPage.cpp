#include "options/CategoriesPage.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "common/QtText.h"
#include "common/AccessibleName.h"
#include "common/SortedListBox.h"
#include "platform/Prompter.h"
#include "store/NaturalCompare.h"
#include "platform/Translate.h"

CCategoriesPage::CCategoriesPage(OptionsOwner& owner, std::string& clearSelection, QWidget* parent)
    : COptionsPage(parent), m_owner(owner), m_clearSelection(clearSelection)
{
    m_names = MakeNameList(QTr("Options", "Category name"), QTr("Options", "Categories"), [this] { Add(); }, [this] { Edit(); }, [this] { Delete(); });
    m_rename = new QCheckBox(QTr("Options", "&Rename this category in existing items."), this);
    m_rename->setEnabled(false);
    auto* clearLabel = new QLabel(QTr("Options", "&Select when Clear button is pressed:"), this);
    m_clear = new QComboBox(this);
    // A long category is cut in the box, never widening the sheet past the screen.
    m_clear->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    m_clear->setMinimumContentsLength(24);
    NameLike(m_clear, clearLabel->text());
    clearLabel->setBuddy(m_clear);

    auto* grid = new QGridLayout(this);
    grid->addWidget(m_names.field, 0, 0);
    grid->addWidget(m_names.add, 0, 1);
    grid->addWidget(m_names.list, 1, 0, 3, 1);
    grid->addWidget(m_names.edit, 1, 1);
    grid->addWidget(m_names.remove, 2, 1);
    grid->setRowStretch(3, 1);
    grid->addWidget(m_rename, 4, 0, 1, 2);
    grid->addWidget(clearLabel, 5, 0, 1, 2);
    grid->addWidget(m_clear, 6, 0);

    for (const std::string& name : m_owner.Categories()) m_names.list->Add(DisplayText(name));
    RefreshClearList();

    connect(m_clear, &QComboBox::activated, this, &CCategoriesPage::Changed);
}

void CCategoriesPage::Changed()
{
    m_changed = true;
    SetModified();
}

void CCategoriesPage::Add()
{
    const std::string name(TrimView(ToBytes(m_names.field->text())));
    if (!name.empty()) {
        m_names.list->clearSelection();
        const int existing = m_names.list->FindNoCase(DisplayText(name));
        if (existing >= 0) {
            m_names.list->SelectAndShow(existing);
            m_owner.OptionsPrompter().Error(Tr("Options", "This category already exists in the list."));
            return;
        }
        m_names.list->SelectAndShow(m_names.list->Add(DisplayText(name)));
    }
    m_names.field->clear();
    if (m_rename->isEnabled()) {
        // An empty name removes the edited category from the links that have it.
        if (m_rename->isChecked()) m_renames.emplace_back(m_edited, name);
        m_rename->setEnabled(false);
    }
    Changed();
    RefreshClearList();
}

void CCategoriesPage::Edit()
{
    if (!EditCurrentName(m_names, m_owner.OptionsPrompter())) return;
    m_edited = ToBytes(m_names.field->text());
    m_rename->setEnabled(true);
    Changed();
    RefreshClearList();
}

void CCategoriesPage::Delete()
{
    m_names.list->DeleteSelected();
    Changed();
    RefreshClearList();
}

void CCategoriesPage::RefreshClearList()
{
    QString remembered = m_clear->currentText();
    if (remembered.isEmpty()) remembered = DisplayText(m_clearSelection);
    m_clear->clear();
    m_clear->addItems({"LAST", "NONE"});
    for (int i = 0; i < m_names.list->count(); ++i) m_clear->addItem(m_names.list->item(i)->text());
    int chosen = 0;
    for (int i = 0; i < m_clear->count(); ++i)
        if (EqualsNoCase(ToBytes(m_clear->itemText(i)), ToBytes(remembered))) {
            chosen = i;
            break;
        }
    m_clear->setCurrentIndex(chosen);
}

void CCategoriesPage::Apply()
{
    if (m_changed) {
        std::vector<std::string> names;
        for (int i = 0; i < m_names.list->count(); ++i) names.push_back(ToBytes(m_names.list->item(i)->text()));
        m_owner.SetCategories(names);
        m_owner.RenameCategories(m_renames);
        m_changed = false;
    }
    m_clearSelection = ToBytes(m_clear->currentText());
}
