#include "health/HealthController.h"

#include <utility>

#include "common/QtText.h"
#include "health/ArchiveLookup.h"
#include "health/CheckLinksDlg.h"
#include "health/DuplicateFinder.h"
#include "health/DuplicatesDlg.h"
#include "health/GetTitleDlg.h"
#include "health/LaunchCheck.h"
#include "health/LinkAddress.h"
#include "options/Settings.h"
#include "platform/Prompter.h"
#include "store/NaturalCompare.h"
#include "store/LinkStore.h"
#include "platform/Translate.h"

CHealthController::CHealthController(HealthHost& host, Prompter& prompter, std::function<CCountFormatter()> counts,
                                     MakeFetcher makeFetcher, QWidget* window)
    : m_host(host), m_prompter(prompter), m_counts(std::move(counts)), m_makeFetcher(std::move(makeFetcher)),
      m_window(window)
{
}

CHealthController::~CHealthController() = default;

CCheckLinksDlg* CHealthController::CheckLinksWindow() const { return m_checkDlg.data(); }

void CHealthController::CloseWindows()
{
    // A link check in progress stops with the window.
    if (m_checkDlg) m_checkDlg->close();
}

void CHealthController::RecordsChanged()
{
    if (m_checkDlg) m_checkDlg->RecordsChanged();
}

void CHealthController::CheckLinksCommand(bool selectedOnly)
{
    LinkStore& store = m_host.HealthStore();
    std::vector<CheckItem> items;
    bool whole = false;
    {
        auto lock = store.Lock();
        std::vector<int> rows = m_host.SelectedRows();
        if (rows.size() < 2 && !(selectedOnly && !rows.empty())) {
            whole = true;
            rows.resize(size_t(store.Count()));
            for (int row = 0; row < store.Count(); ++row) rows[size_t(row)] = row;
        }
        items.reserve(rows.size());
        for (int row : rows) {
            const CAnnotatedLink& record = std::as_const(store).At(row);
            items.push_back({{&record, std::string(record.Link())}, std::string(record.Title()), record.Added()});
        }
    }
    if (items.empty()) {
        m_prompter.Notice(Tr("Health", "There are no links to check."));
        return;
    }
    // Contacting every site of a large collection is not done without a word.
    if (whole && items.size() >= 2 && !m_prompter.Ask(m_counts().Plural(int(items.size()), Tr("Health", "Check all %1 link?"), Tr("Health", "Check all %1 links?"))))
        return;
    // One check at a time: a new one replaces the one that is open.
    if (m_checkDlg) m_checkDlg->close();
    m_checkDlg = new CCheckLinksDlg(*this, std::move(items), m_makeFetcher(), CLinkChecker::Options{},
                                    m_counts(), m_window);
    m_checkDlg->show();
    m_checkDlg->Start();
}

void CHealthController::DuplicatesCommand()
{
    LinkStore& store = m_host.HealthStore();
    auto lock = store.Lock();
    const std::vector<DuplicateGroup> groups = FindDuplicates(store);
    if (groups.empty()) {
        m_prompter.Notice(Tr("Health", "No two links point to the same place."));
        return;
    }
    m_host.SelectRows(RowsToRemove(groups));
    CDuplicatesDlg dlg(groups, store, m_counts(), m_window);
    lock.unlock();
    dlg.exec();
}

int CHealthController::SelectLinks(const std::vector<LinkRef>& refs)
{
    LinkStore& store = m_host.HealthStore();
    auto lock = store.Lock();
    const std::vector<int> rows = RowsOfLinks(store, refs);
    m_host.SelectRows(rows);
    // The user goes on in the list: Delete, or a click to edit.
    m_host.FocusList();
    return int(rows.size());
}

