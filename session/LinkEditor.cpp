#include "session/LinkEditor.h"

#include "store/LinkDate.h"
#include "store/NaturalCompare.h"
#include "undo/UndoManager.h"
#include "platform/Translate.h"

CLinkEditor::CLinkEditor(LinkStore& store, CUndoManager& undo, Clock& clock)
    : m_store(store), m_undo(undo), m_clock(clock)
{
}

int CLinkEditor::StoreLink(int row, FormTexts texts, const std::string& untrimmedCategory, MoveRules rules)
{
    auto lock = m_store.Lock();
    const std::string category(TrimView(untrimmedCategory));
    try {
        ApplyMoveRules(texts, rules.toTitle, rules.toLink);
    } catch (const std::bad_alloc&) {
        return -1;
    }
    const CLinkDate now = NowDate(m_clock);
    if (row < 0 || row >= m_store.Count()) {
        if (!m_store.InsertLink(m_store.Count(), texts.title, texts.link, texts.description, category, now, now))
            return -1;
        m_store.AddCategoryIfNew(category);
        m_store.SetChanged();
        return m_store.Count() - 1;
    }
    m_store.AddCategoryIfNew(category);
    CAnnotatedLink& record = m_store.Edit(row);
    m_undo.PushModify(record);
    record.SetTitle(texts.title);
    record.SetCategory(category);
    record.SetDescription(texts.description);
    record.SetLink(texts.link);
    record.SetModified(now);
    m_store.SetChanged();
    return row;
}

int CLinkEditor::AddLinkAsStep(const FormTexts& texts, const std::string& category)
{
    auto lock = m_store.Lock();
    const CLinkDate now = NowDate(m_clock);
    try {
        std::vector<LinkStore::Record> records;
        records.push_back(m_store.MakeImportedLink(
            CAnnotatedLink{texts.title, texts.link, std::string(TrimView(texts.description)), category, now, now}));
        if (!records.back() || !AppendRecords(records, TrNoop("Undo", "Add"))) return -1;
    } catch (const std::bad_alloc&) {
        return -1;
    }
    m_store.SetChanged();
    return m_store.Count() - 1;
}

void CLinkEditor::DeleteRows(const std::vector<int>& rows)
{
    auto lock = m_store.Lock();
    if (rows.empty()) return;
    m_store.SetChanged();
    m_undo.PushDelete(m_store.TakeRows(rows));
}

void CLinkEditor::ChangeRecords(const std::vector<CAnnotatedLink*>& records, const std::function<void()>& change)
{
    auto lock = m_store.Lock();
    m_undo.PushModify(records);
    change();
    m_store.RecordsChanged(std::vector<const CAnnotatedLink*>(records.begin(), records.end()));
    m_store.SetChanged();
}

bool CLinkEditor::AppendRecords(std::vector<LinkStore::Record>& records, const char* step)
{
    auto lock = m_store.Lock();
    std::vector<CAnnotatedLink*> added;
    for (const auto& record : records) added.push_back(record.get());
    if (!m_store.InsertRecords(m_store.Count(), records)) return false;
    if (!added.empty()) m_undo.PushAdd(step, added);
    return true;
}

void CLinkEditor::ChangeTexts(CAnnotatedLink::Text text, const std::vector<int>& rows,
                              const std::function<void(std::string&)>& change)
{
    auto lock = m_store.Lock();
    std::vector<CAnnotatedLink*> records;
    records.reserve(rows.size());
    for (int row : rows) records.push_back(&m_store.Edit(row));
    m_undo.ChangeTexts(text, records, change);
    m_store.SetChanged();
}

bool CLinkEditor::RestoreRecords(std::vector<LinkStore::Record>& records)
{
    auto lock = m_store.Lock();
    return m_store.InsertRecords(m_store.Count(), records);
}

std::vector<LinkStore::Record> CLinkEditor::TakeRecords(const std::unordered_set<const CAnnotatedLink*>& records)
{
    auto lock = m_store.Lock();
    std::vector<int> rows;
    for (int row = 0; row < m_store.Count(); ++row)
        if (records.count(&m_store.At(row))) rows.push_back(row);
    return m_store.TakeRows(rows);
}
