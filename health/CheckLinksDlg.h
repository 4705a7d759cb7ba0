#pragma once
#include <QAbstractTableModel>
#include <QDialog>
#include <QTimer>
#include <memory>
#include <vector>

#include "health/ArchiveLookup.h"
#include "health/LinkCheck.h"
#include "health/LinkRef.h"
#include "options/CountFormatter.h"
#include "store/LinkDate.h"

class QLabel;
class QProgressBar;
class QPushButton;
class QSortFilterProxyModel;
class QTableView;

// One link handed to the check: the record it came from and its title.
struct CheckItem {
    LinkRef ref;
    std::string title;
    CLinkDate added;  // the day its archived copy is looked for near
};

// The results so far, one row per checked link, in the order they arrived.
class CheckResultsModel : public QAbstractTableModel {
    Q_OBJECT
public:
    enum Column { ColTitle, ColLink, ColState, ColAddress, ColCount };
    explicit CheckResultsModel(const std::vector<CheckItem>& items, QObject* parent = nullptr)
        : QAbstractTableModel(parent), m_items(items)
    {
    }
    int rowCount(const QModelIndex& parent = {}) const override { return parent.isValid() ? 0 : int(m_rows.size()); }
    int columnCount(const QModelIndex& parent = {}) const override { return parent.isValid() ? 0 : ColCount; }
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

    void Append(std::vector<LinkCheckResult> results);
    const LinkCheckResult& Result(int row) const { return m_rows[size_t(row)].result; }
    const CheckItem& Item(int row) const { return m_items[size_t(m_rows[size_t(row)].result.index)]; }
    bool Replaced(int row) const { return m_rows[size_t(row)].replaced; }
    // Results that NeedsALook, but for dead links that took their archived copy.
    int NeedingALook() const { return m_needingALook - m_archivesUsed; }
    void SetReplaced(int row, bool replaced = true);

    // A dead link's archived copy: being looked for, then what the service said.
    enum class Archive { NotAsked, Asking, Answered };
    Archive ArchiveState(int row) const { return m_rows[size_t(row)].archive; }
    const ArchivedCopy& Copy(int row) const { return m_rows[size_t(row)].copy; }
    bool HasCopy(int row) const
    {
        return m_rows[size_t(row)].archive == Archive::Answered && m_rows[size_t(row)].copy.found == ArchivedCopy::Found::Copy;
    }
    bool CopyUsed(int row) const { return m_rows[size_t(row)].copyUsed; }
    void SetAsking(int row);
    void SetCopy(int row, const ArchivedCopy& copy);
    void SetCopyUsed(int row, bool used);

private:
    struct Row {
        LinkCheckResult result;
        bool replaced = false;
        Archive archive = Archive::NotAsked;
        ArchivedCopy copy;
        bool copyUsed = false;
    };
    void StateChanged(int row) { emit dataChanged(index(row, ColState), index(row, ColState)); }
    const std::vector<CheckItem>& m_items;
    std::vector<Row> m_rows;
    int m_needingALook = 0;
    int m_archivesUsed = 0;
};

// Check Links: checks the links in the background and shows each one's state as it
// arrives. Nothing in the list changes unless the user chooses Select in List or Use
// New Address. Closing the window stops the check.
class CCheckLinksDlg : public QDialog, private CheckSink, private ArchiveSink {
    Q_OBJECT
public:
    CCheckLinksDlg(LinkListHost& host, std::vector<CheckItem> items, std::unique_ptr<HttpFetcher> fetcher,
                   CLinkChecker::Options options, CCountFormatter counts, QWidget* parent);
    ~CCheckLinksDlg() override;

    void Start();
    void Stop();
    bool Running() const { return m_checker.Running(); }
    QTableView* View() const { return m_view; }
    // The model row shown at a row of the view.
    int ModelRow(int viewRow) const;
    const CheckResultsModel& Results() const { return m_model; }
    QPushButton* SelectButton() const { return m_select; }
    QPushButton* ReplaceButton() const { return m_replace; }
    QPushButton* StopButton() const { return m_stop; }
    QLabel* StatusLabel() const { return m_status; }

    void SelectInList();
    void UseNewAddress();
    // Asks the archive (after the person agreed) for the chosen dead links' copies.
    void FindArchivedCopies();
    // The chosen links that have a copy take its address, as one undoable step.
    void UseArchivedCopy();
    void OpenArchivedCopy();
    bool LookingUp() const { return m_finder && m_finder->Running(); }
    QPushButton* FindArchivedButton() const { return m_findArchived; }
    QPushButton* UseArchivedButton() const { return m_useArchived; }
    QPushButton* OpenArchivedButton() const { return m_openArchived; }
    // The list's records changed (Undo, Redo): a moved link shows "address replaced" only
    // while its record has the new address.
    void RecordsChanged();

protected:
    void done(int result) override;

private:
    void LinkChecked(const LinkCheckResult& result) override;
    void CheckFinished() override;
    void CopyFound(int index, const ArchivedCopy& copy) override;
    void LookupFinished() override;
    void ShowRowMenu(const QPoint& at);
    void Flush();
    void UpdateButtons();
    void UpdateStatus();
    std::vector<int> ChosenRows() const;

    LinkListHost& m_host;
    CCountFormatter m_counts;
    std::vector<CheckItem> m_items;
    std::unique_ptr<HttpFetcher> m_fetcher;
    CLinkChecker m_checker;  // after the fetcher, so that it goes first
    CheckResultsModel m_model;
    std::unique_ptr<HttpFetcher> m_archiveFetcher;
    std::unique_ptr<CArchiveFinder> m_finder;  // after its fetcher, so that it goes first
    std::vector<int> m_lookupRows;             // the model row of each link asked about
    std::vector<LinkCheckResult> m_arrived;  // not shown yet
    QTimer m_flushTimer;

    QLabel* m_status = nullptr;
    QProgressBar* m_progress = nullptr;
    QTableView* m_view = nullptr;
    QSortFilterProxyModel* m_sorted = nullptr;
    QPushButton* m_select = nullptr;
    QPushButton* m_replace = nullptr;
    QPushButton* m_stop = nullptr;
    QPushButton* m_findArchived = nullptr;
    QPushButton* m_useArchived = nullptr;
    QPushButton* m_openArchived = nullptr;
    QPushButton* m_close = nullptr;
};
