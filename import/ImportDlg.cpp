#include "import/ImportDlg.h"

#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QElapsedTimer>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QAbstractItemView>
#include <QProgressBar>
#include <QPushButton>
#include <cstdio>
#include <filesystem>

#include "common/QtText.h"
#include "common/PlainText.h"
#include "common/AccessibleName.h"
#include "common/DialogUnits.h"
#include "common/SortedComboBox.h"
#include "common/SortedListBox.h"
#include "import/BrowserStores.h"
#include "import/DirectoryWalk.h"
#include "platform/Prompter.h"
#include "store/NaturalCompare.h"
#include "platform/Translate.h"

namespace {
QString Text(const std::string& bytes) { return QString::fromUtf8(bytes.data(), qsizetype(bytes.size())); }
}  // namespace

std::vector<std::string> SearchRoots()
{
    std::vector<std::string> roots = {ToBytes(QDir::homePath())};
#ifdef Q_OS_WIN
    for (const QFileInfo& drive : QDir::drives()) roots.push_back(ToBytes(QDir::toNativeSeparators(drive.absolutePath())));
#else
    roots.push_back("/");
    namespace fs = std::filesystem;
    // Volumes are mounted one or two levels below these (/media/USER/STICK).
    for (const char* base : {"/media", "/run/media", "/mnt", "/Volumes"}) {
        std::error_code ec;
        for (fs::directory_iterator it(base, ec), end; !ec && it != end; it.increment(ec)) {
            if (!it->is_directory(ec) || it->is_symlink(ec)) continue;
            std::error_code inner;
            bool nested = false;
            if (std::string(base) != "/mnt")
                for (fs::directory_iterator sub(it->path(), inner), e; !inner && sub != e; sub.increment(inner))
                    if (sub->is_directory(inner)) {
                        roots.push_back(sub->path().string());
                        nested = true;
                    }
            if (!nested) roots.push_back(it->path().string());
        }
    }
#endif
    return roots;
}

