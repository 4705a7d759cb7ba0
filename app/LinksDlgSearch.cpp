#include "app/LinkListCtrl.h"
#include "app/LinksDlg.h"

// The main window's side of what the search controller asks of it: the list's selection
// and the form that show a search's result.

RowStates& CLinksDlg::SearchStates() { return m_ui.list->States(); }

void CLinksDlg::PrepareSearch()
{
    StoreFormEdit();
    BeginListUpdate();
    m_searcher.SetSteps(false, false);
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
}

void CLinksDlg::ShowRowAlone(int row)
{
    m_ui.list->States().SelectOnly(row);
    ShowNewSelection(row);
    m_ui.list->RefreshRows();
}

void CLinksDlg::ShowMatch(int row)
{
    ShowRow(row);
    m_ui.list->RefreshRows();
}
