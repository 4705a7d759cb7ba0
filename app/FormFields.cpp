#include "app/FormFields.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>

#include "common/QtText.h"
#include "health/LaunchCheck.h"
#include "store/AnnotatedLink.h"
#include "store/LinkDate.h"
#include "store/NaturalCompare.h"
#include "store/Utf.h"

namespace {

// A field shows at most the beginning of a huge text (a hostile file's 100 MB title would
// freeze the window and take gigabytes), more than anyone reads in a field.
constexpr size_t kShownBytes = 64 * 1024;

// The first limit bytes of a text, cut before a character; cut tells whether it was cut.
std::string_view ShownPart(std::string_view bytes, size_t limit, bool& cut)
{
    cut = bytes.size() > limit;
    return bytes.substr(0, Utf8CutPoint(bytes, limit));
}

// The field's note when only the beginning of its text is shown.
QString CutNote(bool cut, size_t size)
{
    return cut ? QString(QTr("Main", "Only the beginning of this text is shown: it is %1 bytes long, too long to change here.  "
                         "It is kept whole."))
                     .arg(size)
               : QString();
}

}  // namespace

CFormFields::CFormFields(QLineEdit& title, QLineEdit& link, QPlainTextEdit& description, QComboBox& category,
                         QLabel& date, QObject* parent)
    : QObject(parent), m_title(title), m_link(link), m_description(description), m_category(category), m_date(date)
{
    auto edited = [this] {
        if (m_filling) return;
        m_edited = true;
        // Typing after a command: the field's own undo takes the typing back first.
        m_command.reset();
    };
    connect(&m_title, &QLineEdit::textEdited, this, edited);
    connect(&m_link, &QLineEdit::textEdited, this, edited);
    connect(&m_description, &QPlainTextEdit::textChanged, this, edited);
    connect(m_category.lineEdit(), &QLineEdit::textEdited, this, edited);
    // The box also reports an activation when the focus leaves its field (another window
    // opening): only a choice that changes the text is an edit.
    connect(&m_category, &QComboBox::activated, this, [this] {
        if (!m_filling && !CategoryUntouched()) m_edited = true;
    });
}

void CFormFields::Show(const CAnnotatedLink& record)
{
    ++m_shows;
    m_command.reset();
    Filling filling(m_filling);
    SetTitle(record.Title());
    SetLink(record.Link());
    SetDescription(record.Description());
    m_bytes[SlotCategory] = record.Category();
    m_text[SlotCategory] = DisplayText(record.Category());
    m_category.setEditText(m_text[SlotCategory]);
    m_category.lineEdit()->setCursorPosition(0);
    ShowDate(record.Modified());
}

void CFormFields::ShowDate(const CLinkDate& modified)
{
    m_date.setText(QString::fromStdString(FormatLinkDate(modified, DateStyle::Record)));
}

void CFormFields::SetLine(QLineEdit& field, std::string_view bytes, Slot slot)
{
    Filling filling(m_filling);
    m_bytes[slot] = bytes;
    bool cut = false;
    m_text[slot] = DisplayText(ShownPart(bytes, kShownBytes, cut));
    // A link shows every character it holds: an invisible one written out ("<U+202E>").
    // Unedited, the field keeps the record's bytes all the same.
    if (slot == SlotLink) m_text[slot] = QString::fromStdString(VisibleText(m_text[slot].toStdString()));
    if (cut) m_text[slot] += QChar(0x2026);
    field.setText(m_text[slot]);
    field.setToolTip(CutNote(cut, bytes.size()));
    field.setReadOnly(cut);
    // A long title or link reads from its beginning.
    field.setCursorPosition(0);
}

void CFormFields::SetDescription(std::string_view bytes)
{
    Filling filling(m_filling);
    m_bytes[SlotDescription] = bytes;
    bool cut = false;
    m_text[SlotDescription] = DescriptionToField(ShownPart(bytes, kShownBytes, cut));
    if (cut) m_text[SlotDescription] += QChar(0x2026);
    m_description.setPlainText(m_text[SlotDescription]);
    m_description.setToolTip(CutNote(cut, bytes.size()));
    m_description.setReadOnly(cut);
}