CImportDlg::CImportDlg(BookmarkTarget target, Prompter& prompter, const CCountFormatter& counts, IntakeOptions& options,
                       const std::string& fileName, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint),
      m_target(std::move(target)), m_prompter(prompter), m_counts(counts), m_options(options)
{
    setWindowTitle(QTr("Import", "Imports Favorites or Bookmarks"));
    const DialogUnits du(font());
    // The browser profiles take the top; the file and the search are below them as before.
    const int top = 59;
    // The Drive box has a row of its own, wide enough for a folder's whole path.
    const int drop = 17;
    setFixedSize(du.X(310), du.Y(180 + top + drop + 13));
    auto label = [this](const QString& text, QRect r) { return PlaceLabel(this, text, r); };
    auto button = [this](const QString& text, QRect r) { return PlaceButton(this, text, r); };
    QLabel* profilesLabel = label(QTr("Import", "Browser pr&ofiles:"), du.Rect(7, 7, 137, 8));
    m_profiles = new QListWidget(this);
    m_profiles->setGeometry(du.Rect(7, 18, 296, 44));
    profilesLabel->setBuddy(m_profiles);
    NameLike(m_profiles, profilesLabel->text());
#ifdef Q_OS_WIN
    const QString fileCaption = QTr("Import", "File&name with path (ex: C:\\bookmark.htm):");
#else
    const QString fileCaption = QTr("Import", "File&name with path (ex: ~/bookmarks.html):");
#endif
    QLabel* fileLabel = label(fileCaption, du.Rect(7, 7 + top, 240, 8));
    m_fileName = new QLineEdit(Text(fileName), this);
    m_fileName->setGeometry(du.Rect(7, 21 + top, 240, 14));
    m_fileName->setMaxLength(259);
    fileLabel->setBuddy(m_fileName);
    NameLike(m_fileName, fileLabel->text());
    m_browse = button(QTr("Import", "&Browse..."), du.Rect(253, 21 + top, 50, 14));
    QLabel* driveLabel = label(QTr("Import", "&Drive:"), du.Rect(7, 48 + top, 20, 8));
    m_drives = new CSortedComboBox(this);
    m_drives->SetCompare(NaturalCompare);
    m_drives->setGeometry(du.X(31), du.Y(45 + top), du.X(216), du.Y(14));
    driveLabel->setBuddy(m_drives);
    NameLike(m_drives, driveLabel->text());
    QLabel* patternLabel = label(QTr("Import", "&Pattern:"), du.Rect(7, 48 + top + drop, 26, 8));
    m_pattern = new QLineEdit("bookmark.htm*", this);
    m_pattern->setGeometry(du.Rect(37, 45 + top + drop, 100, 14));
    m_pattern->setMaxLength(255);
    patternLabel->setBuddy(m_pattern);
    NameLike(m_pattern, patternLabel->text());
    m_typos = new QCheckBox(QTr("Import", "&Allow typos."), this);
    m_typos->setGeometry(du.Rect(150, 47 + top + drop, 53, 10));
    m_typos->resize(std::max(m_typos->width(), m_typos->sizeHint().width()), m_typos->height());
    m_find = button(QTr("Import", "&Find"), du.Rect(253, 45 + top + drop, 50, 14));
    m_results = new CSortedListBox(this);
    m_results->SetSorted(false);
    m_results->setGeometry(du.Rect(7, 69 + top + drop, 240, 54));
    NameLike(m_results, QTr("Import", "Files found"));
    m_select = button(QTr("Import", "&Select"), du.Rect(253, 69 + top + drop, 50, 14));
    m_select->setEnabled(false);
    m_folders = new QCheckBox(QTr("Import", "S&how folder names."), this);
    m_folders->setGeometry(du.Rect(7, 129 + top + drop, 78, 10));
    m_folders->resize(std::max(m_folders->width(), m_folders->sizeHint().width()), m_folders->height());
    m_keepDates = new QCheckBox(QTr("Import", "&Keep the dates saved by the browser"), this);
    m_keepDates->setGeometry(du.Rect(7, 142 + top + drop, 150, 10));
    m_keepDates->setChecked(m_options.keepDates);
    m_skipExisting = new QCheckBox(QTr("Import", "Skip links already in the &list"), this);
    m_skipExisting->setGeometry(du.Rect(160, 142 + top + drop, 143, 10));
    m_skipExisting->setChecked(m_options.skipExisting);
    m_status = MakePlain(new QLabel(this));
    m_status->setGeometry(du.Rect(7, 143 + top + drop + 13, 296, 8));
    // Over the status line while an import runs.
    m_progress = new QProgressBar(this);
    m_progress->setGeometry(du.Rect(7, 142 + top + drop + 13, 296, 10));
    m_progress->setTextVisible(false);
    m_progress->hide();
    NameLike(m_progress, QTr("Import", "Import progress"));
    m_import = button(QTr("Import", "&Import"), du.Rect(97, 159 + top + drop + 13, 50, 14));
    m_import->setDefault(true);
    m_import->setAutoDefault(true);
    auto* close = button(QTr("Import", "Close"), du.Rect(163, 159 + top + drop + 13, 50, 14));
    // Tab follows the dialog from the top down.
    setTabOrder(m_profiles, m_fileName);

    const std::vector<std::string> roots = SearchRoots();
    for (const std::string& root : roots) m_drives->Add(Text(root));
    m_drives->setCurrentIndex(m_drives->findText(Text(roots.front())));
    // A root longer than the box still shows whole in the list that drops down.
    int widest = 0;
    for (int i = 0; i < m_drives->count(); ++i) widest = std::max(widest, fontMetrics().horizontalAdvance(m_drives->itemText(i)));
    m_drives->view()->setMinimumWidth(widest + du.X(12));
    m_drives->setToolTip(PlainToolTip(m_drives->currentText()));
    connect(m_drives, &QComboBox::currentTextChanged, m_drives,
            [this](const QString& text) { m_drives->setToolTip(PlainToolTip(text)); });

    connect(m_import, &QPushButton::clicked, this, &CImportDlg::Import);
    connect(m_profiles, &QListWidget::currentRowChanged, this, [this](int row) {
        if (row >= 0 && row < int(m_profileList.size())) m_fileName->setText(Text(m_profileList[size_t(row)].store));
    });
    connect(m_profiles, &QListWidget::itemActivated, this, [this] { Import(); });
    // The choices are remembered as soon as they are made, also when nothing is imported.
    connect(m_keepDates, &QCheckBox::toggled, this, [this](bool on) { m_options.keepDates = on; });
    connect(m_skipExisting, &QCheckBox::toggled, this, [this](bool on) { m_options.skipExisting = on; });
    connect(m_browse, &QPushButton::clicked, this, &CImportDlg::Browse);
    connect(m_find, &QPushButton::clicked, this, &CImportDlg::FindBookmarkFiles);
    connect(m_select, &QPushButton::clicked, this, &CImportDlg::Select);
    connect(close, &QPushButton::clicked, this, &CImportDlg::reject);
    connect(m_results, &QListWidget::itemDoubleClicked, this, &CImportDlg::Select);
    connect(m_results, &QListWidget::itemSelectionChanged, this, [this] { m_select->setEnabled(true); });
    connect(m_folders, &QCheckBox::toggled, this, [this](bool on) {
        if (!on && m_searching) m_status->setText(QTr("Import", "Searching..."));
    });
}

