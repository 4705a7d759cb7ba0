#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "app/LinkListCtrl.h"
#include "app/LinksDlg.h"
#include "common/QtText.h"
#include "common/SortedComboBox.h"

// The main window's side of what the search controller asks of it: the list's selection
// and the form that show a search's result.

RowStates& CLinksDlg::SearchStates() { return m_ui.list->States(); }

std::string CLinksDlg::SearchPattern() { return ToBytes(m_ui.search->currentText()); }

void CLinksDlg::PrepareSearch()
{
    StoreFormEdit();
    BeginListUpdate();
    SetPrevNext(false, false);
    m_ui.list->States().SetFocus(-1);
}

void CLinksDlg::FinishSearch()
{
    RowStates& states = m_ui.list->States();
    const int first = states.SelectedBelow(-1);
    if (first < 0) {
        ClearForm(false);
        UpdateSelectedCount();
    } else {
        const int reference = m_settings.positionOnLast ? states.SelectedAbove(states.Rows()) : first;
        ShowRow(reference);
    }
    EndListUpdate();
    // A reader in the Search box hears the result: its description changes to the count
    // (the widget tells the reader of the change itself). The box has the focus and its
    // field the caret; readers follow either.
    const QString count = m_ui.search->currentText().isEmpty() ? QString() : m_ui.selectedLabel->text();
    if (m_ui.search->accessibleDescription() != count) {
        m_ui.search->setAccessibleDescription(count);
        m_ui.search->lineEdit()->setAccessibleDescription(count);
    }
}

void CLinksDlg::OnHistoryChosen(int index)
{
    if (index < 0) return;
    m_ui.search->setEditText(m_ui.search->itemText(index));
    m_searcher.RunSearch();
}

void CLinksDlg::ShowMatch(int row)
{
    ShowRow(row);
    m_ui.list->RefreshRows();
}