void CFormFields::Clear()
{
    Filling filling(m_filling);
    m_command.reset();
    m_date.clear();
    m_edited = false;
    m_title.clear();
    m_link.clear();
    m_description.clear();
    m_title.setToolTip(QString());
    m_link.setToolTip(QString());
    m_description.setToolTip(QString());
    m_title.setReadOnly(false);
    m_link.setReadOnly(false);
    m_description.setReadOnly(false);
    for (auto& text : m_text) text.clear();
    for (auto& bytes : m_bytes) bytes.clear();
}

std::string CFormFields::BytesOf(const QString& text, Slot slot) const
{
    return text == m_text[slot] ? m_bytes[slot] : ToBytes(text);
}

std::string CFormFields::Title() const { return BytesOf(m_title.text(), SlotTitle); }

std::string CFormFields::Link() const { return BytesOf(m_link.text(), SlotLink); }

std::string CFormFields::Description() const
{
    const QString text = m_description.toPlainText();
    return text == m_text[SlotDescription] ? m_bytes[SlotDescription] : FieldToDescription(text);
}

std::string CFormFields::Category() const { return BytesOf(m_category.currentText(), SlotCategory); }

bool CFormFields::CategoryUntouched() const { return m_category.currentText() == m_text[SlotCategory]; }

void CFormFields::ListCategories(const std::vector<std::string>& names)
{
    Filling filling(m_filling);
    const QString text = m_category.currentText();
    m_category.clear();
    for (const auto& name : names) m_category.addItem(DisplayText(name));
    m_category.setEditText(text);
}

bool CFormFields::ChooseCategory(const std::string& name, const std::vector<std::string>& names)
{
    Filling filling(m_filling);
    for (const std::string& listed : names)
        if (EqualsNoCase(listed, name)) {
            m_category.setEditText(DisplayText(listed));
            return true;
        }
    return false;
}

void CFormFields::EmptyCategory()
{
    Filling filling(m_filling);
    m_category.setEditText(QString());
}

void CFormFields::ForgetCategories()
{
    Filling filling(m_filling);
    m_category.clear();
    m_category.setEditText(QString());
}

void CFormFields::KeepListedCategory(const std::vector<std::string>& names, bool showsRecord)
{
    // As it is when it shows the record's own: the list's change is no edit of the link.
    if (showsRecord && CategoryUntouched()) return;
    if (!ChooseCategory(Category(), names)) EmptyCategory();
}

void CFormFields::RenameCategories(const std::vector<std::pair<std::string, std::string>>& renames)
{
    Filling filling(m_filling);
    for (const auto& [from, to] : renames) RenameCategory(from, to);
}

void CFormFields::RenameCategory(const std::string& from, const std::string& to)
{
    if (m_bytes[SlotCategory] == from) {
        const bool untouched = CategoryUntouched();
        m_bytes[SlotCategory] = to;
        m_text[SlotCategory] = DisplayText(to);
        if (untouched) m_category.setEditText(m_text[SlotCategory]);
    } else if (Category() == from) {
        m_category.setEditText(DisplayText(to));
    }
}

void CFormFields::ChangeByCommand(CommandField field, const std::string& after, uint64_t undoSteps)
{
    std::string before = field == CommandField::Title ? Title() : Description();
    if (before == after) return;
    if (field == CommandField::Title)
        SetTitle(after);
    else
        SetDescription(after);
    m_command = CommandChange{field, std::move(before), after, m_edited, undoSteps};
    m_edited = true;
}

bool CFormFields::StepCommand(bool redo, uint64_t undoSteps)
{
    if (!CanStepCommand(redo, undoSteps)) return false;
    const std::string& text = redo ? m_command->after : m_command->before;
    if (m_command->field == CommandField::Title)
        SetTitle(text);
    else
        SetDescription(text);
    m_edited = redo || m_command->editedBefore;
    m_command->undone = !redo;
    return true;
}