std::vector<bool> CHealthController::ReplaceLinks(const std::vector<LinkRef>& refs,
                                                  const std::vector<std::string>& links)
{
    LinkStore& store = m_host.HealthStore();
    std::vector<bool> replaced(refs.size(), false);
    auto lock = store.Lock();
    std::vector<int> rowOf;
    RowsOfLinks(store, refs, &rowOf);
    bool any = false;
    for (size_t i = 0; i < refs.size() && i < links.size(); ++i) {
        if (rowOf[i] < 0) continue;
        CAnnotatedLink& record = store.Edit(rowOf[i]);
        m_host.ChangeRecords({&record}, [&] {
            record.SetLink(links[i]);
            record.SetModified(m_host.Now());
        });
        replaced[i] = any = true;
    }
    if (any) m_host.CountStored(1);
    return replaced;
}

std::vector<bool> CHealthController::UseArchivedCopies(const std::vector<LinkRef>& refs,
                                                       const std::vector<std::string>& copies)
{
    LinkStore& store = m_host.HealthStore();
    std::vector<bool> used(refs.size(), false);
    auto lock = store.Lock();
    std::vector<int> rowOf;
    RowsOfLinks(store, refs, &rowOf);
    std::vector<CAnnotatedLink*> records;
    std::vector<size_t> which;
    for (size_t i = 0; i < refs.size() && i < copies.size(); ++i)
        if (rowOf[i] >= 0) {
            records.push_back(&store.Edit(rowOf[i]));
            which.push_back(i);
        }
    if (records.empty()) return used;
    const CLinkDate now = m_host.Now();
    m_host.ChangeRecords(records, [&] {
        for (size_t k = 0; k < records.size(); ++k) {
            CAnnotatedLink& record = *records[k];
            const std::string original(record.Link());
            record.SetDescription(DescriptionWithOriginal(record.Description(), original));
            record.SetLink(copies[which[k]]);
            record.SetModified(now);
            used[which[k]] = true;
        }
    });
    m_host.CountStored(int(records.size()));
    return used;
}

bool CHealthController::MayAskTheArchive()
{
    CSettings& settings = m_host.HealthSettings();
    if (!settings.archiveLookups) {
        m_prompter.Notice(Tr("Health", "Looking for archived copies is turned off on the Misc. page of Options."));
        return false;
    }
    if (!settings.archiveAskFirst) return true;
    // No is the default: nothing leaves the machine without a Yes.
    bool dontAsk = false;
    const bool yes = m_prompter.AskWithCheckBox(Tr("Health", "Norvelle will send the addresses of the selected links to "
                                                             "the Internet Archive (archive.org) to look for archived "
                                                             "copies.  Continue?"),
                                                Tr("Health", "Do not ask again"), dontAsk, false) == Prompter::Answer::Yes;
    if (dontAsk) {
        // A remembered No turns the service off, as the Options page shows.
        settings.archiveAskFirst = false;
        settings.archiveLookups = yes;
        m_host.SaveHealthSettings();
    }
    return yes;
}

std::string CHealthController::ArchiveService() { return m_host.HealthSettings().archiveService; }

std::unique_ptr<HttpFetcher> CHealthController::MakeArchiveFetcher() { return m_makeFetcher(); }

std::vector<std::optional<std::string>> CHealthController::CurrentLinks(const std::vector<const CAnnotatedLink*>& records)
{
    LinkStore& store = m_host.HealthStore();
    auto lock = store.Lock();
    return ::CurrentLinks(store, records);
}