CImportDlg::~CImportDlg() { StopCounting(); }

void CImportDlg::StopCounting()
{
    m_stopCounting = true;
    if (m_counting.joinable()) m_counting.join();
    m_stopCounting = false;
    m_countsLeft = 0;
}

void CImportDlg::SetProfiles(const std::vector<BrowserProfile>& profiles, const std::vector<std::string>& skipped)
{
    StopCounting();
    m_profileList = profiles;
    m_profiles->clear();
    for (const BrowserProfile& profile : profiles)
        m_profiles->addItem(Text(ProfileLabel(profile, kLinksNotCounted, m_counts)));
    if (profiles.empty()) {
        auto* none = new QListWidgetItem(QTr("Import", "No browser profiles were found on this computer."), m_profiles);
        none->setFlags(Qt::NoItemFlags);
    }
    for (const std::string& note : skipped) {
        auto* line = new QListWidgetItem(Text(note), m_profiles);
        line->setFlags(Qt::NoItemFlags);
    }
    if (profiles.empty()) return;
    // Each count comes back to the window thread as it is known; a count that arrives
    // after the dialog is gone is dropped with it.
    m_countsLeft = int(profiles.size());
    const int generation = ++m_countGeneration;
    m_counting = std::thread([this, profiles, generation] {
        for (size_t row = 0; row < profiles.size() && !m_stopCounting; ++row) {
            const int links = CountStoreLinks(profiles[row].store, &m_stopCounting);
            if (m_stopCounting) return;
            QMetaObject::invokeMethod(this, [this, row, links, generation, profile = profiles[row]] {
                if (generation != m_countGeneration) return;
                m_profiles->item(int(row))->setText(Text(ProfileLabel(profile, links, m_counts)));
                --m_countsLeft;
            }, Qt::QueuedConnection);
        }
    });
}

void CImportDlg::Import()
{
    if (m_importing) {
        m_stopImport = true;
        return;
    }
    m_options.keepDates = m_keepDates->isChecked();
    m_options.skipExisting = m_skipExisting->isChecked();
    // A long import answers between blocks of the source: its bar moves, and Stop
    // (the Import button meanwhile) or Close ends it, keeping what was taken so far.
    BookmarkTarget target = m_target;
    QElapsedTimer shown;
    shown.start();
    target.progress = [this, &shown](uint64_t done, uint64_t total) {
        if (shown.elapsed() >= 100) {
            shown.restart();
            if (!m_progress->isVisible()) {
                m_status->hide();
                m_progress->show();
            }
            m_progress->setRange(0, total > 0 ? 1000 : 0);
            if (total > 0) m_progress->setValue(int(std::min<uint64_t>(1000, done * 1000 / total)));
            QCoreApplication::processEvents(QEventLoop::AllEvents);
        }
        return !m_stopImport;
    };
    m_importing = true;
    m_stopImport = false;
    EnableInputs(false);
    for (QWidget* w : std::initializer_list<QWidget*>{m_profiles, m_keepDates, m_skipExisting}) w->setEnabled(false);
    m_import->setEnabled(true);
    m_import->setText(QTr("Import", "S&top"));
    QApplication::setOverrideCursor(Qt::BusyCursor);
    ImportBookmarkFile(ToBytes(m_fileName->text()), m_prompter, m_counts, target);
    QApplication::restoreOverrideCursor();
    m_importing = false;
    m_progress->hide();
    m_status->show();
    if (m_closing) return;
    EnableInputs(true);
    for (QWidget* w : std::initializer_list<QWidget*>{m_profiles, m_keepDates, m_skipExisting}) w->setEnabled(true);
    m_import->setText(QTr("Import", "&Import"));
}

