#include "import/ImportController.h"

#include <QFileDialog>
#include <QMimeData>
#include <QUrl>
#include <optional>

#include "common/QtText.h"
#include "health/LinkAddress.h"
#include "import/LinkExport.h"
#include "import/BrowserProfiles.h"
#include "import/BrowserStores.h"
#include "import/ImportDlg.h"
#include "import/LinkIntake.h"
#include "options/Settings.h"
#include "platform/Clock.h"
#include "platform/Paths.h"
#include "platform/Prompter.h"
#include "store/DataFile.h"
#include "store/LinkDate.h"
#include "store/NaturalCompare.h"
#include "platform/Translate.h"

namespace {

// The forms a drag carries its links in, as text.
DragTexts DragTextsOf(const QMimeData& mime)
{
    DragTexts texts;
    if (mime.hasFormat("text/x-moz-url")) {
        // Firefox and Chromium write it as UTF-16.
        const QByteArray bytes = mime.data("text/x-moz-url");
        QString text = QString::fromUtf16(reinterpret_cast<const char16_t*>(bytes.constData()), bytes.size() / 2);
        if (text.startsWith(QChar(0xFEFF))) text.remove(0, 1);
        texts.mozUrl = ToBytes(text);
    }
    for (const QUrl& url : mime.urls()) texts.uriList += ToBytes(url.toString(QUrl::FullyEncoded)) + "\n";
    if (mime.hasText()) texts.plainText = ToBytes(mime.text());
    return texts;
}

// A file that Import reads: a browser's store, or a page such as browsers export.
bool IsBookmarkSource(std::string path)
{
    const SourceKind kind = SourceKindOf(path);
    if (kind == SourceKind::FirefoxPlaces || kind == SourceKind::ChromiumBookmarks || kind == SourceKind::ServiceFile)
        return true;
    const QString name = QString::fromStdString(path).toLower();
    return kind == SourceKind::BookmarkFile && (name.endsWith(".htm") || name.endsWith(".html"));
}

}  // namespace

CImportController::CImportController(ImportHost& host, Prompter& prompter, CSettings& settings, Clock& clock,
                                     Paths& paths, QWidget* window)
    : m_host(host), m_prompter(prompter), m_settings(settings), m_clock(clock), m_paths(paths), m_window(window)
{
}

void CImportController::ImportCommand(const std::string& fileName)
{
    LinkStore& store = m_host.ImportStore();
    // Held while the dialog is open, so that every imported link goes in under it.
    auto lock = store.Lock();
    // The links of one import are added to the list in one step at its end, and count
    // as one operation for saving and for Undo.
    std::vector<LinkStore::Record> pending;
    std::optional<CLinkIntake> intake;
    IntakeOptions options{m_settings.importKeepsDates, m_settings.importSkipsExisting};
    bool updating = false;
    BookmarkTarget target;
    target.add = [&](ImportedLink&& link) {
        // Each import starts from the list as it is then, with the dialog's choices.
        if (!intake) intake.emplace(store, NowDate(m_clock), options);
        // The Category box is rebuilt once, when the import ends.
        if (!updating) m_host.BeginListUpdate();
        updating = true;
        LinkStore::Record record;
        switch (intake->Take(std::move(link), record)) {
        case CLinkIntake::Result::Skipped: return Intake::Skipped;
        case CLinkIntake::Result::Empty: return Intake::Refused;
        case CLinkIntake::Result::Made: break;
        }
        pending.push_back(std::move(record));
        return Intake::Added;
    };
    target.finished = [&](int count) {
        intake.reset();
        const bool appended = m_host.AppendRecords(pending, ImportHost::Arrival::Imported, count);
        if (updating) m_host.EndListUpdate();
        updating = false;
        pending.clear();
        if (!appended) m_prompter.Error(Tr("Store", kOutOfMemoryMessage));
    };
    CImportDlg dlg(target, m_prompter, Counts(), options, fileName, m_window);
    std::vector<std::string> skipped;
    const std::vector<BrowserProfile> profiles = FindBrowserProfiles(m_paths.HomeFolder(), ThisSystem(), &skipped);
    dlg.SetProfiles(profiles, skipped);
    dlg.exec();
    m_settings.importKeepsDates = options.keepDates;
    m_settings.importSkipsExisting = options.skipExisting;
    m_host.SaveImportSettings();
}

void CImportController::OfferFirstImport()
{
    if (!m_settings.offerBrowserImport) return;
    const std::vector<BrowserProfile> profiles = FindBrowserProfiles(m_paths.HomeFolder(), ThisSystem());
    if (profiles.empty()) return;
    std::string names;
    for (const BrowserProfile& profile : profiles) {
        if (names.size() > 300) {
            names += ", ...";
            break;
        }
        names += (names.empty() ? "" : ", ") + profile.browser + ": " + profile.profile;
    }
    const int choice = m_prompter.Choose(Fill(Tr("Import", "Norvelle found bookmarks in your browsers (%1).  Import them now?"), {names}),
                                         {Tr("Import", "&Import..."), Tr("Import", "&Not Now"), Tr("Import", "&Don't Ask Again")}, 1);
    if (choice == 0) ImportCommand();
    if (choice == 2) {
        m_settings.offerBrowserImport = false;
        m_host.SaveImportSettings();
    }
}

