#include "options/TitleCasePage.h"

#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "common/QtText.h"
#include "common/SortedListBox.h"
#include "platform/Prompter.h"
#include "store/NaturalCompare.h"
#include "titlecase/TitleCaser.h"
#include "platform/Translate.h"

CTitleCasePage::CTitleCasePage(OptionsOwner& owner, QWidget* parent) : COptionsPage(parent), m_owner(owner)
{
    auto* label = new QLabel(QTr("Options", "E&xceptions:"), this);
    m_names = MakeNameList(QTr("Options", "Exception"), QTr("Options", "Exceptions"), [this] { Add(); }, [this] { Edit(); }, [this] { Delete(); });
    label->setBuddy(m_names.field);
    auto* defaults = new QPushButton(QTr("Options", "De&fault"), this);
    auto* note = new QLabel(QTr("Options", "The first word, last word and first word following a colon will be capitalized."), this);
    note->setWordWrap(true);
    defaults->setAutoDefault(false);

    auto* grid = new QGridLayout(this);
    grid->addWidget(label, 0, 0, 1, 2);
    grid->addWidget(m_names.field, 1, 0);
    grid->addWidget(m_names.add, 1, 1);
    grid->addWidget(m_names.list, 2, 0, 4, 1);
    grid->addWidget(m_names.edit, 2, 1);
    grid->addWidget(m_names.remove, 3, 1);
    grid->addWidget(defaults, 4, 1);
    grid->setRowStretch(5, 1);
    grid->addWidget(note, 6, 0, 1, 2);

    Fill(m_owner.Exceptions());
    connect(defaults, &QPushButton::clicked, this, &CTitleCasePage::Default);
}

void CTitleCasePage::Fill(const std::vector<std::string>& words)
{
    m_names.list->SetBatchMode(true);
    m_names.list->Reset();
    for (const std::string& word : words) m_names.list->Add(DisplayText(word));
    m_names.list->SetBatchMode(false);
}

void CTitleCasePage::Changed()
{
    m_changed = true;
    SetModified();
}

void CTitleCasePage::Add()
{
    const std::string word(TrimView(ToBytes(m_names.field->text())));
    if (word.empty()) {
        m_names.field->clear();
        return;
    }
    m_names.list->clearSelection();
    if (const int existing = m_names.list->FindNoCase(DisplayText(word)); existing >= 0) {
        m_names.list->SelectAndShow(existing);
        m_owner.OptionsPrompter().Error(Tr("Options", "This title-case exception already exists in the list."));
        return;
    }
    m_names.list->SelectAndShow(m_names.list->Add(DisplayText(word)));
    Changed();
    m_names.field->clear();
}

void CTitleCasePage::Edit()
{
    if (EditCurrentName(m_names, m_owner.OptionsPrompter())) Changed();
}

void CTitleCasePage::Delete()
{
    m_names.list->DeleteSelected();
    Changed();
}

void CTitleCasePage::Default()
{
    std::vector<std::string> words;
    CTitleCaser::DefaultExceptions(words);
    Fill(words);
    Changed();
}

void CTitleCasePage::Apply()
{
    if (!m_changed) return;
    std::vector<std::string> words;
    for (int i = 0; i < m_names.list->count(); ++i) words.push_back(ToBytes(m_names.list->item(i)->text()));
    m_owner.SetExceptions(words);
    m_changed = false;
}
