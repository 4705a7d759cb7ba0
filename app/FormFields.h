#pragma once
#include <QString>
#include <string>
#include <string_view>

class QComboBox;
class QLineEdit;
class QPlainTextEdit;
class CAnnotatedLink;

// The form's four fields as they show a record. Each field gives back the record's exact
// bytes until the person edits it (text and bytes do not always convert back exactly),
// and a huge text is shown cut and read-only with a note, so that the part the field
// does not hold is never lost.
class CFormFields {
public:
    CFormFields(QLineEdit& title, QLineEdit& link, QPlainTextEdit& description, QComboBox& category);

    void Show(const CAnnotatedLink& record);
    void SetTitle(std::string_view bytes) { SetLine(m_title, bytes, SlotTitle); }
    void SetLink(std::string_view bytes) { SetLine(m_link, bytes, SlotLink); }
    void SetDescription(std::string_view bytes);
    // Empties the title, link and description and forgets every text shown.
    void Clear();

    std::string Title() const;
    std::string Link() const;
    std::string Description() const;
    std::string Category() const;
    // The Category field still shows what the shown record's category showed.
    bool CategoryUntouched() const;
    // A category was renamed: the field follows, its text and the shown record's alike, so
    // that the rename is no edit of the form.
    void RenameCategory(const std::string& from, const std::string& to);

private:
    enum Slot { SlotTitle, SlotLink, SlotDescription, SlotCategory, SlotCount };
    void SetLine(QLineEdit& field, std::string_view bytes, Slot slot);
    std::string BytesOf(const QString& text, Slot slot) const;

    QLineEdit& m_title;
    QLineEdit& m_link;
    QPlainTextEdit& m_description;
    QComboBox& m_category;
    // The bytes and text each field was filled with, so that an unedited field keeps its bytes.
    std::string m_bytes[SlotCount];
    QString m_text[SlotCount];
};
