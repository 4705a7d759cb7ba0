#include <QApplication>

#include "app/LinkListCtrl.h"
#include "app/LinksDlg.h"
#include "app/TipDlg.h"
#include "common/QtText.h"
#include "platform/Translate.h"

// The main window's side of links saved from the browser while the window is open.

std::string CLinksDlg::AnswerBrowser(const std::string& message)
{
    return AnswerInWindow(message, *this, NORVELLE_VERSION, m_persistence.DataPath());
}

std::string CLinksDlg::CaptureBusy()
{
    if (m_shutDown || m_endRequested) return Tr("Main", "Norvelle is closing. Save the link again in a moment.");
    // The tips hold no links: a link may arrive while they are read.
    const bool tips = qobject_cast<CTipDlg*>(QApplication::activeModalWidget()) && !IsSearchBusy();
    if ((Occupied() && !tips) || QApplication::activePopupWidget() || m_ui.list->IsUpdating())
        return Tr("Main", "Norvelle is waiting for an answer in its window. Answer it, then save the link again.");
    return {};
}

int CLinksDlg::StoreCaptured(int row, const FormTexts& texts, const std::string& category)
{
    auto lock = m_store.Lock();
    BeginListUpdate();
    const int target = row < 0 ? m_editor.AddLinkAsStep(texts, category) : m_editor.StoreLink(row, texts, category);
    if (target >= 0 && target == row) m_ui.list->Model().RowChanged(target);
    EndListUpdate();
    if (target < 0) return -1;
    if (m_fields->Edited()) {
        // The person's unstored typing stays in the form; the new row is only brought into view.
        m_ui.list->EnsureRowVisible(target);
        ShowStatus(QTr("Main", "Saved from the browser: %1").arg(QString::fromStdString(texts.title)));
    } else {
        BeginListUpdate();
        m_ui.list->States().SelectOnly(target);
        m_ui.list->States().SetFocus(target);
        ShowRow(target);
        UpdateSelectedCount();
        EndListUpdate();
    }
    ShowCounts();
    return target;
}

void CLinksDlg::CountCaptured()
{
    // After the answer has gone: a save can ask the person a question, and the browser
    // must not wait for it.
    QMetaObject::invokeMethod(this, [this] { m_persistence.StoredRecord(); }, Qt::QueuedConnection);
}
