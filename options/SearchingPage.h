#pragma once
#include "options/OptionsSheet.h"

class QCheckBox;
class QLabel;
class QSlider;

// "Searching": the fields searched, where Previous and Next start, typos and the
// interruptible search.
class CSearchingPage : public COptionsPage {
    Q_OBJECT
public:
    CSearchingPage(CSettings& values, QWidget* parent = nullptr);

    bool Leave() override;
    void Apply() override;

    QCheckBox* TyposBox() const { return m_typos; }
    QSlider* SeparationSlider() const { return m_separation; }
    QLabel* SeparationLabel() const { return m_labels[0]; }

private:
    void UpdateEnabling();

    CSettings& m_values;
    QCheckBox* m_title;
    QCheckBox* m_category;
    QCheckBox* m_description;
    QCheckBox* m_link;
    QCheckBox* m_positionOnLast;
    QCheckBox* m_typos;
    QSlider* m_separation;
    QLabel* m_labels[3];
    QCheckBox* m_interruptible;
};
