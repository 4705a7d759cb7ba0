#pragma once
#include <algorithm>
#include <functional>
#include <memory>
#include <string>
#include <unordered_set>
#include <vector>

#include "platform/Translate.h"
#include "store/LinkStore.h"

class Prompter;

// What the undo actions need of the main window.
class UndoHost {
public:
    virtual ~UndoHost() = default;
    // Appends a row for each record at the end of the list, in order, taking the record
    // over; records that get no row stay in the vector.
    virtual void RestoreDeletedLinks(std::vector<LinkStore::Record>& records) = 0;
    // Removes the rows whose records are in the set and hands their records back.
    virtual std::vector<LinkStore::Record> RemoveLinkRows(const std::unordered_set<const CAnnotatedLink*>& records) = 0;
    virtual void ShowLink(const CAnnotatedLink& record) = 0;
    // The text of records in the store changed in place (their searched text is stale).
    virtual void RecordsChanged(const std::vector<const CAnnotatedLink*>& records) = 0;
    // The menu entries of Undo and Redo: caption and whether they can be chosen.
    virtual void SetUndoCaption(const std::string& caption, bool enabled) = 0;
    virtual void SetRedoCaption(const std::string& caption, bool enabled) = 0;
};

// The records a preview shows. Versions that exist nowhere else are made for it and live
// as long as this does (it moves, and is never copied, so that the pointers hold).
// What a step does to the records it names, as the preview says it.
enum class StepEffect {
    Replaces,  // their texts are exchanged with another version (Modify, Title Case, Word Wrap)
    Deletes,   // Redo takes them out, Undo puts them back
    Adds,      // Undo takes them out, Redo puts them back
};

struct PreviewRecords {
    StepEffect effect = StepEffect::Replaces;
    std::vector<const CAnnotatedLink*> records;
    std::vector<CAnnotatedLink> made;

    PreviewRecords() = default;
    PreviewRecords(PreviewRecords&&) = default;
    PreviewRecords& operator=(PreviewRecords&&) = default;
    PreviewRecords(const PreviewRecords&) = delete;
    PreviewRecords& operator=(const PreviewRecords&) = delete;
};

// One change that can be taken back and done again.
class CUndoAction {
public:
    virtual ~CUndoAction() = default;
    // "Delete" or "Modify": what the menu and the preview call it, in English (Tr("Undo", name) shows it).
    virtual const char* Name() const = 0;
    // The records the preview shows: the deleted ones, or the other version of a Modify.
    virtual PreviewRecords RecordsAffected() const = 0;
    virtual StepEffect Effect() const = 0;
    // Whether taking the step back or doing it again changes the record in place.
    virtual bool ChangesInPlace(const CAnnotatedLink*) const { return false; }
    // shown: the record the form shows, or nullptr.
    virtual void Undo(const CAnnotatedLink* shown, UndoHost& host) = 0;
    virtual void Redo(const CAnnotatedLink* shown, UndoHost& host) = 0;
};

// Records that an action takes out of the list and puts back. While they are out of the
// store the action owns them (and frees them if it goes); while they are in it, the store does.
class CRowsAction : public CUndoAction {
public:
    PreviewRecords RecordsAffected() const override;

protected:
    // Records already out of the store (a Delete's), owned from the start.
    explicit CRowsAction(std::vector<LinkStore::Record> records);
    // Records in the store (an Import's), owned once taken out.
    explicit CRowsAction(const std::vector<CAnnotatedLink*>& records) : m_records(records) {}
    // The records come back as the last rows, in their order.
    void PutBack(UndoHost& host);
    void TakeOut(UndoHost& host);

private:
    std::vector<CAnnotatedLink*> m_records;  // in their order
    std::vector<LinkStore::Record> m_owned;  // those that are out of the store
};

// Records taken out of the list by Delete.
class CDeleteAction : public CRowsAction {
public:
    explicit CDeleteAction(std::vector<LinkStore::Record> records) : CRowsAction(std::move(records)) {}
    const char* Name() const override { return TrNoop("Undo", "Delete"); }
    StepEffect Effect() const override { return StepEffect::Deletes; }
    void Undo(const CAnnotatedLink*, UndoHost& host) override { PutBack(host); }
    void Redo(const CAnnotatedLink*, UndoHost& host) override { TakeOut(host); }
};

// Records that came in together: by an import, or by links dropped on the window. Undo
// takes out exactly those, Redo puts them back.
class CAddAction : public CRowsAction {
public:
    CAddAction(const char* name, const std::vector<CAnnotatedLink*>& records) : CRowsAction(records), m_name(name) {}
    const char* Name() const override { return m_name; }
    StepEffect Effect() const override { return StepEffect::Adds; }
    void Undo(const CAnnotatedLink*, UndoHost& host) override { TakeOut(host); }
    void Redo(const CAnnotatedLink*, UndoHost& host) override { PutBack(host); }

private:
    const char* m_name;
};

