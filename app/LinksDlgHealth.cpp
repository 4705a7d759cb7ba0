#include <QTimer>
#include <utility>

#include "app/LinkListCtrl.h"
#include "app/LinksDlg.h"
#include "health/CheckLinksDlg.h"
#include "health/DuplicateFinder.h"
#include "health/DuplicatesDlg.h"
#include "health/GetTitleDlg.h"
#include "health/LinkAddress.h"
#include "app/FormText.h"
#include "health/LaunchCheck.h"
#include "store/NaturalCompare.h"
#include <QLineEdit>
#include <QPlainTextEdit>
#include "options/CountFormatter.h"
#include "platform/Clock.h"
#include "store/LinkDate.h"
#include "platform/Prompter.h"
#include "platform/qt/QtHttpFetcher.h"

// The main window's side of Check Links and Find Duplicates: what to check, and the
// selection and changes that their windows ask for.

void CLinksDlg::CheckLinksCommand(bool selectedOnly)
{
    if (m_searchBusy) return;
    std::vector<CheckItem> items;
    {
        auto lock = m_store.Lock();
        const RowStates& states = m_list->States();
        std::vector<int> rows = states.SelectedRows();
        if (rows.size() < 2 && !(selectedOnly && !rows.empty())) {
            rows.resize(size_t(m_store.Count()));
            for (int row = 0; row < m_store.Count(); ++row) rows[size_t(row)] = row;
        }
        items.reserve(rows.size());
        for (int row : rows) {
            const CAnnotatedLink& record = std::as_const(m_store).At(row);
            items.push_back({{&record, std::string(record.Link())}, std::string(record.Title())});
        }
    }
    if (items.empty()) {
        m_prompter.Notice("There are no links to check.");
        return;
    }
    // One check at a time: a new one replaces the one that is open.
    if (m_checkDlg) m_checkDlg->close();
    m_checkDlg = new CCheckLinksDlg(*this, std::move(items), std::make_unique<QtHttpFetcher>(), CLinkChecker::Options{},
                                    CCountFormatter(m_settings), this);
    m_checkDlg->show();
    m_checkDlg->Start();
}

void CLinksDlg::DuplicatesCommand()
{
    if (m_searchBusy) return;
    auto lock = m_store.Lock();
    const std::vector<DuplicateGroup> groups = FindDuplicates(m_store);
    if (groups.empty()) {
        m_prompter.Notice("No two links point to the same place.");
        return;
    }
    SelectRows(RowsToRemove(groups));
    CDuplicatesDlg dlg(groups, m_store, CCountFormatter(m_settings), this);
    lock.unlock();
    dlg.exec();
}

void CLinksDlg::SelectRows(const std::vector<int>& rows)
{
    auto lock = m_store.Lock();
    BeginListUpdate();
    RowStates& states = m_list->States();
    states.ClearSelection();
    for (int row : rows) states.SetSelected(row, true);
    states.SetFocus(-1);
    if (!rows.empty()) {
        states.SetMark(rows.front());
        RetrieveLink(false);
        m_list->EnsureRowVisible(rows.front());
        UpdatePrevNextButtons(rows.front());
    }
    UpdateSelectedCount();
    EndListUpdate();
}

int CLinksDlg::SelectLinks(const std::vector<LinkRef>& refs)
{
    if (m_searchBusy) return 0;
    auto lock = m_store.Lock();
    const std::vector<int> rows = RowsOfLinks(m_store, refs);
    SelectRows(rows);
    // The user goes on in the list: Delete, or a click to edit.
    raise();
    activateWindow();
    m_list->setFocus();
    return int(rows.size());
}

std::vector<bool> CLinksDlg::ReplaceLinks(const std::vector<LinkRef>& refs, const std::vector<std::string>& links)
{
    std::vector<bool> replaced(refs.size(), false);
    if (m_searchBusy) return replaced;
    auto lock = m_store.Lock();
    // An edit in the form goes into its record first, as leaving the record would do,
    // so that it neither is lost nor later writes the old link back.
    if (m_edited && m_retrieved) SaveCurrentLink(false);
    std::vector<int> rowOf;
    RowsOfLinks(m_store, refs, &rowOf);
    BeginListUpdate();
    const CLinkDate now = NowDate(m_services.clock);
    const int shown = m_retrieved ? m_list->States().Retrieved() : -1;
    bool any = false;
    for (size_t i = 0; i < refs.size() && i < links.size(); ++i) {
        const int row = rowOf[i];
        if (row < 0) continue;
        CAnnotatedLink& record = m_store.At(row);
        m_undo.PushModify(record);
        record.SetLink(links[i]);
        record.SetModified(now);
        m_list->Model().RowChanged(row);
        if (row == shown) ShowLink(record);
        replaced[i] = any = true;
    }
    EndListUpdate();
    if (any) {
        m_store.SetChanged();
        m_persistence.StoredRecord();
    }
    return replaced;
}

