#pragma once
#include <optional>
#include <QObject>
#include <QString>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

class QComboBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class CAnnotatedLink;
struct CLinkDate;

// The form's four fields and its date as they show a record, and whether the person has
// edited them since. Each field gives back the record's exact bytes until the person edits
// it (text and bytes do not always convert back exactly), and a huge text is shown cut and
// read-only with a note, so that the part the field does not hold is never lost. What the
// program puts into the fields is no edit; what the person types is.
class CFormFields : public QObject {
public:
    CFormFields(QLineEdit& title, QLineEdit& link, QPlainTextEdit& description, QComboBox& category, QLabel& date,
                QObject* parent);

    // Shows the record, its date included.
    void Show(const CAnnotatedLink& record);
    // How many times Show filled the form, to tell whether a step showed its record anew.
    unsigned Shows() const { return m_shows; }
    void ShowDate(const CLinkDate& modified);
    void SetTitle(std::string_view bytes) { SetLine(m_title, bytes, SlotTitle); }
    void SetLink(std::string_view bytes) { SetLine(m_link, bytes, SlotLink); }
    void SetDescription(std::string_view bytes);
    // Empties the title, link, description and date and forgets every text shown; the form
    // is then unedited.
    void Clear();

    bool Edited() const { return m_edited; }

    // Title Case and Word Wrap on the form change a field as an edit; Undo takes that change
    // back first and Redo does it again, while the form shows the same link untyped in and
    // no other step was taken (undoSteps is the undo list's count of changes).
    enum class CommandField { Title, Description };
    void ChangeByCommand(CommandField field, const std::string& after, uint64_t undoSteps);
    // True when it took the command's change back (or did it again).
    bool StepCommand(bool redo, uint64_t undoSteps);
    bool CanStepCommand(bool redo, uint64_t undoSteps) const
    {
        return m_command && m_command->undoSteps == undoSteps && m_command->undone == redo;
    }
    void SetEdited(bool edited) { m_edited = edited; }

    // The Category box's list follows the store's names, keeping the field's text.
    void ListCategories(const std::vector<std::string>& names);
    // The field shows the named category in the list's spelling; false, with the field as
    // it was, when the name is not listed.
    bool ChooseCategory(const std::string& name, const std::vector<std::string>& names);
    void EmptyCategory();
    // Empties the box: its list and its field.
    void ForgetCategories();
    // The list of names was replaced: the field keeps its text only while that name is still
    // listed, or while it is the shown record's own category, which the record keeps.
    void KeepListedCategory(const std::vector<std::string>& names, bool showsRecord);
    // Categories were renamed: the field follows, as the links do.
    void RenameCategories(const std::vector<std::pair<std::string, std::string>>& renames);

    std::string Title() const;
    std::string Link() const;
    std::string Description() const;
    std::string Category() const;
    // The Category field still shows what the shown record's category showed.
    bool CategoryUntouched() const;

private:
    enum Slot { SlotTitle, SlotLink, SlotDescription, SlotCategory, SlotCount };
    void SetLine(QLineEdit& field, std::string_view bytes, Slot slot);
    std::string BytesOf(const QString& text, Slot slot) const;
    void RenameCategory(const std::string& from, const std::string& to);
    // The program fills the fields while this lives: their signals are no edit.
    struct Filling {
        bool& flag;
        bool before;
        explicit Filling(bool& f) : flag(f), before(f) { flag = true; }
        ~Filling() { flag = before; }
    };

    QLineEdit& m_title;
    QLineEdit& m_link;
    QPlainTextEdit& m_description;
    QComboBox& m_category;
    QLabel& m_date;
    struct CommandChange {
        CommandField field;
        std::string before, after;
        bool editedBefore;
        uint64_t undoSteps;
        bool undone = false;
    };
    std::optional<CommandChange> m_command;
    bool m_edited = false;
    bool m_filling = false;
    unsigned m_shows = 0;
    // The bytes and text each field was filled with, so that an unedited field keeps its bytes.
    std::string m_bytes[SlotCount];
    QString m_text[SlotCount];
};
