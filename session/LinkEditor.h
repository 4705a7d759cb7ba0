#pragma once
#include <functional>
#include <string>
#include <unordered_set>
#include <vector>

#include "session/EditRules.h"
#include "store/LinkStore.h"

class CUndoManager;
class Clock;

// The changes a person makes to the links, each one undoable step that marks the
// collection changed, with no window: the window's form and commands use them, and so
// can anything else that changes links in a running window.
class CLinkEditor {
public:
    CLinkEditor(LinkStore& store, CUndoManager& undo, Clock& clock);

    // Stores the texts into the record at row (a Modify), or adds them as a new record at
    // the end when row is -1, after the move rules and with the description and category
    // trimmed; the category joins the list. Returns the record's row, or -1 when there was
    // no memory (nothing changed then).
    int StoreLink(int row, FormTexts texts, const std::string& category, MoveRules rules = {});
    // Adds the texts as a new record at the end as an undoable "Add" step (a link that
    // came from elsewhere, which Undo takes out again), with the description and category
    // trimmed; the category joins the list. The new row, or -1 when there was no memory.
    int AddLinkAsStep(const FormTexts& texts, const std::string& category);
    // Deletes the rows (ascending, distinct) as one step.
    void DeleteRows(const std::vector<int>& rows);
    // Changes the records as one Modify step.
    void ChangeRecords(const std::vector<CAnnotatedLink*>& records, const std::function<void()>& change);
    // Changes one text of the records at the rows (in list order) as one step, whatever
    // their number.
    void ChangeTexts(CAnnotatedLink::Text text, const std::vector<int>& rows,
                     const std::function<void(std::string&)>& change);
    // Appends the records as one step with the given name; false, with nothing added, when
    // there was no memory for them.
    bool AppendRecords(std::vector<LinkStore::Record>& records, const char* step);

    // Undo's own steps on the store: deleted records come back at the end (false, with
    // the records still the caller's, when there was no memory), and added ones go.
    bool RestoreRecords(std::vector<LinkStore::Record>& records);
    std::vector<LinkStore::Record> TakeRecords(const std::unordered_set<const CAnnotatedLink*>& records);

private:
    LinkStore& m_store;
    CUndoManager& m_undo;
    Clock& m_clock;
};
