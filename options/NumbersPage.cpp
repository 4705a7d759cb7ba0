#include "options/NumbersPage.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QGridLayout>
#include <QLineEdit>
#include <QRadioButton>

#include "common/QtText.h"
#include "common/AccessibleName.h"
#include "platform/Translate.h"

CNumbersPage::CNumbersPage(OptionsOwner& owner, CSettings& values, QWidget* parent)
    : COptionsPage(parent), m_owner(owner), m_values(values)
{
    m_use = new QCheckBox(QTr("Options", "&Insert thousands separators."), this);
    const char* captions[4] = {TrNoop("Options", "&Comma"), TrNoop("Options", "&Dot"), TrNoop("Options", "&Space"),
                               TrNoop("Options", "&Other:")};
    auto* group = new QButtonGroup(this);
    for (int i = 0; i < 4; ++i) {
        m_choices[i] = new QRadioButton(QTr("Options", captions[i]), this);
        group->addButton(m_choices[i], i);
    }
    m_other = new QLineEdit(this);
    m_other->setMaxLength(1);
    NameLike(m_other, QTr("Options", "Other separator"));
    m_other->setMaximumWidth(fontMetrics().averageCharWidth() * 4);
    auto* grid = new QGridLayout(this);
    grid->addWidget(m_use, 0, 0, 1, 3);
    for (int i = 0; i < 4; ++i) grid->addWidget(m_choices[i], i + 1, 1);
    grid->addWidget(m_other, 4, 2, Qt::AlignLeft);
    grid->setColumnMinimumWidth(0, fontMetrics().averageCharWidth() * 3);
    grid->setColumnStretch(2, 1);
    grid->setRowStretch(5, 1);

    m_use->setChecked(m_values.useThousandsSep);
    const std::string& sep = m_values.thousandsSeparator;
    const int choice = sep == "," ? 0 : sep == "." ? 1 : sep == " " ? 2 : 3;
    m_choices[choice]->setChecked(true);
    if (choice == 3) m_other->setText(QString::fromUtf8(sep.data(), qsizetype(sep.size())));
    UpdateEnabling();

    connect(m_use, &QCheckBox::toggled, this, [this] {
        UpdateEnabling();
        SetModified();
    });
    connect(group, &QButtonGroup::idClicked, this, [this] {
        UpdateEnabling();
        SetModified();
    });
    connect(m_other, &QLineEdit::textEdited, this, [this] { SetModified(); });
}

void CNumbersPage::UpdateEnabling()
{
    for (QRadioButton* choice : m_choices) choice->setEnabled(m_use->isChecked());
    m_other->setEnabled(m_use->isChecked() && m_choices[3]->isChecked());
}

void CNumbersPage::Apply()
{
    std::string sep = ",";
    if (m_choices[1]->isChecked()) sep = ".";
    if (m_choices[2]->isChecked()) sep = " ";
    // One character, which may be one UTF-16 pair; anything else gives the comma.
    const QString other = m_other->text();
    if (m_choices[3]->isChecked() && !other.isEmpty() && other.size() == (other.at(0).isHighSurrogate() ? 2 : 1))
        sep = ToBytes(other);
    m_values.useThousandsSep = m_use->isChecked();
    m_values.thousandsSeparator = sep;
    m_owner.SetNumberFormat(m_values.useThousandsSep, sep);
}
