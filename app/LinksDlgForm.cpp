#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <utility>

#include "app/EditRules.h"
#include "app/FormText.h"
#include "app/LinkListCtrl.h"
#include "app/LinksDlg.h"
#include "health/LaunchCheck.h"
#include "common/SortedComboBox.h"
#include "platform/Clipboard.h"
#include "platform/Clock.h"
#include "store/LinkDate.h"
#include "platform/Prompter.h"
#include "store/NaturalCompare.h"
#include "store/Utf.h"

// The main window's form: showing a record, storing it back, clearing it.

// ---- The form ----

namespace {

// A field shows at most the beginning of a huge text (a hostile file's 100 MB title would
// freeze the window and take gigabytes), more than anyone reads in a field. Such a field
// cannot be edited, so that the rest of its text, which it does not hold, is never lost.
constexpr size_t kShownLineBytes = 64 * 1024;
constexpr size_t kShownDescriptionBytes = 64 * 1024;

// The first limit bytes of a text, cut before a character; cut tells whether it was cut.
std::string_view ShownPart(std::string_view bytes, size_t limit, bool& cut)
{
    cut = bytes.size() > limit;
    return bytes.substr(0, Utf8CutPoint(bytes, limit));
}

// The field's note when only the beginning of its text is shown.
QString CutNote(bool cut, size_t size)
{
    return cut ? QString("Only the beginning of this text is shown: it is %1 bytes long, too long to change here.  "
                         "It is kept whole.")
                     .arg(size)
               : QString();
}

}  // namespace

void CLinksDlg::SetField(QLineEdit* field, std::string_view bytes, int slot)
{
    m_shownBytes[slot] = bytes;
    bool cut = false;
    m_shownText[slot] = DisplayText(ShownPart(bytes, kShownLineBytes, cut));
    // A link shows every character it holds: an invisible one written out ("<U+202E>").
    // Unedited, the field keeps the record's bytes all the same.
    if (slot == SlotLink) m_shownText[slot] = QString::fromStdString(VisibleText(m_shownText[slot].toStdString()));
    if (cut) m_shownText[slot] += QChar(0x2026);
    field->setText(m_shownText[slot]);
    field->setToolTip(CutNote(cut, bytes.size()));
    field->setReadOnly(cut);
    // A long title or link reads from its beginning.
    field->setCursorPosition(0);
}

void CLinksDlg::SetDescription(std::string_view bytes)
{
    m_shownBytes[SlotDescription] = bytes;
    bool cut = false;
    m_shownText[SlotDescription] = DescriptionToField(ShownPart(bytes, kShownDescriptionBytes, cut));
    if (cut) m_shownText[SlotDescription] += QChar(0x2026);
    m_description->setPlainText(m_shownText[SlotDescription]);
    m_description->setToolTip(CutNote(cut, bytes.size()));
    m_description->setReadOnly(cut);
}

std::string CLinksDlg::FieldBytes(const QString& text, int slot) const
{
    // A field the user did not touch gives back the exact bytes it was filled with.
    return text == m_shownText[slot] ? m_shownBytes[slot] : ToBytes(text);
}

void CLinksDlg::ShowLink(const CAnnotatedLink& record)
{
    ++m_shows;
    m_filling = true;
    SetField(m_title, record.Title(), SlotTitle);
    SetField(m_link, record.Link(), SlotLink);
    SetDescription(record.Description());
    m_shownBytes[SlotCategory] = record.Category();
    m_shownText[SlotCategory] = DisplayText(record.Category());
    m_category->setEditText(m_shownText[SlotCategory]);
    m_category->lineEdit()->setCursorPosition(0);
    m_dateLabel->setText(QString::fromStdString(FormatLinkDate(record.Modified(), DateStyle::Record)));
    m_filling = false;
}

void CLinksDlg::RetrieveLink(bool click, bool byKey)
{
    RowStates& states = m_list->States();
    const int mark = states.Mark();
    if (IsSearchBusy() || mark < 0) return;
    // Moving to another row by the keys stores the edit as a click does.
    if ((click || byKey) && m_settings.moveSave && m_edited && mark != states.Retrieved()) SaveCurrentLink(false);
    // Storing may have saved, and a save may have loaded another version: the mark is
    // looked at again.
    if (states.Mark() < 0) return;
    states.SetRetrieved(states.Mark());
    if (states.Mark() < m_store.Count()) {
        // Read through the const store: showing a record must not mark its text for folding again.
        ShowLink(std::as_const(m_store).At(states.Mark()));
        m_retrieved = true;
        if (m_settings.copyLink) {
            m_link->selectAll();
            m_services.clipboard.SetText(FieldBytes(m_link->text(), SlotLink));
            m_link->deselect();
        }
    }
    if (click) {
        AddSearchHistory();
        m_search->setEditText(QString());
        SetPrevNext(false, false);
    }
    m_edited = false;
    UpdateSelectedCount();
}