bool CImportController::ExportBookmarksTo(const std::string& path, const std::vector<int>& rows, ExportFormat format)
{
    LinkStore& store = m_host.ImportStore();
    auto lock = store.Lock();
    const int count = rows.empty() ? store.Count() : int(rows.size());
    // As Check Links says it: an empty file helps no one, and "Exported 0 links." reads as a failure.
    if (count == 0) {
        lock.unlock();
        m_prompter.Notice(Tr("Import", "There are no links to export."));
        return false;
    }
    if (!m_host.WritePersonFile(path, Tr("Import", "Could not write the bookmark file \"%.259s\"."),
                                [&](ByteSink& sink) { return ExportLinks(store, sink, rows, format); }))
        return false;
    lock.unlock();
    m_prompter.Notice(Counts().Plural(count, Tr("Import", "Exported %1 link."), Tr("Import", "Exported %1 links.")));
    return true;
}

void CImportController::ExportCommand()
{
    if (m_host.ImportStore().Count() == 0) {
        m_prompter.Notice(Tr("Import", "There are no links to export."));
        return;
    }
    // One selected row is most often only the row last clicked: the choice is offered for several.
    std::vector<int> rows = m_host.SelectedRows();
    const int total = m_host.ImportStore().Count();
    if (rows.size() >= 2 && int(rows.size()) < total) {
        const std::string question = Fill(Tr("Import", "Export only the %1 selected links, or all %2 links?"),
                                          {Counts().Format(int(rows.size())), Counts().Format(total)});
        const int choice = m_prompter.Choose(question, {Tr("Import", "&Selected Links"), Tr("Import", "&All Links"), Tr("Import", "Cancel")}, 1);
        if (choice == 2) return;
        if (choice == 1) rows.clear();
    } else {
        rows.clear();
    }
    const QString folder = QString::fromStdString(m_host.DefaultFolder());
    // The chosen filter says the format; a name typed with its own ending says it too.
    const QStringList filters = {QTr("Import", "Bookmark File (*.html *.htm)"), QTr("Import", "XBEL (*.xbel)"),
                                 QTr("Import", "Markdown (*.md)"), QTr("Import", "CSV (*.csv)"),
                                 QTr("Import", "JSON (*.json)")};
    static const ExportFormat kFormats[] = {ExportFormat::Html, ExportFormat::Xbel, ExportFormat::Markdown,
                                            ExportFormat::Csv, ExportFormat::Json};
    static const char* const kEndings[] = {".html", ".xbel", ".md", ".csv", ".json"};
    QString chosen = filters[0];
    QString file = QFileDialog::getSaveFileName(m_window, QTr("Import", "Export Bookmarks"), folder + "bookmarks.html",
                                                filters.join(";;"), &chosen);
    if (file.isEmpty()) return;
    const int index = std::max<qsizetype>(0, filters.indexOf(chosen));
    ExportFormat format = kFormats[index];
    if (const ExportFormat named = ExportFormatOfFileName(ToBytes(file)); named != ExportFormat::Html) {
        format = named;
    } else if (format != ExportFormat::Html && file.endsWith(".html", Qt::CaseInsensitive)) {
        // The name offered at first, kept with another format chosen: it takes that format's ending.
        file.chop(5);
        file += kEndings[index];
    }
    ExportBookmarksTo(ToBytes(file), rows, format);
}

std::vector<DroppedLink> CImportController::LinksOfDrag(const QMimeData& mime) const
{
    return ::LinksOfDrag(DragTextsOf(mime));
}

void CImportController::TakeDroppedLinks(const std::vector<DroppedLink>& links)
{
    if (links.empty()) return;
    if (links.size() == 1) {
        const std::string file = LocalPathOfLink(links.front().link);
        if (!file.empty() && IsBookmarkSource(file))
            ImportCommand(file);
        else
            m_host.TypeLinkIntoForm(links.front().title, links.front().link);
        return;
    }
    if (m_prompter.Show(Counts().Plural(int(links.size()), Tr("Import", "Add %1 link?"), Tr("Import", "Add %1 links?")), Prompter::Icon::Question,
                        Prompter::Buttons::YesNo) != Prompter::Answer::Yes)
        return;
    LinkStore& store = m_host.ImportStore();
    auto lock = store.Lock();
    const std::string category(TrimView(m_host.FormCategory()));
    const CLinkDate now = NowDate(m_clock);
    std::vector<LinkStore::Record> records;
    for (const DroppedLink& link : links)
        records.push_back(store.MakeImportedLink(CAnnotatedLink{link.title, link.link, "", category, now, now}));
    const int count = int(records.size());
    if (!m_host.AppendRecords(records, ImportHost::Arrival::Dropped, count))
        m_prompter.Error(Tr("Import", "There isn't enough available memory to save this link.  Try closing another application."));
}
