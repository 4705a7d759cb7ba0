#include "options/SavingPage.h"

#include <QCheckBox>
#include <QDir>
#include <QComboBox>
#include <QEvent>
#include <QFileInfo>
#include <QGridLayout>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QToolButton>
#include <QVBoxLayout>
#include <algorithm>

#include "common/QtText.h"
#include "common/PlainText.h"
#include "common/AccessibleName.h"
#include "common/SortedComboBox.h"
#include "options/CountFormatter.h"
#include "platform/Prompter.h"
#include "store/FileIO.h"
#include "store/GuardedWrite.h"
#include "store/NaturalCompare.h"
#include "platform/Translate.h"

namespace {

// File names differ by case where the file system tells them apart (Linux), and are one
// name where it does not (Windows, macOS).
#if defined(_WIN32) || defined(__APPLE__)
constexpr Qt::CaseSensitivity kFileNameCase = Qt::CaseInsensitive;
#else
constexpr Qt::CaseSensitivity kFileNameCase = Qt::CaseSensitive;
#endif
constexpr int kLongestName = 259;

QString Text(const std::string& bytes) { return QString::fromUtf8(bytes.data(), qsizetype(bytes.size())); }
}  // namespace

CSavingPage::CSavingPage(OptionsOwner& owner, CSettings& values, QWidget* parent)
    : COptionsPage(parent), m_owner(owner), m_values(values)
{
    auto* group = new QGroupBox(QTr("Options", " Save Changes to Disk "), this);
    m_presses = new QCheckBox(QTr("Options", "&After this many Add/Modify button presses:"), group);
    m_limit = new QLineEdit(group);
    m_limit->setMaximumWidth(fontMetrics().averageCharWidth() * 8);
    NameLike(m_limit, m_presses->text());
    // The arrows step within 1 to 99, like the Up and Down keys in the field.
    m_limitArrows = new QWidget(group);
    auto* up = new QToolButton(m_limitArrows);
    up->setArrowType(Qt::UpArrow);
    auto* down = new QToolButton(m_limitArrows);
    down->setArrowType(Qt::DownArrow);
    NameLike(up, QTr("Options", "One more press"));
    NameLike(down, QTr("Options", "One press fewer"));
    for (QToolButton* arrow : {up, down}) {
        arrow->setFocusPolicy(Qt::NoFocus);
        arrow->setAutoRepeat(true);
        arrow->setFixedHeight(m_limit->sizeHint().height() / 2);
    }
    auto* arrows = new QVBoxLayout(m_limitArrows);
    arrows->setContentsMargins(0, 0, 0, 0);
    arrows->setSpacing(0);
    arrows->addWidget(up);
    arrows->addWidget(down);
    m_timer = new QCheckBox(QTr("Options", "&Every this many minutes:"), group);
    m_minutes = new QComboBox(group);
    m_minutes->addItems({"10", "20", "30", "40", "50", "60"});
    NameLike(m_minutes, m_timer->text());
    m_close = new QCheckBox(QTr("Options", "&When this program closes"), group);
    auto* grid = new QGridLayout(group);
    grid->addWidget(m_presses, 0, 0);
    auto* limitRow = new QHBoxLayout;
    limitRow->setSpacing(0);
    limitRow->addWidget(m_limit);
    limitRow->addWidget(m_limitArrows);
    limitRow->addStretch(1);
    grid->addLayout(limitRow, 0, 1);
    grid->addWidget(m_timer, 1, 0);
    grid->addWidget(m_minutes, 1, 1, Qt::AlignLeft);
    grid->addWidget(m_close, 2, 0, 1, 2);

    auto* fileLabel = new QLabel(QTr("Options", "Data &File:"), this);
    m_dataFile = new CSortedComboBox(this);
    m_dataFile->setEditable(true);
    m_dataFile->setCompleter(nullptr);
    m_dataFile->SetSorted(false);
    m_dataFile->setInsertPolicy(QComboBox::NoInsert);
    m_dataFile->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    m_dataFile->setMinimumContentsLength(40);
    fileLabel->setBuddy(m_dataFile);
    NameLike(m_dataFile, fileLabel->text());
    auto* buttons = new QHBoxLayout;
    auto button = [&](const QString& text, void (CSavingPage::*action)()) {
        auto* b = new QPushButton(text, this);
        b->setAutoDefault(false);
        connect(b, &QPushButton::clicked, this, action);
        buttons->addWidget(b);
    };
    button(QTr("Options", "&New File"), &CSavingPage::NewFile);
    button(QTr("Options", "&Remove"), &CSavingPage::Remove);
    button(QTr("Options", "&Load"), &CSavingPage::Load);
    button(QTr("Options", "Appen&d"), &CSavingPage::Append);
    button(QTr("Options", "&Save"), &CSavingPage::Save);
    buttons->addStretch(1);
    m_status = MakePlain(new QLabel(this));

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(group);
    layout->addWidget(fileLabel);
    layout->addWidget(m_dataFile);
    layout->addLayout(buttons);
    layout->addWidget(m_status);
    layout->addStretch(1);

    m_presses->setChecked(m_values.saveOnPresses);
    m_limit->setText(QString::number(m_values.saveLimit));
    m_timer->setChecked(m_values.saveOnTimer);
    m_minutes->setCurrentIndex(std::clamp(m_values.timerIndex, 0, 5));
    m_close->setChecked(m_values.saveOnClose);
    for (const std::string& file : m_values.dataFiles) m_dataFile->addItem(Text(file));
    m_dataFile->setEditText(Text(m_values.dataFile));
    RememberName();
    m_inEffect = ValidatedName();
    UpdateEnabling();
    UpdateStatus();

    for (QCheckBox* box : {m_presses, m_timer, m_close})
        connect(box, &QCheckBox::toggled, this, [this] {
            UpdateEnabling();
            SetModified();
        });
    connect(up, &QToolButton::clicked, this, [this] { StepLimit(1); });
    connect(down, &QToolButton::clicked, this, [this] { StepLimit(-1); });
    connect(m_limit, &QLineEdit::textEdited, this, [this] { SetModified(); });
    connect(m_minutes, &QComboBox::activated, this, [this] { SetModified(); });
    connect(m_dataFile->lineEdit(), &QLineEdit::textEdited, this, [this] { SetModified(); });
    connect(m_dataFile, &CSortedComboBox::aboutToShowPopup, this, &CSavingPage::RememberName);
    m_limit->installEventFilter(this);
}

