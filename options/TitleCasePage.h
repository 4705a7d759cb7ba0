#pragma once
#include "options/OptionsSheet.h"

class QLineEdit;
class CSortedListBox;

// "Title Case": the exception words of the title caser.
class CTitleCasePage : public COptionsPage {
    Q_OBJECT
public:
    explicit CTitleCasePage(OptionsOwner& owner, QWidget* parent = nullptr);

    void Apply() override;

    void Add();
    void Edit();
    void Delete();
    void Default();

    QLineEdit* WordField() const { return m_names.field; }
    CSortedListBox* WordList() const { return m_names.list; }

private:
    void Changed();
    void Fill(const std::vector<std::string>& words);

    OptionsOwner& m_owner;
    bool m_changed = false;
    NameList m_names{};
};
