#include "undo/UndoManager.h"

#include <new>
#include <unordered_map>

#include "platform/Prompter.h"
#include "platform/Translate.h"

CRowsAction::CRowsAction(std::vector<LinkStore::Record> records) : m_owned(std::move(records))
{
    m_records.reserve(m_owned.size());
    for (const auto& record : m_owned) m_records.push_back(record.get());
}

PreviewRecords CRowsAction::RecordsAffected() const
{
    PreviewRecords preview;
    preview.records.assign(m_records.begin(), m_records.end());
    return preview;
}

void CRowsAction::PutBack(UndoHost& host) { host.RestoreDeletedLinks(m_owned); }

void CRowsAction::TakeOut(UndoHost& host)
{
    // Records that found no row when put back are still here; the others are taken out.
    std::unordered_set<const CAnnotatedLink*> inStore(m_records.begin(), m_records.end());
    for (const auto& record : m_owned) inStore.erase(record.get());
    std::vector<LinkStore::Record> taken = host.RemoveLinkRows(inStore);
    std::unordered_map<const CAnnotatedLink*, LinkStore::Record> byRecord;
    for (auto& record : taken) byRecord.emplace(record.get(), std::move(record));
    for (auto& record : m_owned) byRecord.emplace(record.get(), std::move(record));
    m_owned.clear();
    for (CAnnotatedLink* record : m_records) {
        auto it = byRecord.find(record);
        if (it != byRecord.end()) m_owned.push_back(std::move(it->second));
    }
}

void CExchangeAction::Exchange(const CAnnotatedLink* shown, UndoHost& host)
{
    for (size_t i = 0; i < m_live.size(); ++i) {
        ExchangeOne(i);
        if (m_live[i] == shown) host.ShowLink(*m_live[i]);
    }
    host.RecordsChanged(std::vector<const CAnnotatedLink*>(m_live.begin(), m_live.end()));
}

CModifyAction::CModifyAction(const std::vector<CAnnotatedLink*>& records) : CExchangeAction(records)
{
    m_other.reserve(records.size());
    for (const CAnnotatedLink* record : records) m_other.push_back(*record);
}

PreviewRecords CModifyAction::RecordsAffected() const
{
    PreviewRecords preview;
    for (const CAnnotatedLink& other : m_other) preview.records.push_back(&other);
    return preview;
}

PreviewRecords CTextAction::RecordsAffected() const
{
    PreviewRecords preview;
    preview.made.reserve(m_live.size());
    for (size_t i = 0; i < m_live.size(); ++i) {
        preview.made.push_back(*m_live[i]);
        preview.made.back().Set(m_text, m_other[i].View());
    }
    for (const CAnnotatedLink& record : preview.made) preview.records.push_back(&record);
    return preview;
}

CUndoManager::CUndoManager(UndoHost& host, Prompter& prompter) : m_host(host), m_prompter(prompter) {}

CUndoManager::~CUndoManager() = default;

void CUndoManager::OutOfMemory(bool& once, const char* message)
{
    if (!once) return;
    once = false;
    m_prompter.Error(Tr("Undo", message));
}

void CUndoManager::Push(std::unique_ptr<CUndoAction> action)
{
    try {
        m_undo.push_back(std::move(action));
    } catch (const std::bad_alloc&) {
        OutOfMemory(m_undoMessage, TrNoop("Undo", "Could not add to the undo list."));
        return;  // the action goes, and with a Delete its records
    }
    m_redo.clear();
    UpdateCaptions();
}

void CUndoManager::PushModify(CAnnotatedLink& record) { PushModify(std::vector<CAnnotatedLink*>{&record}); }

void CUndoManager::PushModify(const std::vector<CAnnotatedLink*>& records)
{
    if (records.empty()) return;
    std::unique_ptr<CUndoAction> action;
    try {
        action = std::make_unique<CModifyAction>(records);
    } catch (const std::bad_alloc&) {
        OutOfMemory(m_undoMessage, TrNoop("Undo", "Could not add to the undo list."));
        return;
    }
    Push(std::move(action));
}

