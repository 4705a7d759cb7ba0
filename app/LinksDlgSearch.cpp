#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "app/LinkListCtrl.h"
#include "app/LinksDlg.h"
#include "common/QtText.h"
#include "common/SortedComboBox.h"

// The main window's side of what the search controller asks of it: the list's selection
// and the form that show a search's result.

RowStates& CLinksDlg::SearchStates() { return m_list->States(); }

std::string CLinksDlg::SearchPattern() { return ToBytes(m_search->currentText()); }

void CLinksDlg::PrepareSearch()
{
    StoreFormEdit();
    BeginListUpdate();
    SetPrevNext(false, false);
    m_list->States().SetFocus(-1);
}

void CLinksDlg::FinishSearch()
{
    RowStates& states = m_list->States();
    const int first = states.SelectedBelow(-1);
    if (first < 0) {
        ClearForm(false);
        UpdateSelectedCount();
    } else {
        const int reference = m_settings.positionOnLast ? states.SelectedAbove(states.Rows()) : first;
        states.SetMark(reference);
        RetrieveLink(false);
        m_list->EnsureRowVisible(reference);
        UpdatePrevNextButtons(reference);
    }
    EndListUpdate();
    // A reader in the Search box hears the result: its description changes to the count
    // (the widget tells the reader of the change itself). The box has the focus and its
    // field the caret; readers follow either.
    const QString count = m_search->currentText().isEmpty() ? QString() : m_selectedLabel->text();
    if (m_search->accessibleDescription() != count) {
        m_search->setAccessibleDescription(count);
        m_search->lineEdit()->setAccessibleDescription(count);
    }
}

void CLinksDlg::OnHistoryChosen(int index)
{
    if (index < 0) return;
    m_search->setEditText(m_search->itemText(index));
    m_searcher.RunSearch();
}

void CLinksDlg::ShowMatch(int row)
{
    RowStates& states = m_list->States();
    states.SetMark(row);
    RetrieveLink(false);
    m_list->EnsureRowVisible(row);
    m_list->RefreshRows();
    UpdatePrevNextButtons(row);
}
