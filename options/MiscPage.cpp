#include "options/MiscPage.h"
#include "common/QtText.h"
#include "platform/Translate.h"

#include <QCheckBox>
#include <QLabel>
#include <QVBoxLayout>

CMiscPage::CMiscPage(CSettings& values, QWidget* parent) : COptionsPage(parent), m_values(values)
{
    const char* captions[7] = {
        TrNoop("Options", "Move the first line in the Description field to an empty &Title field."),
        TrNoop("Options", "Move the last line in the Description field to an empty &Link field."),
        TrNoop("Options", "When retrieving an item, &copy its link to the clipboard."),
        TrNoop("Options", "When &deleting items, ask for confirmation."),
        TrNoop("Options", "&Save changes to the current annotated link when the program moves away from it or closes."),
        TrNoop("Options", "&Restore previous window position."),
        TrNoop("Options", "Show tips &on start-up.")};
    const bool states[7] = {values.moveToTitle,  values.moveToLink,          values.copyLink,  values.confirmDelete,
                            values.moveSave,     values.restoreWndPlacement, values.showDayTip};
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel(QTr("Options", "When the Add or Modify buttons are pressed:"), this));
    for (int i = 0; i < 7; ++i) {
        m_boxes[i] = new QCheckBox(QTr("Options", captions[i]), this);
        m_boxes[i]->setChecked(states[i]);
        connect(m_boxes[i], &QCheckBox::toggled, this, [this] { SetModified(); });
        layout->addWidget(m_boxes[i]);
        // The first two belong under the heading.
        if (i < 2) layout->setAlignment(m_boxes[i], Qt::AlignLeft);
    }
    // Check Links may ask the Internet Archive about dead links: the person can forbid it.
    m_archive = new QCheckBox(QTr("Options", "Look for &archived copies of dead links at the Internet Archive."), this);
    m_archive->setChecked(values.archiveLookups);
    connect(m_archive, &QCheckBox::toggled, this, [this] { SetModified(); });
    layout->addWidget(m_archive);
    layout->addStretch(1);
}

bool CMiscPage::Leave()
{
    bool* settings[7] = {&m_values.moveToTitle, &m_values.moveToLink,          &m_values.copyLink,  &m_values.confirmDelete,
                         &m_values.moveSave,    &m_values.restoreWndPlacement, &m_values.showDayTip};
    for (int i = 0; i < 7; ++i) *settings[i] = m_boxes[i]->isChecked();
    m_values.archiveLookups = m_archive->isChecked();
    return true;
}
