#include "undo/UndoController.h"

#include "options/CountFormatter.h"
#include "store/LinkStore.h"
#include "undo/UndoManager.h"
#include "undo/UndoPreviewDlg.h"

CUndoController::CUndoController(UndoCommandHost& host, CUndoManager& undo, LinkStore& store,
                                 const CSettings& settings, QWidget* window)
    : m_host(host), m_undo(undo), m_store(store), m_settings(settings), m_window(window)
{
}

void CUndoController::Step(bool redo)
{
    auto lock = m_store.Lock();
    // Title Case or Word Wrap of the form, done since the last step, goes back first.
    if (m_host.StepFormCommand(redo)) return;
    const auto side = redo ? CUndoManager::Side::Redo : CUndoManager::Side::Undo;
    if (m_undo.IsEmpty(side)) return;
    // A typed edit of the shown link stays in the form, unless the step changes that very
    // link and would show it anew over the edit: then the edit is stored first, as Close
    // stores it, and is the step taken back (Redo gives it back).
    if (m_host.FormEdited() && m_undo.HeadChangesInPlace(side, m_host.ShownRecord())) m_host.StoreFormEdit();
    const bool keepEdit = m_host.FormEdited();
    const unsigned showsBefore = m_host.FormShows();
    m_host.BeginListUpdate();
    const CAnnotatedLink* shown = m_host.ShownRecord();
    bool act = true;
    if (m_preview) {
        // The records the preview shows live until it has closed.
        const PreviewRecords affected = m_undo.HeadRecords(side);
        CUndoPreviewDlg preview(redo, m_undo.HeadName(side), affected.effect, affected.records, CCountFormatter(m_settings),
                                m_window);
        act = preview.exec() == QDialog::Accepted;
    }
    if (act) {
        if (redo)
            m_undo.Redo(shown);
        else
            m_undo.Undo(shown);
    }
    // Still edited when the form kept its text (the step did not show its link anew).
    m_host.SetFormEdited(keepEdit && m_host.FormShows() == showsBefore && shown == m_host.ShownRecord());
    m_store.SetChanged();
    m_host.EndListUpdate();
    m_host.StepTaken();
}
