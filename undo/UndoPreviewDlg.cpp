#include "undo/UndoPreviewDlg.h"

#include "common/AccessibleName.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>
#include <limits>

#include "common/QtText.h"
#include "common/PlainText.h"
#include "options/CountFormatter.h"
#include "platform/Translate.h"

CUndoPreviewDlg::CUndoPreviewDlg(bool redo, const std::string& actionName, StepEffect effect,
                                 std::vector<const CAnnotatedLink*> records, const CCountFormatter& counts, QWidget* parent)
    : QDialog(parent), m_records(std::move(records))
{
    setWindowTitle(QTr("Undo", "Previews Undo/Redo"));
    auto readOnlyLine = [this] {
        auto* field = new QLineEdit(this);
        field->setReadOnly(true);
        field->setMaxLength(std::numeric_limits<int>::max());
        return field;
    };
    m_action = MakePlain(new QLabel(this));
    m_effect = MakePlain(new QLabel(this));
    m_effect->setWordWrap(true);
    m_title = readOnlyLine();
    m_link = readOnlyLine();
    m_description = new QPlainTextEdit(this);
    m_description->setReadOnly(true);
    m_description->setTabChangesFocus(true);
    m_category = readOnlyLine();
    m_date = MakePlain(new QLabel(this));
    m_date->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    m_previous = new QPushButton(QTr("Undo", "&Previous"), this);
    m_next = new QPushButton(QTr("Undo", "&Next"), this);
    m_previous->setAutoDefault(false);
    m_next->setAutoDefault(false);
    m_ok = new QPushButton(redo ? QTr("Undo", "&Redo") : QTr("Undo", "&Undo"), this);
    m_ok->setDefault(true);
    auto* cancel = new QPushButton(QTr("Undo", "Cancel"), this);
    cancel->setAutoDefault(false);

    auto* form = new QFormLayout;
    form->addRow(QTr("Undo", "Action:"), m_action);
    form->addRow(QTr("Undo", "Effect:"), m_effect);
    auto buddy = [&](const QString& caption, QWidget* field) {
        auto* label = new QLabel(caption, this);
        label->setBuddy(field);
        NameLike(field, caption);
        form->addRow(label, field);
    };
    buddy(QTr("Undo", "&Title:"), m_title);
    buddy(QTr("Undo", "Lin&k:"), m_link);
    auto* descriptionLabel = new QLabel(QTr("Undo", "Descr&iption:"), this);
    descriptionLabel->setBuddy(m_description);
    NameLike(m_description, descriptionLabel->text());
    auto* descriptionHeading = new QHBoxLayout;
    descriptionHeading->addWidget(descriptionLabel);
    descriptionHeading->addWidget(m_date, 1);
    form->addRow(descriptionHeading);
    form->addRow(m_description);
    buddy(QTr("Undo", "&Category:"), m_category);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(m_previous);
    buttons->addWidget(m_next);
    buttons->addStretch(1);
    buttons->addWidget(m_ok);
    buttons->addWidget(cancel);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addLayout(buttons);
    resize(fontMetrics().averageCharWidth() * 70, sizeHint().height());

    connect(m_ok, &QPushButton::clicked, this, &QDialog::accept);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(m_previous, &QPushButton::clicked, this, [this] { ShowRecord(m_position - 1); });
    connect(m_next, &QPushButton::clicked, this, [this] { ShowRecord(m_position + 1); });

    m_previous->setEnabled(false);
    if (m_records.empty()) {
        m_next->setEnabled(false);
        return;
    }
    m_action->setText(QString::fromStdString(Fill(redo ? Tr("Undo", "Redo %1") : Tr("Undo", "Undo %1"), {Tr("Undo", actionName.c_str())})));
    const int count = int(m_records.size());
    // A Delete takes links out when redone; an Import or Add, when undone.
    const bool removes = effect == StepEffect::Deletes ? redo : !redo;
    const bool replaces = effect == StepEffect::Replaces;
    const std::string said =
        replaces ? counts.Plural(count, Tr("Undo", "Replaces an existing annotated link with the following data."),
                                 Tr("Undo", "Replaces %1 existing annotated links with the following data."))
        : removes ? counts.Plural(count, Tr("Undo", "Deletes the following %1 annotated link."),
                                  Tr("Undo", "Deletes the following %1 annotated links."))
                  : counts.Plural(count, Tr("Undo", "Restores the following %1 annotated link."),
                                  Tr("Undo", "Restores the following %1 annotated links."));
    m_effect->setText(QString::fromStdString(said));
    // A reader hears each with its caption, which sits apart from it in the tree.
    m_action->setAccessibleName(QTr("Undo", "Action: ") + m_action->text());
    m_effect->setAccessibleName(QTr("Undo", "Effect: ") + m_effect->text());
    ShowRecord(0);
}

void CUndoPreviewDlg::ShowRecord(int position)
{
    if (position < 0 || position >= int(m_records.size())) return;
    m_position = position;
    const CAnnotatedLink& record = *m_records[size_t(position)];
    m_title->setText(DisplayText(record.Title()));
    m_title->setCursorPosition(0);
    m_link->setText(DisplayText(record.Link()));
    m_link->setCursorPosition(0);
    m_description->setPlainText(DescriptionToField(record.Description()));
    m_category->setText(DisplayText(record.Category()));
    m_category->setCursorPosition(0);
    m_date->setText(QString::fromStdString(FormatLinkDate(record.Modified(), DateStyle::Record)));
    // A button that disables itself hands the focus to the other one.
    const bool previous = position > 0, next = position + 1 < int(m_records.size());
    if ((m_previous->hasFocus() && !previous) || (m_next->hasFocus() && !next)) (previous ? m_previous : m_next)->setFocus();
    if ((m_previous->hasFocus() && !previous) || (m_next->hasFocus() && !next)) m_ok->setFocus();
    m_previous->setEnabled(previous);
    m_next->setEnabled(next);
}