void CSavingPage::StepLimit(int step)
{
    bool ok = false;
    const int value = m_limit->text().trimmed().toInt(&ok);
    m_limit->setText(QString::number(std::clamp(ok ? value + step : 5, 1, 99)));
    SetModified();
}

bool CSavingPage::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_limit && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Up || key == Qt::Key_Down) {
            StepLimit(key == Qt::Key_Up ? 1 : -1);
            return true;
        }
    }
    return COptionsPage::eventFilter(watched, event);
}

void CSavingPage::UpdateEnabling()
{
    m_limit->setEnabled(m_presses->isChecked());
    m_limitArrows->setEnabled(m_presses->isChecked());
    m_minutes->setEnabled(m_timer->isChecked());
}

void CSavingPage::UpdateStatus()
{
    const int presses = m_owner.PressCount();
    m_status->setText((presses == 1 ? QTr("Options", "%1 button press") : QTr("Options", "%1 button presses")).arg(presses));
}

std::string CSavingPage::ValidatedName() const
{
    std::string name(TrimView(ToBytes(m_dataFile->currentText())));
    // Counted in characters, as the user typed them.
    if (name.empty() || Text(name).size() > kLongestName) return std::string();
    // A bare name means a file in the documents folder, not wherever the program started.
    if (QDir::isRelativePath(Text(name))) name = m_owner.DefaultFolder() + name;
    return name;
}

void CSavingPage::RememberName()
{
    const std::string name = ValidatedName();
    if (name.empty()) return;
    for (int i = 0; i < m_dataFile->count(); ++i)
        if (m_dataFile->itemText(i).compare(Text(name), kFileNameCase) == 0) return;
    const QString text = m_dataFile->currentText();
    m_dataFile->addItem(Text(name));
    m_dataFile->setEditText(text);
}

void CSavingPage::Save()
{
    RememberName();
    const std::string name = ValidatedName();
    if (name.empty() || !m_owner.SaveDataFileAs(name)) return;
    UpdateStatus();
    m_owner.OptionsPrompter().Notice(Tr("Options", "Finished writing to the data file."));
}