void CImportDlg::Browse()
{
    const QString file = QFileDialog::getOpenFileName(
        this, QString(), QString(), QTr("Import", "Bookmarks and Exports (*.htm *.html *.csv *.json *.xbel *.md *.txt places.sqlite Bookmarks);;All Files (*)"));
    if (!file.isEmpty()) m_fileName->setText(QDir::toNativeSeparators(file));
}

void CImportDlg::Select()
{
    QListWidgetItem* item = m_results->currentItem();
    if (!item || !item->isSelected()) {
        m_prompter.Show(Tr("Import", "Please select a file."), Prompter::Icon::None, Prompter::Buttons::Ok);
        return;
    }
    m_fileName->setText(item->text());
}

void CImportDlg::EnableInputs(bool enabled)
{
    for (QWidget* w : std::initializer_list<QWidget*>{m_fileName, m_browse, m_drives, m_pattern, m_typos, m_import})
        w->setEnabled(enabled);
}

void CImportDlg::FindBookmarkFiles()
{
    if (m_searching) {
        // Stop: the search ends after the folder it is listing.
        m_stop = true;
        EnableInputs(true);
        return;
    }
    const std::string pattern(TrimView(ToBytes(m_pattern->text())));
    if (pattern.empty() || Text(pattern).size() >= 256) {
        m_prompter.Show(Tr("Import", "The pattern's length is too short or too long."), Prompter::Icon::None, Prompter::Buttons::Ok);
        return;
    }
    EnableInputs(false);
    QApplication::setOverrideCursor(Qt::BusyCursor);
    m_find->setText(QTr("Import", "S&top"));
    m_searching = true;
    m_stop = false;
    m_results->Reset();
    const std::string root = ToBytes(m_drives->currentText().isEmpty() ? QDir::rootPath() : m_drives->currentText());
    CBookmarkFinder finder(root, pattern, m_typos->isChecked());
    if (!m_folders->isChecked()) m_status->setText(QTr("Import", "Searching..."));
    QElapsedTimer clock;
    clock.start();
    int count = 0;
    std::vector<std::string> found;
    for (;;) {
        if (m_folders->isChecked()) m_status->setText(Text(finder.Folder()));
        found.clear();
        const bool more = finder.Step(found);
        for (const std::string& path : found) {
            m_results->Add(Text(path));
            ++count;
        }
        // Between folders the dialog answers: Stop, Close, Select, the check box.
        QCoreApplication::processEvents(QEventLoop::AllEvents);
        if (m_stop || !more) break;
    }
    EnableInputs(true);
    QApplication::restoreOverrideCursor();
    m_searching = false;
    if (m_closing) return;
    m_find->setText(QTr("Import", "&Find"));
    char seconds[32];
    std::snprintf(seconds, sizeof seconds, "%2.1f", double(clock.elapsed()) * 0.001);
    const bool oneSecond = std::string(seconds) == "1.0";
    std::string shown = seconds;
    m_counts.LocalizeDecimal(shown);
    std::string status = Fill(m_counts.Plural(count, oneSecond ? Tr("Import", "Found %1 file in %2 second.") : Tr("Import", "Found %1 file in %2 seconds."),
                                              oneSecond ? Tr("Import", "Found %1 files in %2 second.") : Tr("Import", "Found %1 files in %2 seconds.")),
                              {m_counts.Format(count), shown});
    if (m_stop) status = Tr("Import", "File searching stopped.  ") + status;
    m_status->setText(Text(status));
    // A single file found is the one to Select, without picking it first.
    if (m_results->count() == 1) m_results->SelectAndShow(0);
}

void CImportDlg::reject()
{
    m_stop = true;
    m_stopImport = true;
    m_closing = true;
    QDialog::reject();
}