void CUndoManager::ChangeTexts(CTextAction::Text text, const std::vector<CAnnotatedLink*>& records,
                               const std::function<void(std::string&)>& change)
{
    std::vector<CAnnotatedLink*> changed;
    std::vector<CPackedText> before;
    bool recording = true;
    // Without the memory for the step the texts still change, as when the step itself
    // finds none.
    auto stopRecording = [&] {
        changed = {};
        before = std::vector<CPackedText>();
        if (recording) OutOfMemory(m_undoMessage, TrNoop("Undo", "Could not add to the undo list."));
        recording = false;
    };
    for (CAnnotatedLink* record : records) {
        std::string value(record->Get(text));
        change(value);
        if (value == record->Get(text)) continue;
        if (recording) {
            try {
                before.emplace_back(record->Get(text));
                changed.push_back(record);
            } catch (const std::bad_alloc&) {
                stopRecording();
            }
        }
        record->Set(text, value);
    }
    if (changed.empty()) return;
    std::unique_ptr<CUndoAction> action;
    try {
        action = std::make_unique<CTextAction>(text, std::move(changed), std::move(before));
    } catch (const std::bad_alloc&) {
        OutOfMemory(m_undoMessage, TrNoop("Undo", "Could not add to the undo list."));
        return;
    }
    Push(std::move(action));
}

void CUndoManager::PushDelete(std::vector<LinkStore::Record> records)
{
    if (records.empty()) return;
    std::unique_ptr<CUndoAction> action;
    try {
        action = std::make_unique<CDeleteAction>(std::move(records));
    } catch (const std::bad_alloc&) {
        OutOfMemory(m_undoMessage, TrNoop("Undo", "Could not add to the undo list."));
        return;
    }
    Push(std::move(action));
}

void CUndoManager::PushAdd(const char* name, const std::vector<CAnnotatedLink*>& records)
{
    if (records.empty()) return;
    std::unique_ptr<CUndoAction> action;
    try {
        action = std::make_unique<CAddAction>(name, records);
    } catch (const std::bad_alloc&) {
        OutOfMemory(m_undoMessage, TrNoop("Undo", "Could not add to the undo list."));
        return;
    }
    Push(std::move(action));
}

void CUndoManager::Move(List_& from, List_& to, bool undo, const CAnnotatedLink* shown)
{
    if (from.empty()) return;
    std::unique_ptr<CUndoAction> action = std::move(from.back());
    from.pop_back();
    if (undo)
        action->Undo(shown, m_host);
    else
        action->Redo(shown, m_host);
    try {
        to.push_back(std::move(action));
    } catch (const std::bad_alloc&) {
        if (undo)
            OutOfMemory(m_redoMessage, TrNoop("Undo", "Could not add to the redo list."));
        else
            OutOfMemory(m_undoMessage, TrNoop("Undo", "Could not add to the undo list."));
    }
    UpdateCaptions();
}

void CUndoManager::Undo(const CAnnotatedLink* shown) { Move(m_undo, m_redo, true, shown); }

void CUndoManager::Redo(const CAnnotatedLink* shown) { Move(m_redo, m_undo, false, shown); }

void CUndoManager::Clear()
{
    m_undo.clear();
    m_redo.clear();
    UpdateCaptions();
}

std::string CUndoManager::HeadName(Side side) const
{
    const List_& list = List(side);
    return list.empty() ? std::string() : list.back()->Name();
}

PreviewRecords CUndoManager::HeadRecords(Side side) const
{
    const List_& list = List(side);
    if (list.empty()) return PreviewRecords();
    PreviewRecords affected = list.back()->RecordsAffected();
    affected.effect = list.back()->Effect();
    return affected;
}

bool CUndoManager::HeadChangesInPlace(Side side, const CAnnotatedLink* record) const
{
    const List_& list = List(side);
    return !list.empty() && list.back()->ChangesInPlace(record);
}

void CUndoManager::UpdateCaptions()
{
    ++m_changes;
    const std::string undo = HeadName(Side::Undo), redo = HeadName(Side::Redo);
    m_host.SetUndoCaption(undo.empty() ? Tr("Undo", "&Undo\tCtrl+Z")
                                       : Fill(Tr("Undo", "&Undo %1\tCtrl+Z"), {Tr("Undo", undo.c_str())}),
                          !undo.empty());
    m_host.SetRedoCaption(redo.empty() ? Tr("Undo", "Re&do\tCtrl+Y")
                                       : Fill(Tr("Undo", "Re&do %1\tCtrl+Y"), {Tr("Undo", redo.c_str())}),
                          !redo.empty());
}
