#include "titlecase/TitleCasePage.h"

#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "app/FormText.h"
#include "app/LinkListCtrl.h"
#include "common/SortedListBox.h"
#include "platform/Prompter.h"
#include "store/NaturalCompare.h"
#include "titlecase/TitleCaser.h"

CTitleCasePage::CTitleCasePage(OptionsOwner& owner, QWidget* parent) : COptionsPage(parent), m_owner(owner)
{
    auto* label = new QLabel("E&xceptions:", this);
    m_word = new QLineEdit(this);
    m_word->setMaxLength(75);
    label->setBuddy(m_word);
    auto* add = new QPushButton("&Add", this);
    m_list = new CSortedListBox(this);
    m_list->SetCompare(NaturalCompare);
    m_list->setSelectionMode(QAbstractItemView::ExtendedSelection);
    auto* edit = new QPushButton("&Edit", this);
    auto* remove = new QPushButton("&Delete", this);
    auto* defaults = new QPushButton("De&fault", this);
    auto* note = new QLabel("The first word, last word and first word following a colon will be capitalized.", this);
    note->setWordWrap(true);
    for (QPushButton* b : {add, edit, remove, defaults}) b->setAutoDefault(false);

    auto* grid = new QGridLayout(this);
    grid->addWidget(label, 0, 0, 1, 2);
    grid->addWidget(m_word, 1, 0);
    grid->addWidget(add, 1, 1);
    grid->addWidget(m_list, 2, 0, 4, 1);
    grid->addWidget(edit, 2, 1);
    grid->addWidget(remove, 3, 1);
    grid->addWidget(defaults, 4, 1);
    grid->setRowStretch(5, 1);
    grid->addWidget(note, 6, 0, 1, 2);

    Fill(m_owner.Exceptions());
    connect(add, &QPushButton::clicked, this, &CTitleCasePage::Add);
    connect(edit, &QPushButton::clicked, this, &CTitleCasePage::Edit);
    connect(remove, &QPushButton::clicked, this, &CTitleCasePage::Delete);
    connect(defaults, &QPushButton::clicked, this, &CTitleCasePage::Default);
    connect(m_list, &QListWidget::itemDoubleClicked, this, &CTitleCasePage::Edit);
    TakeEnterFor(m_word, [this] { Add(); });
}

void CTitleCasePage::Fill(const std::vector<std::string>& words)
{
    m_list->SetBatchMode(true);
    m_list->Reset();
    for (const std::string& word : words) m_list->Add(DisplayText(word));
    m_list->SetBatchMode(false);
}

void CTitleCasePage::Changed()
{
    m_changed = true;
    SetModified();
}

void CTitleCasePage::Add()
{
    const std::string word(TrimView(ToBytes(m_word->text())));
    if (word.empty()) {
        m_word->clear();
        return;
    }
    m_list->clearSelection();
    if (const int existing = m_list->FindNoCase(DisplayText(word)); existing >= 0) {
        m_list->item(existing)->setSelected(true);
        m_owner.OptionsPrompter().Error("This title-case exception already exists in the list.");
        return;
    }
    m_list->item(m_list->Add(DisplayText(word)))->setSelected(true);
    Changed();
    m_word->clear();
}

void CTitleCasePage::Edit()
{
    QListWidgetItem* current = m_list->SelectedCurrent();
    if (!current) {
        m_owner.OptionsPrompter().Error("Please select an item.  (The current item may have been deselected.)");
        return;
    }
    const QString text = current->text();
    m_list->DeleteRow(m_list->row(current));
    m_word->setText(text);
    m_word->setFocus();
    Changed();
}

void CTitleCasePage::Delete()
{
    m_list->DeleteSelected();
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
    for (int i = 0; i < m_list->count(); ++i) words.push_back(ToBytes(m_list->item(i)->text()));
    m_owner.SetExceptions(words);
    m_changed = false;
}