// A change that is its own inverse: undo and redo both exchange the live records' content
// with the version kept, show a record again that the form shows, and tell the list.
class CExchangeAction : public CUndoAction {
public:
    const char* Name() const override { return TrNoop("Undo", "Modify"); }
    StepEffect Effect() const override { return StepEffect::Replaces; }
    bool ChangesInPlace(const CAnnotatedLink* record) const override
    {
        return std::find(m_live.begin(), m_live.end(), record) != m_live.end();
    }
    void Undo(const CAnnotatedLink* shown, UndoHost& host) override { Exchange(shown, host); }
    void Redo(const CAnnotatedLink* shown, UndoHost& host) override { Exchange(shown, host); }

protected:
    explicit CExchangeAction(std::vector<CAnnotatedLink*> live) : m_live(std::move(live)) {}
    // Exchanges what is kept for live record i with that record's content.
    virtual void ExchangeOne(size_t i) = 0;
    std::vector<CAnnotatedLink*> m_live;

private:
    void Exchange(const CAnnotatedLink* shown, UndoHost& host);
};

// The whole content of one or more records before (or after) a Modify.
class CModifyAction : public CExchangeAction {
public:
    explicit CModifyAction(CAnnotatedLink& record) : CModifyAction(std::vector<CAnnotatedLink*>{&record}) {}
    explicit CModifyAction(const std::vector<CAnnotatedLink*>& records);
    PreviewRecords RecordsAffected() const override;

private:
    void ExchangeOne(size_t i) override { std::swap(*m_live[i], m_other[i]); }
    std::vector<CAnnotatedLink> m_other;
};

// One text of several records before (or after) a Title Case or a Word Wrap, kept only for
// the records whose text changed: a step costs the texts that changed, not whole records.
class CTextAction : public CExchangeAction {
public:
    using Text = CAnnotatedLink::Text;
    CTextAction(Text text, std::vector<CAnnotatedLink*> live, std::vector<CPackedText> other)
        : CExchangeAction(std::move(live)), m_text(text), m_other(std::move(other))
    {
    }
    // Named by the command that made it.
    const char* Name() const override { return m_text == Text::Title ? TrNoop("Undo", "Title Case") : TrNoop("Undo", "Word Wrap"); }
    // Each record as the step would make it, copied for the preview.
    PreviewRecords RecordsAffected() const override;

private:
    // A failure to allocate leaves record i and its kept text as they were.
    void ExchangeOne(size_t i) override
    {
        CPackedText now(m_live[i]->Get(m_text));
        m_live[i]->Set(m_text, m_other[i].View());
        m_other[i] = std::move(now);
    }
    Text m_text;
    std::vector<CPackedText> m_other;
};

// The undo and redo lists of Delete, Modify and the additions, newest first, with the menu captions
// that name their heads.
class CUndoManager {
public:
    enum class Side { Undo, Redo };

    CUndoManager(UndoHost& host, Prompter& prompter);
    ~CUndoManager();

    // Before a record's content changes.
    void PushModify(CAnnotatedLink& record);
    // Before the content of several records changes in one step.
    void PushModify(const std::vector<CAnnotatedLink*>& records);
    // Changes one text of several records as one step: change may alter each record's
    // text, and the step keeps the old text of those it altered (none: no step).
    void ChangeTexts(CTextAction::Text text, const std::vector<CAnnotatedLink*>& records,
                     const std::function<void(std::string&)>& change);
    // After rows were deleted: the action takes the records over.
    void PushDelete(std::vector<LinkStore::Record> records);
    // After records were added in one step ("Import", "Add"); they stay the store's.
    void PushAdd(const char* name, const std::vector<CAnnotatedLink*>& records);
    void Undo(const CAnnotatedLink* shown);
    void Redo(const CAnnotatedLink* shown);
    // Empties both lists, freeing the records that only they held: the store was emptied.
    void Clear();

    bool IsEmpty(Side side) const { return List(side).empty(); }
    // Counts every change of the lists: a step pushed, taken back or done again, or all cleared.
    uint64_t Changes() const { return m_changes; }
    // The head action's name (empty when there is none) and the records it affects.
    std::string HeadName(Side side) const;
    PreviewRecords HeadRecords(Side side) const;
    // Whether the next Undo (or Redo) changes the record in place.
    bool HeadChangesInPlace(Side side, const CAnnotatedLink* record) const;

private:
    using List_ = std::vector<std::unique_ptr<CUndoAction>>;  // the head is at the back
    const List_& List(Side side) const { return side == Side::Undo ? m_undo : m_redo; }
    void Push(std::unique_ptr<CUndoAction> action);
    // Moves the head of from onto to after running it; false (and the action gone) when
    // memory runs out.
    void Move(List_& from, List_& to, bool undo, const CAnnotatedLink* shown);
    void OutOfMemory(bool& once, const char* message);
    void UpdateCaptions();

    UndoHost& m_host;
    Prompter& m_prompter;
    List_ m_undo, m_redo;
    uint64_t m_changes = 0;
    bool m_undoMessage = true;  // each message is shown once a run
    bool m_redoMessage = true;
};