bool CLinksDlg::SaveCurrentLink(bool buttonMode)
{
    auto lock = m_store.Lock();
    const QString description = m_description->toPlainText();
    FormTexts form{FieldBytes(m_title->text(), SlotTitle), FieldBytes(m_link->text(), SlotLink),
                   description == m_shownText[SlotDescription] ? m_shownBytes[SlotDescription]
                                                               : FieldToDescription(description)};
    form.description = std::string(TrimView(form.description));
    if (form.title.empty() && form.link.empty() && form.description.empty()) return false;

    std::string category(TrimView(FieldBytes(m_category->currentText(), SlotCategory)));
    m_store.AddCategoryIfNew(category);
    try {
        ApplyMoveRules(form, m_settings.moveToTitle, m_settings.moveToLink);
    } catch (const std::bad_alloc&) {
        m_prompter.Error("There isn't enough available memory to save this link.  Try closing another application.");
        return false;
    }
    m_filling = true;
    SetField(m_title, form.title, SlotTitle);
    SetField(m_link, form.link, SlotLink);
    SetDescription(form.description);
    m_filling = false;

    BeginListUpdate();
    const CLinkDate now = NowDate(m_services.clock);
    RowStates& states = m_list->States();
    int target;
    // The form stores into the record it shows, wherever the selection mark went since.
    if (m_retrieved && states.Retrieved() >= 0 && states.Retrieved() < m_store.Count()) {
        target = states.Retrieved();
        CAnnotatedLink& record = m_store.At(target);
        m_undo.PushModify(record);
        record.SetTitle(form.title);
        record.SetCategory(category);
        record.SetDescription(form.description);
        record.SetLink(form.link);
        record.SetModified(now);
        m_list->Model().RowChanged(target);
    } else {
        const bool added = m_store.InsertLink(m_store.Count(), form.title, form.link, form.description, category, now, now);
        target = added ? m_store.Count() - 1 : -1;
    }
    m_dateLabel->setText(QString::fromStdString(FormatLinkDate(now, DateStyle::Record)));
    if (buttonMode && target >= 0) {
        states.SelectOnly(target);
        states.SetFocus(target);
        states.SetMark(target);
        // The form now shows this record, so a later save-on-leave goes to it.
        states.SetRetrieved(target);
        m_list->EnsureRowVisible(target);
        m_retrieved = true;
    }
    EndListUpdate();
    m_persistence.StoredRecord();
    m_edited = false;
    UpdateSelectedCount();
    UpdateTotalCount();
    return true;
}

void CLinksDlg::ClearForm(bool reset)
{
    m_filling = true;
    m_title->clear();
    m_link->clear();
    m_description->clear();
    m_dateLabel->clear();
    for (QWidget* field : std::initializer_list<QWidget*>{m_title, m_link, m_description}) field->setToolTip(QString());
    m_title->setReadOnly(false);
    m_link->setReadOnly(false);
    m_description->setReadOnly(false);
    for (auto& text : m_shownText) text.clear();
    for (auto& bytes : m_shownBytes) bytes.clear();
    m_retrieved = false;
    SetPrevNext(false, false);
    m_edited = false;
    if (reset) {
        m_store.ClearCategories();
        m_category->clear();
        m_category->setEditText(QString());
    } else {
        const std::string& value = m_store.ClearSelection();
        if (value == "NONE") {
            m_category->setEditText(QString());
        } else if (value != "LAST") {
            for (const auto& name : m_store.Categories())
                if (EqualsNoCase(name, value)) m_category->setEditText(DisplayText(name));
        }
    }
    m_filling = false;
}

void CLinksDlg::AddSearchHistory()
{
    QString text = m_search->currentText().trimmed();
    if (text.isEmpty()) return;
    for (int i = 0; i < m_search->count(); ++i)
        if (m_search->itemText(i).compare(text, Qt::CaseInsensitive) == 0) return;
    QString current = m_search->currentText();
    m_search->Add(text);
    m_search->setEditText(current);
}

void CLinksDlg::OnCategoriesChanged()
{
    // A load adds names one by one: the box is rebuilt once, when the load ends.
    if (m_list->IsUpdating())
        m_categoriesPending = true;
    else
        SyncCategoryBox();
}

void CLinksDlg::SyncCategoryBox()
{
    m_categoriesPending = false;
    bool filling = m_filling;
    m_filling = true;
    QString text = m_category->currentText();
    m_category->clear();
    for (const auto& name : m_store.Categories()) m_category->addItem(DisplayText(name));
    m_category->setEditText(text);
    m_filling = filling;
}

bool CLinksDlg::FormIsTarget() { return FormIsTheTarget(m_title); }

std::string CLinksDlg::FormLink() { return FieldBytes(m_link->text(), SlotLink); }

bool CLinksDlg::FormTitleEmpty() { return m_title->text().trimmed().isEmpty(); }

void CLinksDlg::TypeIntoForm(const std::string& title, const std::string& description)
{
    // As if typed: stored by Add or Modify.
    m_title->setText(DisplayText(title));
    if (m_description->toPlainText().trimmed().isEmpty()) m_description->setPlainText(DisplayText(description));
    m_edited = true;
}