void CSavingPage::Load() { LoadNamed(); }

bool CSavingPage::LoadNamed()
{
    RememberName();
    const std::string name = ValidatedName();
    if (name.empty()) return false;
    // No is the default, so that Enter twice does not lose the window's links.
    if (m_owner.HasUnsavedChanges() &&
        m_owner.OptionsPrompter().Show(Tr("Options", "Your changes will be lost.  Proceed?"), Prompter::Icon::Question,
                                       Prompter::Buttons::YesNo, false) != Prompter::Answer::Yes)
        return false;
    const bool loaded = m_owner.LoadDataFileFrom(name, false);
    m_inEffect = name;
    if (!loaded) return false;
    // A load replaces the window's links, New File or not.
    m_newFile = false;
    // From now on the links are saved where they came from.
    m_owner.SetDataFileInEffect(name);
    UpdateStatus();
    m_owner.OptionsPrompter().Notice(Tr("Options", "Finished reading from the data file."));
    return true;
}

void CSavingPage::Append()
{
    RememberName();
    const std::string name = ValidatedName();
    if (name.empty()) return;
    // The links go into the new collection, which therefore starts now.
    if (m_newFile) StartPendingNewFile();
    if (!m_owner.LoadDataFileFrom(name, true)) return;
    UpdateStatus();
    m_dataFile->setEditText(Text(m_inEffect));
    m_owner.OptionsPrompter().Notice(Tr("Options", "Finished reading from the data file."));
}

void CSavingPage::NewFile()
{
    RememberName();
    const std::string name = ValidatedName();
    // Yes is the answer of Enter and Esc alike: No gives up the links not saved yet.
    if (!name.empty() && m_owner.HasUnsavedChanges() &&
        m_owner.OptionsPrompter().Choose(Tr("Options", "Do you want to save your changes?"),
                                         {Tr("Options", "&Yes"), Tr("Options", "&No")}, 0) == 0) {
        if (!m_owner.SaveDataFileAs(name)) return;
        UpdateStatus();
        m_owner.OptionsPrompter().Notice(Tr("Options", "Finished writing to the data file."));
    }
    // The window is emptied only at OK, so that Cancel leaves everything as it was.
    m_newFile = true;
    const QString fresh = Text(m_owner.DefaultFolder() + "NewFile.dat");
    m_dataFile->setEditText(fresh);
    m_dataFile->setFocus();
    m_dataFile->lineEdit()->setSelection(int(fresh.size()) - 11, 7);
    SetModified();
}

void CSavingPage::StartPendingNewFile()
{
    m_newFile = false;
    m_owner.StartNewCollection();
    // New links never go into the file they did not come from.
    const std::string fresh = m_owner.DefaultFolder() + "NewFile.dat";
    m_inEffect = fresh;
    m_owner.SetDataFileInEffect(fresh);
}

void CSavingPage::Remove()
{
    const std::string name = ValidatedName();
    if (!name.empty()) {
        for (int i = 0; i < m_dataFile->count(); ++i)
            if (m_dataFile->itemText(i).compare(Text(name), kFileNameCase) == 0) {
                m_dataFile->removeItem(i);
                break;
            }
    }
    if (m_dataFile->count() > 0) {
        m_dataFile->setCurrentIndex(0);
        m_dataFile->setEditText(m_dataFile->itemText(0));
    } else {
        const QString fallback = Text(m_owner.DefaultFolder() + "Norvelle.dat");
        m_dataFile->addItem(fallback);
        m_dataFile->setEditText(fallback);
    }
    SetModified();
}

