#include "options/OptionsSheet.h"

#include "options/OptionsTips.h"

#include <QDialogButtonBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QVBoxLayout>

#include "common/AccessibleName.h"
#include "common/SortedListBox.h"
#include "options/CategoriesPage.h"
#include "options/MiscPage.h"
#include "options/NumbersPage.h"
#include "options/SavingPage.h"
#include "options/SearchingPage.h"
#include "platform/Prompter.h"
#include "store/NaturalCompare.h"
#include "options/TitleCasePage.h"
#include "common/QtText.h"
#include "platform/Translate.h"

namespace {
class EnterKeyFilter : public QObject {
public:
    EnterKeyFilter(QLineEdit* field, std::function<void()> action) : QObject(field), m_action(std::move(action)) {}

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::KeyPress || event->type() == QEvent::ShortcutOverride) {
            const int key = static_cast<QKeyEvent*>(event)->key();
            if (key == Qt::Key_Return || key == Qt::Key_Enter) {
                if (event->type() == QEvent::KeyPress) m_action();
                event->accept();
                return event->type() == QEvent::KeyPress;
            }
        }
        return QObject::eventFilter(watched, event);
    }

private:
    std::function<void()> m_action;
};
}  // namespace

void TakeEnterFor(QLineEdit* field, std::function<void()> action)
{
    field->installEventFilter(new EnterKeyFilter(field, std::move(action)));
}

COptionsPage::NameList COptionsPage::MakeNameList(const QString& fieldName, const QString& listName,
                                                  std::function<void()> add, std::function<void()> edit,
                                                  std::function<void()> remove)
{
    NameList names{new QLineEdit(this), new QPushButton(QTr("Options", "&Add"), this), new CSortedListBox(this),
                   new QPushButton(QTr("Options", "&Edit"), this), new QPushButton(QTr("Options", "&Delete"), this)};
    NameLike(names.field, fieldName);
    NameLike(names.list, listName);
    names.field->setMaxLength(75);
    names.list->SetCompare(NaturalCompare);
    names.list->setSelectionMode(QAbstractItemView::ExtendedSelection);
    for (QPushButton* b : {names.add, names.edit, names.remove}) b->setAutoDefault(false);
    connect(names.add, &QPushButton::clicked, this, add);
    connect(names.edit, &QPushButton::clicked, this, edit);
    connect(names.remove, &QPushButton::clicked, this, remove);
    connect(names.list, &QListWidget::itemDoubleClicked, this, edit);
    TakeEnterFor(names.field, add);
    return names;
}

bool COptionsPage::EditCurrentName(const NameList& names, Prompter& prompter)
{
    QListWidgetItem* current = names.list->SelectedCurrent();
    if (!current) {
        prompter.Error(Tr("Options", "Please select an item.  (The current item may have been deselected.)"));
        return false;
    }
    names.field->setText(current->text());
    names.list->DeleteRow(names.list->row(current));
    names.field->setFocus();
    return true;
}

void COptionsPage::SetModified(bool modified)
{
    if (m_modified == modified) return;
    m_modified = modified;
    emit modifiedChanged();
}

COptionsSheet::COptionsSheet(OptionsOwner& owner, const OptionsValues& values, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint), m_values(values)
{
    setWindowTitle(QTr("Options", "Options"));
    m_tabs = new QTabWidget(this);
    m_tabs->addTab(new CSavingPage(owner, m_values.settings, this), QTr("Options", "Saving"));
    m_tabs->addTab(new CCategoriesPage(owner, m_values.clearSelection, this), QTr("Options", "Categories"));
    m_tabs->addTab(new CSearchingPage(m_values.settings, this), QTr("Options", "Searching"));
    m_tabs->addTab(new CTitleCasePage(owner, this), QTr("Options", "Title Case"));
    m_tabs->addTab(new CNumbersPage(owner, m_values.settings, this), QTr("Options", "Numbers"));
    m_tabs->addTab(new CMiscPage(m_values.settings, this), QTr("Options", "Misc."));
    for (int i = 0; i < m_tabs->count(); ++i) GiveOptionsTips(*m_tabs->widget(i));
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel | QDialogButtonBox::Apply, this);
    m_apply = buttons->button(QDialogButtonBox::Apply);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_tabs);
    layout->addWidget(buttons);
    for (int i = 0; i < m_tabs->count(); ++i)
        connect(static_cast<COptionsPage*>(m_tabs->widget(i)), &COptionsPage::modifiedChanged, this,
                &COptionsSheet::UpdateApply);
    connect(m_tabs, &QTabWidget::currentChanged, this, &COptionsSheet::OnTabChanged);
    connect(buttons, &QDialogButtonBox::accepted, this, &COptionsSheet::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(m_apply, &QPushButton::clicked, this, &COptionsSheet::ApplyPages);
    UpdateApply();
}

COptionsPage* COptionsSheet::PageAt(Page page) const { return static_cast<COptionsPage*>(m_tabs->widget(page)); }

void COptionsSheet::ShowPage(Page page) { m_tabs->setCurrentIndex(page); }

COptionsSheet::Page COptionsSheet::CurrentPage() const { return Page(m_tabs->currentIndex()); }

void COptionsSheet::OnTabChanged(int index)
{
    if (m_switching) return;
    // The tab widget cannot refuse a switch: go back when the page that was left refuses.
    auto* left = static_cast<COptionsPage*>(m_tabs->widget(m_current));
    m_switching = true;
    m_tabs->setCurrentIndex(m_current);
    const bool mayLeave = left->Leave();
    if (mayLeave) {
        m_tabs->setCurrentIndex(index);
        m_current = index;
    }
    m_switching = false;
}

void COptionsSheet::UpdateApply()
{
    bool modified = false;
    for (int i = 0; i < m_tabs->count(); ++i) modified = modified || PageAt(Page(i))->IsModified();
    m_apply->setEnabled(modified);
}

bool COptionsSheet::ApplyPages()
{
    if (!PageAt(CurrentPage())->Leave()) return false;
    // The other pages passed their check when they were left; reading them again
    // takes what they show, also from a page changed without a visit.
    for (int i = 0; i < m_tabs->count(); ++i)
        if (i != int(CurrentPage()) && !PageAt(Page(i))->Leave()) {
            ShowPage(Page(i));
            return false;
        }
    for (int i = 0; i < m_tabs->count(); ++i)
        if (!PageAt(Page(i))->Confirm()) {
            ShowPage(Page(i));
            return false;
        }
    for (int i = 0; i < m_tabs->count(); ++i) {
        PageAt(Page(i))->Apply();
        PageAt(Page(i))->SetModified(false);
    }
    return true;
}

void COptionsSheet::accept()
{
    if (ApplyPages()) QDialog::accept();
}
