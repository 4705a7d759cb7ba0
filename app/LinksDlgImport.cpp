#include <QDragEnterEvent>
#include <QLineEdit>

#include "app/LinkListCtrl.h"
#include "app/LinksDlg.h"
#include "platform/Translate.h"

// The main window's side of what the import controller asks of it.

bool CLinksDlg::AppendRecords(std::vector<LinkStore::Record>& records, Arrival arrival, int presses)
{
    auto lock = m_store.Lock();
    const bool empty = records.empty();
    BeginListUpdate();
    const bool appended = m_editor.AppendRecords(records, arrival == Arrival::Imported ? TrNoop("Undo", "Import") : TrNoop("Undo", "Add"));
    EndListUpdate();
    if (!appended) return false;
    if (empty) return true;
    if (arrival == Arrival::Imported)
        m_fields->SetEdited(false);
    else
        m_ui.list->EnsureRowVisible(m_store.Count() - 1);
    UpdateTotalCount();
    m_persistence.StoredRecords(presses);
    return true;
}

void CLinksDlg::TypeLinkIntoForm(const std::string& title, const std::string& link)
{
    // As if typed into an empty form: what the form held goes by the usual rule first.
    StoreFormEdit();
    ClearForm(false);
    m_fields->SetTitle(title);
    m_fields->SetLink(link);
    m_fields->SetEdited(true);
    activateWindow();
    m_ui.title->setFocus(Qt::OtherFocusReason);
}

std::string CLinksDlg::FormCategory() { return m_fields->Category(); }

bool CLinksDlg::WritePersonFile(const std::string& path, const std::string& failure,
                                const std::function<bool(ByteSink&)>& write)
{
    return m_persistence.WritePersonFile(path, failure, write);
}

void CLinksDlg::SaveImportSettings() { m_options.SaveSettings(); }

void CLinksDlg::SaveHealthSettings() { m_options.SaveSettings(); }

void CLinksDlg::OpenInBrowser(const std::string& address)
{
    m_launcher.Launch(address, ParentFolder(m_persistence.DataPath()));
}

void CLinksDlg::dragEnterEvent(QDragEnterEvent* event)
{
    if (!m_import.LinksOfDrag(*event->mimeData()).empty()) event->acceptProposedAction();
}

void CLinksDlg::dropEvent(QDropEvent* event)
{
    const std::vector<DroppedLink> links = m_import.LinksOfDrag(*event->mimeData());
    if (links.empty()) return;
    event->acceptProposedAction();
    // After the drop has finished, so that the dragging program is not kept waiting.
    QMetaObject::invokeMethod(this, WhenIdle([this, links] { m_import.TakeDroppedLinks(links); }),
                              Qt::QueuedConnection);
}