bool CSavingPage::Leave()
{
    Prompter& prompter = m_owner.OptionsPrompter();
    if (!m_presses->isChecked() && !m_timer->isChecked() && !m_close->isChecked()) {
        prompter.Notice(Tr("Options", "Please choose at least one option for saving changes to disk."));
        m_presses->setFocus();
        return false;
    }
    bool ok = false;
    const int limit = m_limit->text().trimmed().toInt(&ok);
    // A disabled field cannot be mended by the user: it is checked only while in use.
    if (m_presses->isChecked()) {
        if (!ok) {
            prompter.Error(Tr("Options", "Please enter an integer."));
            m_limit->setFocus();
            m_limit->selectAll();
            return false;
        }
        if (limit < 1 || limit > 99) {
            prompter.Error(Tr("Options", "Please enter an integer between 1 and 99."));
            m_limit->setFocus();
            m_limit->selectAll();
            return false;
        }
    }
    const QString file = m_dataFile->currentText();
    if (file.size() > kLongestName) {
        prompter.Error(Tr("Options", "Please enter no more than 259 characters."));
        m_dataFile->setFocus();
        return false;
    }
    // A name typed here must be a file in a folder that is there: no save makes a chain of
    // folders, and a folder is no data file. (Only the documents folder, which a fresh
    // account may not have yet, is made at the first save.)
    if (const std::string name = ValidatedName(); !name.empty() && name != m_inEffect) {
        const QString folder = Text(ParentFolder(name));
        std::string problem;
        if (QFileInfo(Text(name)).isDir())
            problem = Tr("Options", "\"%.259s\" is a folder.  Please enter the name of a data file.");
        else if (!folder.isEmpty() && !QFileInfo(folder).isDir() &&
                 QDir::cleanPath(folder) != QDir::cleanPath(Text(m_owner.DefaultFolder())))
            problem = Tr("Options", "The folder of \"%.259s\" does not exist.  Please choose a data file in a folder that exists.");
        if (!problem.empty()) {
            prompter.Error(FormatPathMessage(problem, name));
            m_dataFile->setFocus();
            return false;
        }
    }
    m_values.saveOnPresses = m_presses->isChecked();
    if (ok && limit >= 1 && limit <= 99) m_values.saveLimit = limit;
    m_values.saveOnTimer = m_timer->isChecked();
    m_values.timerIndex = m_minutes->currentIndex();
    m_values.saveOnClose = m_close->isChecked();
    m_values.dataFile = ToBytes(file);
    if (const std::string name = ValidatedName(); !name.empty()) m_values.dataFile = name;
    return true;
}

bool CSavingPage::Confirm()
{
    m_replace = false;
    const std::string name = ValidatedName();
    // A new collection named like the file in use would replace its links too.
    if (name.empty() || (!m_newFile && Text(name).compare(Text(m_inEffect), kFileNameCase) == 0)) return true;
    Prompter& prompter = m_owner.OptionsPrompter();
    const int64_t links = LinksInDataFile(name);
    if (links != 0) {
        // Another collection is there: the person says whether the window takes it or its
        // links give way to the window's, knowing which file and how many links.
        const std::string count =
            links < 0 ? Tr("Options", "links of a newer version of Norvelle")
                      : CCountFormatter(m_values).Plural(int32_t(links), Tr("Options", "%1 link"), Tr("Options", "%1 links"));
        const int choice = prompter.Choose(
            FormatPathMessage(Fill(Tr("Options", "\"%.259s\" already holds %1.\n\nLoad them into the window, or "
                                                 "replace them with the links of this window?"),
                                   {count}),
                              name),
            {Tr("Options", "&Load It"), Tr("Options", "&Replace It"), Tr("Options", "&Cancel")},
                                           // Links not saved yet would be lost by either: Cancel keeps them.
                                           m_owner.HasUnsavedChanges() ? 2 : 0);
        if (choice == 2) return false;
        if (choice == 1) {
            m_replace = true;
            return true;
        }
        // Held on the sheet when the file could not be loaded, or the person kept their changes.
        return LoadNamed();
    }
    if (!m_newFile && FileExists(name) && prompter.Ask(Tr("Options", "Do you want to load the current data file?"))) Load();
    return true;
}

void CSavingPage::Apply()
{
    const std::string name = ValidatedName();
    if (m_newFile) StartPendingNewFile();
    if (!name.empty() && m_replace) m_owner.ReplaceDataFile(name);
    if (!name.empty() && Text(name).compare(Text(m_inEffect), kFileNameCase) != 0) {
        m_inEffect = name;
        m_owner.SetDataFileInEffect(name);
    }
    m_replace = false;
    RememberName();
    if (m_dataFile->count() == 0) return;
    std::vector<std::string> files;
    for (int i = 0; i < m_dataFile->count(); ++i) files.push_back(ToBytes(m_dataFile->itemText(i)));
    m_values.dataFiles = files;
    m_owner.SetKnownDataFiles(files);
}
