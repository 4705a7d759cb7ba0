#include <QLineEdit>
#include <QPlainTextEdit>

#include "app/LinkListCtrl.h"
#include "app/LinksDlg.h"
#include "common/SortedComboBox.h"
#include "platform/Clipboard.h"
#include "platform/Prompter.h"
#include "store/NaturalCompare.h"
#include "platform/Translate.h"

// The main window's form: showing a record, storing it back, clearing it.

void CLinksDlg::ShowLink(const CAnnotatedLink& record) { m_fields->Show(record); }

void CLinksDlg::RetrieveLink(bool click, bool byKey)
{
    RowStates& states = m_ui.list->States();
    const int mark = states.Mark();
    if (IsSearchBusy() || mark < 0) return;
    // Moving to another row by the keys stores the edit as a click does.
    if ((click || byKey) && m_settings.moveSave && m_fields->Edited() && mark != states.Retrieved()) SaveCurrentLink(false);
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
        m_searcher.SetSteps(false, false);
    }
    m_fields->SetEdited(false);
    UpdateSelectedCount();
}

bool CLinksDlg::SaveCurrentLink(bool buttonMode)
{
    auto lock = m_store.Lock();
    const FormTexts form{m_fields->Title(), m_fields->Link(), m_fields->Description()};
    if (form.title.empty() && form.link.empty() && TrimView(form.description).empty()) return false;

    BeginListUpdate();
    RowStates& states = m_ui.list->States();
    // The form stores into the record it shows, wherever the selection mark went since.
    const int shown = m_retrieved && states.Retrieved() >= 0 && states.Retrieved() < m_store.Count() ? states.Retrieved() : -1;
    const int target = m_editor.StoreLink(shown, form, m_fields->Category(), {m_settings.moveToTitle, m_settings.moveToLink});
    if (target < 0) {
        // Not stored: the form keeps the link, still to be added.
        EndListUpdate();
        m_prompter.Error(Tr("Main", "There isn't enough available memory to save this link.  Try closing another application."));
        return false;
    }
    // The form shows what was stored, after the move rules.
    const CAnnotatedLink& stored = std::as_const(m_store).At(target);
    m_fields->SetTitle(stored.Title());
    m_fields->SetLink(stored.Link());
    m_fields->SetDescription(stored.Description());
    if (target == shown) m_ui.list->Model().RowChanged(target);
    m_fields->ShowDate(stored.Modified());
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
    m_fields->SetEdited(false);
    ShowCounts();
    return true;
}

void CLinksDlg::ClearForm(bool reset)
{
    m_fields->Clear();
    m_retrieved = false;
    m_searcher.SetSteps(false, false);
    if (reset) {
        m_store.ClearCategories();
        m_fields->ForgetCategories();
    } else if (const std::string& value = m_store.ClearSelection(); value == "NONE") {
        m_fields->EmptyCategory();
    } else if (value != "LAST") {
        m_fields->ChooseCategory(value, m_store.Categories());
    }
}

void CLinksDlg::AddSearchHistory() { m_searcher.AddHistory(); }

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
    m_fields->ListCategories(m_store.Categories());
}

bool CLinksDlg::FormIsTarget() { return FormIsTheTarget(m_ui.title); }

std::string CLinksDlg::FormLink() { return m_fields->Link(); }

bool CLinksDlg::FormTitleEmpty() { return m_ui.title->text().trimmed().isEmpty(); }

void CLinksDlg::TypeIntoForm(const std::string& title, const std::string& description)
{
    // As if typed: stored by Add or Modify.
    m_fields->SetTitle(title);
    if (m_ui.description->toPlainText().trimmed().isEmpty()) m_fields->SetDescription(description);
    m_fields->SetEdited(true);
}
