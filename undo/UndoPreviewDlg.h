#pragma once
#include <QDialog>
#include <string>
#include <vector>

#include "store/AnnotatedLink.h"
#include "undo/UndoManager.h"

class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class CCountFormatter;

// "Previews Undo/Redo": what an Undo or Redo is about to do, with the records concerned
// shown read-only one at a time. Accepted means: do it.
class CUndoPreviewDlg : public QDialog {
    Q_OBJECT
public:
    CUndoPreviewDlg(bool redo, const std::string& actionName, StepEffect effect,
                    std::vector<const CAnnotatedLink*> records, const CCountFormatter& counts, QWidget* parent = nullptr);

    // The controls, by their role; tests read and press them.
    QLabel* ActionLabel() const { return m_action; }
    QLabel* EffectLabel() const { return m_effect; }
    QLineEdit* TitleField() const { return m_title; }
    QLineEdit* LinkField() const { return m_link; }
    QPlainTextEdit* DescriptionField() const { return m_description; }
    QLineEdit* CategoryField() const { return m_category; }
    QLabel* DateLabel() const { return m_date; }
    QPushButton* PreviousButton() const { return m_previous; }
    QPushButton* NextButton() const { return m_next; }
    QPushButton* ActionButton() const { return m_ok; }

private:
    void ShowRecord(int position);

    std::vector<const CAnnotatedLink*> m_records;
    int m_position = 0;
    QLabel* m_action;
    QLabel* m_effect;
    QLineEdit* m_title;
    QLineEdit* m_link;
    QPlainTextEdit* m_description;
    QLineEdit* m_category;
    QLabel* m_date;
    QPushButton* m_previous;
    QPushButton* m_next;
    QPushButton* m_ok;
};