void CHealthController::TitleOfForm(const CCountFormatter& counts)
{
    const std::string link(TrimView(m_host.FormLink()));
    if (KindOfLink(link) != LinkKind::Web) {
        m_prompter.Error(Tr("Health", "Get Title from Page needs a web address (http or https) in the Link field."));
        return;
    }
    if (!m_host.FormTitleEmpty()) {
        m_prompter.Notice(Tr("Health", "The Title is filled in already.  Empty it to get the title of the page."));
        return;
    }
    CGetTitleDlg dlg({link}, m_makeFetcher(), counts, m_window);
    dlg.exec();
    if (dlg.Results().empty()) return;  // stopped
    const PageTitleResult& result = dlg.Results().front();
    if (!result.ok || result.page.title.empty()) {
        m_prompter.Error(Fill(Tr("Health", "Could not get the title of %1: %2."),
                              {VisibleText(link), result.ok ? Tr("Health", "the page has no title") : result.failure}));
        return;
    }
    m_host.TypeIntoForm(result.page.title, result.page.description);
    m_host.ShowStatus(QString::fromStdString(Fill(Tr("Health", "The title of %1 is in the Title field."), {VisibleText(link)})));
}

void CHealthController::GetTitleCommand()
{
    const CCountFormatter counts = m_counts();
    if (m_host.FormIsTarget()) {
        TitleOfForm(counts);
        return;
    }
    LinkStore& store = m_host.HealthStore();
    // The selected web links that lack a title or a description.
    std::vector<LinkRef> refs;
    std::vector<std::string> links;
    {
        auto lock = store.Lock();
        for (int row : m_host.SelectedRows()) {
            const CAnnotatedLink& record = std::as_const(store).At(row);
            if (KindOfLink(record.Link()) != LinkKind::Web) continue;
            if (!TrimView(record.Title()).empty() && !TrimView(record.Description()).empty()) continue;
            refs.push_back({&record, std::string(record.Link())});
            links.push_back(std::string(TrimView(record.Link())));
        }
    }
    if (links.empty()) {
        m_prompter.Notice(Tr("Health", "Every selected web link has a title and a description already."));
        return;
    }
    CGetTitleDlg dlg(links, m_makeFetcher(), counts, m_window);
    dlg.exec();
    auto lock = store.Lock();
    // Only records still in the list with the link that was read are given its title.
    std::vector<int> rowOf;
    RowsOfLinks(store, refs, &rowOf);
    std::vector<CAnnotatedLink*> changed;
    std::vector<const PageTitleResult*> found;
    int failed = 0;
    for (const PageTitleResult& result : dlg.Results()) {
        if (!result.ok) ++failed;
        const int row = rowOf[size_t(result.index)];
        if (!result.ok || row < 0) continue;
        changed.push_back(&store.Edit(row));
        found.push_back(&result);
    }
    int titles = 0, descriptions = 0;
    if (!changed.empty()) {
        // One step, whatever the number of links.
        m_host.ChangeRecords(changed, [&] {
            for (size_t i = 0; i < changed.size(); ++i) {
                CAnnotatedLink& record = *changed[i];
                if (TrimView(record.Title()).empty() && !found[i]->page.title.empty()) {
                    record.SetTitle(found[i]->page.title);
                    ++titles;
                }
                if (TrimView(record.Description()).empty() && !found[i]->page.description.empty()) {
                    record.SetDescription(found[i]->page.description);
                    ++descriptions;
                }
            }
        });
    }
    // Says what was filled: a row that had its title may have gained only a description.
    std::string summary = dlg.Stopped() ? Tr("Health", "Stopped.  ") : "";
    if (descriptions == 0) summary += counts.Plural(titles, Tr("Health", "Got the titles of %1 link."), Tr("Health", "Got the titles of %1 links."));
    else if (titles == 0) summary += counts.Plural(descriptions, Tr("Health", "Got the descriptions of %1 link."), Tr("Health", "Got the descriptions of %1 links."));
    else summary += counts.Plural(titles, Tr("Health", "Got the titles of %1 link"), Tr("Health", "Got the titles of %1 links")) +
                    counts.Plural(descriptions, Tr("Health", " and the descriptions of %1 link."), Tr("Health", " and the descriptions of %1 links."));
    if (failed > 0) summary += counts.Plural(failed, Tr("Health", "  %1 page gave none."), Tr("Health", "  %1 pages gave none."));
    m_prompter.Notice(summary);
}
