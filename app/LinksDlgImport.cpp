#include <QDragEnterEvent>
#include <QFileDialog>
#include <QMimeData>
#include <QLineEdit>
#include <QUrl>
#include <optional>

#include "app/FormText.h"
#include "common/SortedComboBox.h"
#include "app/LinkListCtrl.h"
#include "app/LinksDlg.h"
#include "health/LinkAddress.h"
#include "import/BookmarkExport.h"
#include "import/BrowserStores.h"
#include "import/BrowserProfiles.h"
#include "import/ImportDlg.h"
#include "import/LinkIntake.h"
#include "platform/Clock.h"
#include "store/LinkDate.h"
#include "platform/Paths.h"
#include "platform/Prompter.h"
#include "store/DataFile.h"
#include "store/FileIO.h"
#include "store/NaturalCompare.h"

// The main window's side of importing and exporting bookmark files.

void CLinksDlg::ImportCommand(const std::string& fileName)
{
    if (m_searchBusy) return;
    // Held while the dialog is open, so that every imported link goes in under it.
    auto lock = m_store.Lock();
    // The links of one import are added to the list in one step at its end, and count
    // as one operation for saving and for Undo.
    std::vector<LinkStore::Record> pending;
    std::optional<CLinkIntake> intake;
    IntakeOptions options{m_settings.importKeepsDates, m_settings.importSkipsExisting};
    bool updating = false;
    BookmarkTarget target;
    target.add = [this, &pending, &intake, &options, &updating](ImportedLink&& link) {
        // Each import starts from the list as it is then, with the dialog's choices.
        if (!intake) intake.emplace(m_store, NowDate(m_services.clock), options);
        // The Category box is rebuilt once, when the import ends.
        if (!updating) BeginListUpdate();
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
    target.finished = [this, &pending, &intake, &updating](int count) {
        intake.reset();
        std::vector<CAnnotatedLink*> added;
        for (const auto& record : pending) added.push_back(record.get());
        if (!updating) BeginListUpdate();
        const bool inserted = m_store.InsertRecords(m_store.Count(), pending);
        updating = false;
        EndListUpdate();
        if (!inserted) {
            m_prompter.Error(kOutOfMemoryMessage);
            pending.clear();
            return;
        }
        if (added.empty()) return;
        m_undo.PushAdd("Import", added);
        m_edited = false;
        UpdateTotalCount();
        m_persistence.StoredRecords(count);
    };
    CImportDlg dlg(target, m_prompter, CCountFormatter(m_settings), options, fileName, this);
    std::vector<std::string> skipped;
    const std::vector<BrowserProfile> profiles = FindBrowserProfiles(m_services.paths.HomeFolder(), ThisSystem(), &skipped);
    dlg.SetProfiles(profiles, skipped);
    dlg.exec();
    m_settings.importKeepsDates = options.keepDates;
    m_settings.importSkipsExisting = options.skipExisting;
    SaveSettings(m_services.settings, m_settings, m_titleCaser);
}

bool CLinksDlg::ExportBookmarksTo(const std::string& path)
{
    auto lock = m_store.Lock();
    const int count = m_store.Count();
    if (!m_persistence.WritePersonFile(path, "Could not write the bookmark file \"%.259s\".",
                                       [this](ByteSink& sink) { return ExportBookmarks(m_store, sink); }))
        return false;
    lock.unlock();
    m_prompter.Notice(CCountFormatter(m_settings).Plural("Exported %s link%s.", count));
    return true;
}

void CLinksDlg::ExportCommand()
{
    if (m_searchBusy) return;
    const QString folder = QString::fromStdString(m_persistence.DefaultDataFolder());
    const QString file = QFileDialog::getSaveFileName(this, "Export Bookmarks", folder + "bookmarks.html",
                                                      "HTML Files (*.htm *.html);;All Files (*)");
    if (!file.isEmpty()) ExportBookmarksTo(ToBytes(file));
}

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
    if (kind == SourceKind::FirefoxPlaces || kind == SourceKind::ChromiumBookmarks) return true;
    const QString name = QString::fromStdString(path).toLower();
    return kind == SourceKind::BookmarkFile && (name.endsWith(".htm") || name.endsWith(".html"));
}

}  // namespace

void CLinksDlg::dragEnterEvent(QDragEnterEvent* event)
{
    if (!LinksOfDrag(DragTextsOf(*event->mimeData())).empty()) event->acceptProposedAction();
}

void CLinksDlg::dropEvent(QDropEvent* event)
{
    const std::vector<DroppedLink> links = LinksOfDrag(DragTextsOf(*event->mimeData()));
    if (links.empty()) return;
    event->acceptProposedAction();
    // After the drop has finished, so that the dragging program is not kept waiting.
    QMetaObject::invokeMethod(this, [this, links] { TakeDroppedLinks(links); }, Qt::QueuedConnection);
}

void CLinksDlg::TakeDroppedLinks(const std::vector<DroppedLink>& links)
{
    if (m_searchBusy || links.empty()) return;
    if (links.size() == 1) {
        const std::string file = LocalPathOfLink(links.front().link);
        if (!file.empty() && IsBookmarkSource(file)) {
            ImportCommand(file);
            return;
        }
        // As if typed into an empty form: what the form held goes by the usual rule first.
        if (m_settings.moveSave && m_edited) SaveCurrentLink(false);
        ClearForm(false);
        m_filling = true;
        SetField(m_title, links.front().title, SlotTitle);
        SetField(m_link, links.front().link, SlotLink);
        m_filling = false;
        m_edited = true;
        activateWindow();
        m_title->setFocus(Qt::OtherFocusReason);
        return;
    }
    const CCountFormatter counts(m_settings);
    if (m_prompter.Show(counts.Plural("Add %s link%s?", int(links.size())), Prompter::Icon::Question,
                        Prompter::Buttons::YesNo) != Prompter::Answer::Yes)
        return;
    auto lock = m_store.Lock();
    const std::string category(TrimView(FieldBytes(m_category->currentText(), SlotCategory)));
    const CLinkDate now = NowDate(m_services.clock);
    std::vector<LinkStore::Record> records;
    std::vector<CAnnotatedLink*> added;
    BeginListUpdate();
    for (const DroppedLink& link : links) {
        records.push_back(m_store.MakeImportedLink(CAnnotatedLink{link.title, link.link, "", category, now, now}));
        added.push_back(records.back().get());
    }
    const bool inserted = m_store.InsertRecords(m_store.Count(), records);
    EndListUpdate();
    if (!inserted) {
        m_prompter.Error("There isn't enough available memory to save this link.  Try closing another application.");
        return;
    }
    m_undo.PushAdd("Add", added);
    m_list->EnsureRowVisible(m_store.Count() - 1);
    UpdateTotalCount();
    m_persistence.StoredRecords(int(added.size()));
}
