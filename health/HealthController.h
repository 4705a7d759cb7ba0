#pragma once
#include <QPointer>
#include <QString>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "health/LinkRef.h"
#include "options/CountFormatter.h"
#include "store/LinkDate.h"

class QWidget;
class CCheckLinksDlg;
class HttpFetcher;
class LinkStore;
class Prompter;
struct CSettings;

// What Check Links, Find Duplicates and Get Title from Page need of the main window.
class HealthHost {
public:
    virtual ~HealthHost() = default;
    virtual LinkStore& HealthStore() = 0;
    // The selected rows, ascending; asked under the store's lock.
    virtual std::vector<int> SelectedRows() = 0;
    // Selects exactly these rows (ascending) as a click would, the first in the form.
    virtual void SelectRows(const std::vector<int>& rows) = 0;
    // Brings the window forward with the list focused, for the person to go on there.
    virtual void FocusList() = 0;
    // The form, when Get Title from Page works on it rather than on the selected rows.
    virtual bool FormIsTarget() = 0;
    virtual std::string FormLink() = 0;
    virtual bool FormTitleEmpty() = 0;
    // As if typed: stored by Add or Modify.
    virtual void TypeIntoForm(const std::string& title, const std::string& description) = 0;
    // Changes the records as one undoable step: the form's pending edit is stored first,
    // and the rows and the form show the change.
    virtual void ChangeRecords(const std::vector<CAnnotatedLink*>& records, const std::function<void()>& change) = 0;
    // Counts stored records toward the save after so many.
    virtual void CountStored(int records) = 0;
    virtual CLinkDate Now() = 0;
    virtual void ShowStatus(const QString& text) = 0;
    // The settings of archived copies, and their change kept.
    virtual CSettings& HealthSettings() = 0;
    virtual void SaveHealthSettings() = 0;
    // Opens an address in the browser, as Launch does.
    virtual void OpenInBrowser(const std::string& address) = 0;
};

// The main window's side of Check Links, Find Duplicates and Get Title from Page: what
// to check, and the selection and changes that their windows ask for.
class CHealthController : private LinkListHost {
public:
    using MakeFetcher = std::function<std::unique_ptr<HttpFetcher>()>;
    CHealthController(HealthHost& host, Prompter& prompter, std::function<CCountFormatter()> counts,
                      MakeFetcher makeFetcher, QWidget* window);
    ~CHealthController() override;

    // Check Links: the selected links (all when fewer than two are selected) in a window
    // of their own while the main window stays usable.
    void CheckLinksCommand(bool selectedOnly = false);
    // Find Duplicates: selects every copy but the oldest of each group and reports them.
    void DuplicatesCommand();
    // Get Title from Page: the form's empty Title (and Description) from its web page, or,
    // with several rows selected, their empty titles and descriptions as one step.
    void GetTitleCommand();
    CCheckLinksDlg* CheckLinksWindow() const;
    // The records changed outside the check (Undo, Redo): its window looks again.
    void RecordsChanged();
    void CloseWindows();

private:
    int SelectLinks(const std::vector<LinkRef>& refs) override;
    std::vector<bool> ReplaceLinks(const std::vector<LinkRef>& refs, const std::vector<std::string>& links) override;
    std::vector<std::optional<std::string>> CurrentLinks(const std::vector<const CAnnotatedLink*>& records) override;
    std::vector<bool> UseArchivedCopies(const std::vector<LinkRef>& refs, const std::vector<std::string>& copies) override;
    bool MayAskTheArchive() override;
    std::string ArchiveService() override;
    std::unique_ptr<HttpFetcher> MakeArchiveFetcher() override;
    void OpenInBrowser(const std::string& address) override { m_host.OpenInBrowser(address); }
    void TitleOfForm(const CCountFormatter& counts);

    HealthHost& m_host;
    Prompter& m_prompter;
    std::function<CCountFormatter()> m_counts;
    MakeFetcher m_makeFetcher;
    QWidget* m_window;
    QPointer<CCheckLinksDlg> m_checkDlg;
};
