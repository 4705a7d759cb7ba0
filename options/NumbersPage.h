#pragma once
#include "options/OptionsSheet.h"

class QCheckBox;
class QLineEdit;
class QRadioButton;

// "Numbers": the thousands separator of every count, applied to the window at once.
class CNumbersPage : public COptionsPage {
    Q_OBJECT
public:
    CNumbersPage(OptionsOwner& owner, CSettings& values, QWidget* parent = nullptr);

    void Apply() override;

    QCheckBox* UseBox() const { return m_use; }
    QRadioButton* Choice(int i) const { return m_choices[i]; }  // Comma, Dot, Space, Other
    QLineEdit* OtherField() const { return m_other; }

private:
    void UpdateEnabling();

    OptionsOwner& m_owner;
    CSettings& m_values;
    QCheckBox* m_use;
    QRadioButton* m_choices[4];
    QLineEdit* m_other;
};
