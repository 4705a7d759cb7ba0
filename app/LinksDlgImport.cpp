#include <QDragEnterEvent>
#include <QFileDialog>
#include <QMimeData>
#include <QUrl>
#include <optional>

#include "app/FormText.h"
#include "app/LinkListCtrl.h"
#include "app/LinksDlg.h"
#include "import/BookmarkExport.h"
#include "import/BrowserProfiles.h"
#include "import/ImportDlg.h"
#include "import/LinkIntake.h"
#include "platform/Clock.h"
#include "platform/Paths.h"
#include "platform/Prompter.h"
#include "store/FileIO.h"

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
        if (!intake) intake.emplace(m_store, m_services.clock.NowDate(), options);
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
            m_prompter.Error("Could not read the data file into memory.  Close another application and try again.");
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
    dlg.SetProfiles(FindBrowserProfiles(m_services.paths.HomeFolder(), ThisSystem()));
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

void CLinksDlg::dragEnterEvent(QDragEnterEvent* event)
{
    const QList<QUrl> urls = event->mimeData()->urls();
    if (urls.size() == 1 && urls.front().isLocalFile()) event->acceptProposedAction();
}

void CLinksDlg::dropEvent(QDropEvent* event)
{
    const QList<QUrl> urls = event->mimeData()->urls();
    if (urls.size() != 1 || !urls.front().isLocalFile()) return;
    event->acceptProposedAction();
    const std::string file = ToBytes(urls.front().toLocalFile());
    // After the drop has finished, so that the dragging program is not kept waiting.
    QMetaObject::invokeMethod(this, [this, file] { ImportCommand(file); }, Qt::QueuedConnection);
}
