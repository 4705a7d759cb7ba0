#pragma once
#include "options/OptionsSheet.h"

class QCheckBox;

// "Misc.": editing helpers, the delete question, save-on-leave and start-up.
class CMiscPage : public COptionsPage {
    Q_OBJECT
public:
    CMiscPage(CSettings& values, QWidget* parent = nullptr);
    bool Leave() override;
    QCheckBox* Box(int i) const { return m_boxes[i]; }
    QCheckBox* ArchiveBox() const { return m_archive; }

private:
    CSettings& m_values;
    QCheckBox* m_boxes[7];
    QCheckBox* m_archive = nullptr;
};