std::vector<std::optional<std::string>> CLinksDlg::CurrentLinks(const std::vector<const CAnnotatedLink*>& records)
{
    auto lock = m_store.Lock();
    return ::CurrentLinks(m_store, records);
}

CCheckLinksDlg* CLinksDlg::CheckLinksWindow() const { return m_checkDlg.data(); }

void CLinksDlg::GetTitleCommand()
{
    if (m_searchBusy) return;
    auto fetcher = [] { return std::make_unique<QtHttpFetcher>(); };
    const CCountFormatter counts(m_settings);
    if (FormIsTheTarget(m_title)) {
        const std::string link(TrimView(FieldBytes(m_link->text(), SlotLink)));
        if (KindOfLink(link) != LinkKind::Web) {
            m_prompter.Error("Get Title from Page needs a web address (http or https) in the Link field.");
            return;
        }
        if (!m_title->text().trimmed().isEmpty()) {
            m_prompter.Notice("The Title is filled in already.  Empty it to get the title of the page.");
            return;
        }
        CGetTitleDlg dlg({link}, fetcher(), counts, this);
        dlg.exec();
        if (dlg.Results().empty()) return;  // stopped
        const PageTitleResult& result = dlg.Results().front();
        if (!result.ok || result.page.title.empty()) {
            m_prompter.Error("Could not get the title of " + VisibleText(link) + ": " +
                             (result.ok ? "the page has no title" : result.failure) + ".");
            return;
        }
        // As if typed: stored by Add or Modify.
        m_title->setText(DisplayText(result.page.title));
        if (m_description->toPlainText().trimmed().isEmpty())
            m_description->setPlainText(DisplayText(result.page.description));
        m_edited = true;
        ShowStatus(QString::fromStdString("The title of " + VisibleText(link) + " is in the Title field."));
        return;
    }
    // The selected web links that lack a title or a description.
    std::vector<LinkRef> refs;
    std::vector<std::string> links;
    {
        auto lock = m_store.Lock();
        for (int row : m_list->States().SelectedRows()) {
            const CAnnotatedLink& record = std::as_const(m_store).At(row);
            if (KindOfLink(record.Link()) != LinkKind::Web) continue;
            if (!TrimView(record.Title()).empty() && !TrimView(record.Description()).empty()) continue;
            refs.push_back({&record, std::string(record.Link())});
            links.push_back(std::string(TrimView(record.Link())));
        }
    }
    if (links.empty()) {
        m_prompter.Notice("Every selected web link has a title and a description already.");
        return;
    }
    CGetTitleDlg dlg(links, fetcher(), counts, this);
    dlg.exec();
    auto lock = m_store.Lock();
    // Only records still in the list with the link that was read are given its title.
    std::vector<int> rowOf;
    RowsOfLinks(m_store, refs, &rowOf);
    std::vector<CAnnotatedLink*> changed;
    std::vector<const PageTitleResult*> found;
    int failed = 0;
    for (const PageTitleResult& result : dlg.Results()) {
        if (!result.ok) ++failed;
        const int row = rowOf[size_t(result.index)];
        if (!result.ok || row < 0) continue;
        changed.push_back(&m_store.At(row));
        found.push_back(&result);
    }
    if (!changed.empty()) {
        BeginListUpdate();
        m_undo.PushModify(changed);  // one step, whatever the number of links
        for (size_t i = 0; i < changed.size(); ++i) {
            CAnnotatedLink& record = *changed[i];
            if (TrimView(record.Title()).empty()) record.SetTitle(found[i]->page.title);
            if (TrimView(record.Description()).empty()) record.SetDescription(found[i]->page.description);
        }
        RecordsChanged(std::vector<const CAnnotatedLink*>(changed.begin(), changed.end()));
        RetrieveLink(false);
        m_store.SetChanged();
        EndListUpdate();
    }
    std::string summary = dlg.Stopped() ? "Stopped.  " : "";
    summary += counts.Plural("Got the titles of %s link%s.", int(changed.size()));
    if (failed > 0) summary += counts.Plural("  %s page%s gave none.", failed);
    m_prompter.Notice(summary);
}
