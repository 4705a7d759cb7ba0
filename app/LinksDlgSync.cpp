#include <QApplication>

#include "app/LinkListCtrl.h"
#include "app/LinksDlg.h"
#include "common/SortedComboBox.h"
#include "common/StatusNote.h"

// The main window's side of what the sync controller asks of it.

bool CLinksDlg::DataFileChangedOnDisk(bool mayAsk) { return m_sync->DataFileChangedOnDisk(mayAsk); }

bool CLinksDlg::Occupied()
{
    QWidget* modal = QApplication::activeModalWidget();
    return IsSearchBusy() || (modal && modal != this);
}

void CLinksDlg::StoreFormEdit()
{
    if (m_settings.moveSave && m_fields->Edited()) SaveCurrentLink(false);
}

int CLinksDlg::ShownRow() { return m_retrieved ? m_ui.list->States().Retrieved() : -1; }

QString CLinksDlg::SearchBoxText() { return m_ui.search->currentText(); }

void CLinksDlg::RestoreView(const std::vector<int>& selected, int shown, const QString& search)
{
    BeginListUpdate();
    RowStates& states = m_ui.list->States();
    for (int row : selected) states.SetSelected(row, true);
    const int mark = shown >= 0 ? shown : selected.empty() ? -1 : selected.front();
    if (mark >= 0) {
        states.SetMark(mark);
        m_ui.list->EnsureRowVisible(mark);
        m_searcher.StepsFrom(mark);
    }
    if (shown >= 0) {
        states.SetRetrieved(shown);
        ShowLink(std::as_const(m_store).At(shown));
        m_retrieved = true;
        m_fields->SetEdited(false);
    }
    m_ui.search->setEditText(search);
    UpdateSelectedCount();
    EndListUpdate();
}

void CLinksDlg::DataFileInEffect(const std::string& path) { emit dataFileInEffect(QString::fromStdString(path)); }

void CLinksDlg::ShowStatus(const QString& text) { m_ui.statusText->ShowOver(text, m_ui.list->geometry()); }
QLabel* CLinksDlg::StatusText() const { return m_ui.statusText; }
