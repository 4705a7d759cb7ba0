#include "options/SearchingPage.h"

#include "common/AccessibleName.h"
#include "common/QtText.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QSlider>
#include <QVBoxLayout>

CSearchingPage::CSearchingPage(CSettings& values, QWidget* parent) : COptionsPage(parent), m_values(values)
{
    auto* lookIn = new QGroupBox(QTr("Options", "Look In"), this);
    m_title = new QCheckBox(QTr("Options", "&Title fields"), lookIn);
    m_category = new QCheckBox(QTr("Options", "&Category fields"), lookIn);
    m_description = new QCheckBox(QTr("Options", "&Description fields"), lookIn);
    m_link = new QCheckBox(QTr("Options", "&Link fields"), lookIn);
    auto* fields = new QGridLayout(lookIn);
    fields->addWidget(m_title, 0, 0);
    fields->addWidget(m_category, 0, 1);
    fields->addWidget(m_description, 1, 0);
    fields->addWidget(m_link, 1, 1);
    m_positionOnLast = new QCheckBox(QTr("Options", "&Position reference point for Previous and Next buttons on the last link found."), this);
    m_typos = new QCheckBox(QTr("Options", "&Allow typos (typographical errors)."), this);
    m_labels[0] = new QLabel(QTr("Options", "Typo &Separation:"), this);
    m_labels[1] = new QLabel(QTr("Options", "Low"), this);
    m_labels[2] = new QLabel(QTr("Options", "High"), this);
    m_separation = new QSlider(Qt::Horizontal, this);
    m_separation->setRange(1, 9);
    m_separation->setSingleStep(1);
    m_separation->setPageStep(1);
    m_separation->setTickPosition(QSlider::TicksBelow);
    m_labels[0]->setBuddy(m_separation);
    NameLike(m_separation, m_labels[0]->text());
    m_interruptible = new QCheckBox(QTr("Options", "&Use interruptible incremental searching."), this);

    auto* slider = new QHBoxLayout;
    slider->addWidget(m_labels[0]);
    slider->addWidget(m_labels[1]);
    slider->addWidget(m_separation, 1);
    slider->addWidget(m_labels[2]);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(lookIn);
    layout->addWidget(m_positionOnLast);
    layout->addWidget(m_typos);
    layout->addLayout(slider);
    layout->addWidget(m_interruptible);
    layout->addStretch(1);

    m_title->setChecked(m_values.titleFields);
    m_category->setChecked(m_values.categoryFields);
    m_description->setChecked(m_values.descriptionFields);
    m_link->setChecked(m_values.linkFields);
    m_positionOnLast->setChecked(m_values.positionOnLast);
    m_typos->setChecked(m_values.allowTypos);
    m_separation->setValue(m_values.separation);
    m_interruptible->setChecked(m_values.interruptibleSearching);
    UpdateEnabling();

    for (QCheckBox* box : {m_title, m_category, m_description, m_link, m_positionOnLast, m_typos, m_interruptible})
        connect(box, &QCheckBox::toggled, this, [this] { SetModified(); });
    connect(m_typos, &QCheckBox::toggled, this, &CSearchingPage::UpdateEnabling);
    connect(m_separation, &QSlider::valueChanged, this, [this] { SetModified(); });
}

void CSearchingPage::UpdateEnabling()
{
    const bool typos = m_typos->isChecked();
    m_separation->setEnabled(typos);
    for (QLabel* label : m_labels) label->setEnabled(typos);
}

bool CSearchingPage::Leave()
{
    m_values.titleFields = m_title->isChecked();
    m_values.categoryFields = m_category->isChecked();
    m_values.descriptionFields = m_description->isChecked();
    m_values.linkFields = m_link->isChecked();
    m_values.positionOnLast = m_positionOnLast->isChecked();
    m_values.allowTypos = m_typos->isChecked();
    m_values.interruptibleSearching = m_interruptible->isChecked();
    return true;
}

void CSearchingPage::Apply() { m_values.separation = m_separation->value(); }
