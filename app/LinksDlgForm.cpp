#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <utility>

#include "session/EditRules.h"
#include "app/FormFields.h"
#include "common/QtText.h"
#include "app/LinkListCtrl.h"
#include "app/LinksDlg.h"
#include "health/LaunchCheck.h"
#include "common/SortedComboBox.h"
#include "platform/Clipboard.h"
#include "platform/Clock.h"
#include "store/LinkDate.h"
#include "platform/Prompter.h"
#include "store/NaturalCompare.h"
#include "store/Utf.h"

// The main window's form: showing a record, storing it back, clearing it.

void CLinksDlg::ShowLink(const CAnnotatedLink& record)
{
    ++m_shows;
    m_filling = true;
    m_fields->Show(record);
    m_ui.dateLabel->setText(QString::fromStdString(FormatLinkDate(record.Modified(), DateStyle::Record)));
    m_filling = false;
}

void CLinksDlg::RetrieveLink(bool click, bool byKey)
{
    RowStates& states = m_ui.list->States();
    const int mark = states.Mark();
    if (IsSearchBusy() || mark < 0) return;
    // Moving to another row by the keys stores the edit as a click does.
    if ((click || byKey) && m_settings.moveSave && m_edited && mark != states.Retrieved()) SaveCurrentLink(false);
    // Storing may have saved, and a save may have loaded another version: the mark is
    // looked at again.
    if (states.Mark() < 0) return;
    states.SetRetrieved(states.Mark());
    if (states.Mark() < m_store.Count()) {
        // Read through the const store: showing a record must not mark its text for folding again.
        ShowLink(std::as_const(m_store).At(states.Mark()));
        m_retrieved = true;
        if (m_settings.copyLink) {
            m_ui.link->selectAll();
            m_services.clipboard.SetText(m_fields->Link());
            m_ui.link->deselect();
        }
    }
    if (click) {
        AddSearchHistory();
        m_ui.search->setEditText(QString());
        SetPrevNext(false, false);
    }
    m_edited = false;
    UpdateSelectedCount();
}

bool CLinksDlg::SaveCurrentLink(bool buttonMode)
{
    auto lock = m_store.Lock();
    FormTexts form{m_fields->Title(), m_fields->Link(), m_fields->Description()};
    form.description = std::string(TrimView(form.description));
    if (form.title.empty() && form.link.empty() && form.description.empty()) return false;

    std::string category(TrimView(m_fields->Category()));
    m_store.AddCategoryIfNew(category);
    try {
        ApplyMoveRules(form, m_settings.moveToTitle, m_settings.moveToLink);
    } catch (const std::bad_alloc&) {
        m_prompter.Error("There isn't enough available memory to save this link.  Try closing another application.");
        return false;
    }
    m_filling = true;
    m_fields->SetTitle(form.title);
    m_fields->SetLink(form.link);
    m_fields->SetDescription(form.description);
    m_filling = false;

    BeginListUpdate();
    RowStates& states = m_ui.list->States();
    // The form stores into the record it shows, wherever the selection mark went since.
    const int shown = m_retrieved && states.Retrieved() >= 0 && states.Retrieved() < m_store.Count() ? states.Retrieved() : -1;
    const int target = m_editor.StoreLink(shown, form, category);
    if (target < 0) {
        // Not stored: the form keeps the link, still to be added.
        EndListUpdate();
        m_prompter.Error("There isn't enough available memory to save this link.  Try closing another application.");
        return false;
    }
    if (target == shown) m_ui.list->Model().RowChanged(target);
    const CLinkDate now = std::as_const(m_store).At(target).Modified();
    m_ui.dateLabel->setText(QString::fromStdString(FormatLinkDate(now, DateStyle::Record)));
    if (buttonMode && target >= 0) {
        states.SelectOnly(target);
        states.SetFocus(target);
        states.SetMark(target);
        // The form now shows this record, so a later save-on-leave goes to it.
        states.SetRetrieved(target);
        m_ui.list->EnsureRowVisible(target);
        m_retrieved = true;
    }
    EndListUpdate();
    m_persistence.StoredRecord();
    m_edited = false;
    ShowCounts();
    return true;
}

void CLinksDlg::ClearForm(bool reset)
{
    m_filling = true;
    m_fields->Clear();
    m_ui.dateLabel->clear();
    m_retrieved = false;
    SetPrevNext(false, false);
    m_edited = false;
    if (reset) {
        m_store.ClearCategories();
        m_ui.category->clear();
        m_ui.category->setEditText(QString());
    } else {
        const std::string& value = m_store.ClearSelection();
        if (value == "NONE") {
            m_ui.category->setEditText(QString());
        } else if (value != "LAST") {
            for (const auto& name : m_store.Categories())
                if (EqualsNoCase(name, value)) m_ui.category->setEditText(DisplayText(name));
        }
    }
    m_filling = false;
}

void CLinksDlg::AddSearchHistory()
{
    QString text = m_ui.search->currentText().trimmed();
    if (text.isEmpty()) return;
    for (int i = 0; i < m_ui.search->count(); ++i)
        if (m_ui.search->itemText(i).compare(text, Qt::CaseInsensitive) == 0) return;
    QString current = m_ui.search->currentText();
    m_ui.search->Add(text);
    m_ui.search->setEditText(current);
}

void CLinksDlg::OnCategoriesChanged()
{
    // A load adds names one by one: the box is rebuilt once, when the load ends.
    if (m_ui.list->IsUpdating())
        m_categoriesPending = true;
    else
        SyncCategoryBox();
}

void CLinksDlg::SyncCategoryBox()
{
    m_categoriesPending = false;
    bool filling = m_filling;
    m_filling = true;
    QString text = m_ui.category->currentText();
    m_ui.category->clear();
    for (const auto& name : m_store.Categories()) m_ui.category->addItem(DisplayText(name));
    m_ui.category->setEditText(text);
    m_filling = filling;
}

bool CLinksDlg::FormIsTarget() { return FormIsTheTarget(m_ui.title); }

std::string CLinksDlg::FormLink() { return m_fields->Link(); }

bool CLinksDlg::FormTitleEmpty() { return m_ui.title->text().trimmed().isEmpty(); }

void CLinksDlg::TypeIntoForm(const std::string& title, const std::string& description)
{
    // As if typed: stored by Add or Modify.
    m_ui.title->setText(DisplayText(title));
    if (m_ui.description->toPlainText().trimmed().isEmpty()) m_ui.description->setPlainText(DisplayText(description));
    m_edited = true;
}
