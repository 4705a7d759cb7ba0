#include "health/CheckLinksDlg.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QMenu>
#include <QProgressBar>
#include <QPushButton>
#include <QSortFilterProxyModel>
#include <QTableView>
#include <QVBoxLayout>
#include <algorithm>

#include "common/PlainText.h"
#include "common/AccessibleName.h"
#include "health/LaunchCheck.h"
#include "health/LinkAddress.h"
#include "store/Utf.h"
#include "common/QtText.h"
#include "platform/Translate.h"

namespace {

QString Text(const std::string& bytes) { return QString::fromStdString(DisplayUtf8(bytes)); }

// A link as shown: without its password, every invisible character written out.
QString LinkText(const std::string& link) { return QString::fromStdString(VisibleText(DisplayUtf8(WithoutUserInfo(link)))); }

}  // namespace

QVariant CheckResultsModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || index.row() >= rowCount()) return {};
    const Row& row = m_rows[size_t(index.row())];
    const LinkCheckResult& r = row.result;
    if (role == Qt::ToolTipRole) return PlainToolTip(data(index, Qt::DisplayRole).toString());
    if (role == Qt::DisplayRole) {
        switch (index.column()) {
        case ColTitle: return Text(m_items[size_t(r.index)].title).simplified();
        case ColLink: return LinkText(m_items[size_t(r.index)].ref.link);
        case ColState: {
            std::string state = StateText(r) + (row.replaced ? Tr("Health", " - address replaced") : "");
            if (row.copyUsed)
                state += Tr("Health", " - archived copy used");
            else if (row.archive == Archive::Asking)
                state += Tr("Health", " - looking for an archived copy...");
            else if (row.archive == Archive::Answered && row.copy.found == ArchivedCopy::Found::Copy)
                state += Fill(Tr("Health", " - archived copy of %1"), {SnapshotDay(row.copy.timestamp)});
            else if (row.archive == Archive::Answered && row.copy.found == ArchivedCopy::Found::None)
                state += Tr("Health", " - no archived copy");
            else if (row.archive == Archive::Answered)
                state += Fill(Tr("Health", " - the archive could not say: %1"), {row.copy.problem});
            return Text(state);
        }
        case ColAddress: return LinkText(r.finalAddress);
        default: return {};
        }
    }
    // States sort in the order they are listed, then by status, then in the list's order
    // (not the order the answers happened to arrive in).
    if (role == Qt::UserRole) {
        if (index.column() == ColState) return (qlonglong(r.state) * 1000 + r.status) * 100000000 + r.index;
        return data(index, Qt::DisplayRole);
    }
    return {};
}

QVariant CheckResultsModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole) return {};
    static const char* const kHeadings[] = {TrNoop("Health", "Title"), TrNoop("Health", "Link"), TrNoop("Health", "State"),
                                            TrNoop("Health", "Final Address")};
    return section >= 0 && section < ColCount ? QTr("Health", kHeadings[section]) : QVariant();
}

void CheckResultsModel::Append(std::vector<LinkCheckResult> results)
{
    if (results.empty()) return;
    beginInsertRows({}, rowCount(), rowCount() + int(results.size()) - 1);
    for (LinkCheckResult& r : results) {
        m_needingALook += NeedsALook(r.state);
        m_rows.push_back(Row{std::move(r), false, Archive::NotAsked, {}, false});
    }
    endInsertRows();
}

void CheckResultsModel::SetAsking(int row)
{
    m_rows[size_t(row)].archive = Archive::Asking;
    StateChanged(row);
}

void CheckResultsModel::SetCopy(int row, const ArchivedCopy& copy)
{
    m_rows[size_t(row)].archive = Archive::Answered;
    m_rows[size_t(row)].copy = copy;
    StateChanged(row);
}

void CheckResultsModel::SetCopyUsed(int row, bool used)
{
    if (m_rows[size_t(row)].copyUsed == used) return;
    m_rows[size_t(row)].copyUsed = used;
    m_archivesUsed += used ? 1 : -1;
    StateChanged(row);
}

void CheckResultsModel::SetReplaced(int row, bool replaced)
{
    if (m_rows[size_t(row)].replaced == replaced) return;
    m_rows[size_t(row)].replaced = replaced;
    emit dataChanged(index(row, ColState), index(row, ColState));
}

CCheckLinksDlg::CCheckLinksDlg(LinkListHost& host, std::vector<CheckItem> items, std::unique_ptr<HttpFetcher> fetcher,
                               CLinkChecker::Options options, CCountFormatter counts, QWidget* parent)
    : QDialog(parent), m_host(host), m_counts(std::move(counts)), m_items(std::move(items)),
      m_fetcher(std::move(fetcher)), m_checker(*m_fetcher, *this, options), m_model(m_items)
{
    setWindowTitle(QTr("Health", "Check Links"));
    // A window of its own rather than one kept above the main window, so that Select in
    // List can bring the main list forward for Delete.
    setWindowFlags(Qt::Window);
    setModal(false);
    setAttribute(Qt::WA_DeleteOnClose);
    setSizeGripEnabled(true);

    m_status = MakePlain(new QLabel(this));
    m_progress = new QProgressBar(this);
    NameLike(m_progress, QTr("Health", "Links checked"));
    m_progress->setRange(0, int(m_items.size()));
    m_sorted = new QSortFilterProxyModel(this);
    m_sorted->setSourceModel(&m_model);
    m_sorted->setSortRole(Qt::UserRole);
    m_sorted->setSortCaseSensitivity(Qt::CaseInsensitive);
    m_view = new QTableView(this);
    NameLike(m_view, QTr("Health", "Results"));
    m_view->setModel(m_sorted);
    m_view->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_view->setSelectionMode(QAbstractItemView::ExtendedSelection);
    m_view->setSortingEnabled(true);
    m_view->sortByColumn(-1, Qt::AscendingOrder);  // arrival order until a heading is clicked
    m_view->setWordWrap(false);
    m_view->verticalHeader()->hide();
    m_view->verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 6);
    m_view->horizontalHeader()->setStretchLastSection(true);
    const int em = fontMetrics().averageCharWidth();
    m_view->setColumnWidth(CheckResultsModel::ColTitle, em * 28);
    m_view->setColumnWidth(CheckResultsModel::ColLink, em * 32);
    m_view->setColumnWidth(CheckResultsModel::ColState, em * 34);

    m_select = new QPushButton(QTr("Health", "&Select in List"), this);
    m_replace = new QPushButton(QTr("Health", "Use &New Address"), this);
    m_stop = new QPushButton(QTr("Health", "S&top"), this);
    m_findArchived = new QPushButton(QTr("Health", "Find &Archived Copies"), this);
    m_useArchived = new QPushButton(QTr("Health", "&Use Archived Copy"), this);
    m_openArchived = new QPushButton(QTr("Health", "&Open Archived Copy"), this);
    m_findArchived->setToolTip(QTr("Health", "Asks the Internet Archive for the copy of each chosen dead link nearest the day "
                                             "it was saved"));
    m_useArchived->setToolTip(QTr("Health", "Gives the chosen links the address of their archived copy, keeping the old "
                                            "one in the description (Undo takes it back)"));
    m_close = new QPushButton(QTr("Health", "&Close"), this);
    m_select->setToolTip(QTr("Health", "Selects the rows of the chosen results in the main list"));
    m_replace->setToolTip(QTr("Health", "Gives the chosen moved links their new address (Undo takes it back)"));
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(m_select);
    buttons->addWidget(m_replace);
    buttons->addWidget(m_findArchived);
    buttons->addWidget(m_useArchived);
    buttons->addWidget(m_openArchived);
    buttons->addStretch();
    buttons->addWidget(m_stop);
    buttons->addWidget(m_close);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_status);
    layout->addWidget(m_progress);
    layout->addWidget(m_view, 1);
    layout->addLayout(buttons);
    resize(em * 120, fontMetrics().height() * 30);

    connect(m_select, &QPushButton::clicked, this, &CCheckLinksDlg::SelectInList);
    connect(m_replace, &QPushButton::clicked, this, &CCheckLinksDlg::UseNewAddress);
    connect(m_stop, &QPushButton::clicked, this, &CCheckLinksDlg::Stop);
    connect(m_findArchived, &QPushButton::clicked, this, &CCheckLinksDlg::FindArchivedCopies);
    connect(m_useArchived, &QPushButton::clicked, this, &CCheckLinksDlg::UseArchivedCopy);
    connect(m_openArchived, &QPushButton::clicked, this, &CCheckLinksDlg::OpenArchivedCopy);
    m_view->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(m_view, &QWidget::customContextMenuRequested, this, &CCheckLinksDlg::ShowRowMenu);
    connect(m_close, &QPushButton::clicked, this, &QDialog::reject);
    connect(m_view->selectionModel(), &QItemSelectionModel::selectionChanged, this, &CCheckLinksDlg::UpdateButtons);
    connect(m_view, &QTableView::doubleClicked, this, &CCheckLinksDlg::SelectInList);
    // Results are shown a few times a second, so that thousands of quick answers cost
    // one repaint each time rather than one each.
    m_flushTimer.setInterval(100);
    connect(&m_flushTimer, &QTimer::timeout, this, &CCheckLinksDlg::Flush);
    UpdateButtons();
    UpdateStatus();
}

CCheckLinksDlg::~CCheckLinksDlg()
{
    if (m_finder) m_finder->Stop();
    m_checker.Stop();
}

void CCheckLinksDlg::Start()
{
    m_flushTimer.start();
    std::vector<std::string> links;
    links.reserve(m_items.size());
    for (const CheckItem& item : m_items) links.push_back(item.ref.link);
    m_checker.Start(links);
    Flush();
}

void CCheckLinksDlg::Stop()
{
    if (!m_checker.Running()) return;
    m_checker.Stop();
    Flush();
}

void CCheckLinksDlg::done(int result)
{
    // Closing stops every request at once.
    m_checker.Stop();
    if (m_finder) m_finder->Stop();
    m_flushTimer.stop();
    QDialog::done(result);
}

void CCheckLinksDlg::LinkChecked(const LinkCheckResult& result) { m_arrived.push_back(result); }

void CCheckLinksDlg::CheckFinished() { Flush(); }

void CCheckLinksDlg::Flush()
{
    m_model.Append(std::move(m_arrived));
    m_arrived.clear();
    m_progress->setValue(m_checker.Done());
    if (!m_checker.Running()) m_flushTimer.stop();
    UpdateStatus();
    UpdateButtons();
}

void CCheckLinksDlg::UpdateStatus()
{
    const int total = int(m_items.size());
    std::string text;
    if (m_checker.Running())
        text = Fill(Tr("Health", "Checking links: %1 of %2 done."), {m_counts.Format(m_checker.Done()), m_counts.Format(total)});
    else if (m_checker.Done() < m_checker.Total())  // stopped before the end
        text = Fill(m_counts.Plural(total, Tr("Health", "Stopped after %2 of %1 link."), Tr("Health", "Stopped after %2 of %1 links.")),
                    {m_counts.Format(total), m_counts.Format(m_checker.Done())});
    else
        text = m_counts.Plural(total, Tr("Health", "Checked %1 link."), Tr("Health", "Checked %1 links."));
    const int bad = m_model.NeedingALook();
    if (m_model.rowCount() > 0)
        text += m_counts.Plural(bad, Tr("Health", "  %1 link needs a look."), Tr("Health", "  %1 links need a look."));
    m_status->setText(QString::fromStdString(text));
    m_stop->setEnabled(m_checker.Running());
}

int CCheckLinksDlg::ModelRow(int viewRow) const { return m_sorted->mapToSource(m_sorted->index(viewRow, 0)).row(); }

std::vector<int> CCheckLinksDlg::ChosenRows() const
{
    std::vector<int> rows;
    for (const QModelIndex& index : m_view->selectionModel()->selectedRows()) rows.push_back(ModelRow(index.row()));
    std::sort(rows.begin(), rows.end());
    return rows;
}

void CCheckLinksDlg::UpdateButtons()
{
    const std::vector<int> rows = ChosenRows();
    m_select->setEnabled(!rows.empty());
    m_replace->setEnabled(std::any_of(rows.begin(), rows.end(), [this](int row) {
        return m_model.Result(row).state == LinkState::Moved && !m_model.Replaced(row);
    }));
    m_findArchived->setEnabled(!LookingUp() && std::any_of(rows.begin(), rows.end(), [this](int row) {
                                   return IsDeadLink(m_model.Result(row).state) && !m_model.HasCopy(row);
                               }));
    m_useArchived->setEnabled(std::any_of(rows.begin(), rows.end(), [this](int row) {
        return m_model.HasCopy(row) && !m_model.CopyUsed(row);
    }));
    m_openArchived->setEnabled(std::any_of(rows.begin(), rows.end(), [this](int row) { return m_model.HasCopy(row); }));
}

void CCheckLinksDlg::ShowRowMenu(const QPoint& at)
{
    auto* menu = new QMenu(this);
    menu->setAttribute(Qt::WA_DeleteOnClose);
    menu->addAction(QTr("Health", "&Select in List"), this, &CCheckLinksDlg::SelectInList)->setEnabled(m_select->isEnabled());
    menu->addAction(QTr("Health", "Find &Archived Copy"), this, &CCheckLinksDlg::FindArchivedCopies)
        ->setEnabled(m_findArchived->isEnabled());
    menu->addAction(QTr("Health", "&Use Archived Copy"), this, &CCheckLinksDlg::UseArchivedCopy)
        ->setEnabled(m_useArchived->isEnabled());
    menu->addAction(QTr("Health", "&Open Archived Copy"), this, &CCheckLinksDlg::OpenArchivedCopy)
        ->setEnabled(m_openArchived->isEnabled());
    menu->popup(m_view->viewport()->mapToGlobal(at));
}

void CCheckLinksDlg::FindArchivedCopies()
{
    if (LookingUp()) return;
    std::vector<int> rows;
    for (int row : ChosenRows())
        if (IsDeadLink(m_model.Result(row).state) && !m_model.HasCopy(row)) rows.push_back(row);
    if (rows.empty()) return;
    // Nothing leaves the machine without the person's leave. The question comes over the
    // main window; this one comes back in front, with the focus where it was.
    QWidget* focused = focusWidget();
    const bool agreed = m_host.MayAskTheArchive();
    raise();
    activateWindow();
    if (focused) focused->setFocus();
    if (!agreed) return;
    std::vector<CArchiveFinder::Link> links;
    CUnixDates dates;
    for (int row : rows) {
        const CheckItem& item = m_model.Item(row);
        links.push_back({item.ref.link, dates.SecondsOf(item.added)});
        m_model.SetAsking(row);
    }
    m_lookupRows = rows;
    if (m_finder) m_finder->Stop();
    m_finder.reset();
    m_archiveFetcher = m_host.MakeArchiveFetcher();
    m_finder = std::make_unique<CArchiveFinder>(*m_archiveFetcher, static_cast<ArchiveSink&>(*this));
    m_finder->Start(m_host.ArchiveService(), links);
    UpdateButtons();
}

void CCheckLinksDlg::CopyFound(int index, const ArchivedCopy& copy)
{
    if (index >= 0 && size_t(index) < m_lookupRows.size()) m_model.SetCopy(m_lookupRows[size_t(index)], copy);
    UpdateButtons();
}

void CCheckLinksDlg::LookupFinished() { UpdateButtons(); }

void CCheckLinksDlg::UseArchivedCopy()
{
    std::vector<int> rows;
    std::vector<LinkRef> refs;
    std::vector<std::string> copies;
    std::vector<int> chosen = ChosenRows();
    std::sort(chosen.begin(), chosen.end(),
              [this](int a, int b) { return m_model.Result(a).index < m_model.Result(b).index; });
    for (int row : chosen)
        if (m_model.HasCopy(row) && !m_model.CopyUsed(row)) {
            rows.push_back(row);
            refs.push_back(m_model.Item(row).ref);
            copies.push_back(m_model.Copy(row).address);
        }
    if (rows.empty()) return;
    const std::vector<bool> used = m_host.UseArchivedCopies(refs, copies);
    for (size_t i = 0; i < rows.size() && i < used.size(); ++i)
        if (used[i]) {
            m_items[size_t(m_model.Result(rows[i]).index)].ref.link = copies[i];
            m_model.SetCopyUsed(rows[i], true);
        }
    UpdateButtons();
    UpdateStatus();
}

void CCheckLinksDlg::OpenArchivedCopy()
{
    for (int row : ChosenRows())
        if (m_model.HasCopy(row)) m_host.OpenInBrowser(m_model.Copy(row).address);
}

void CCheckLinksDlg::SelectInList()
{
    std::vector<LinkRef> refs;
    for (int row : ChosenRows()) refs.push_back(m_model.Item(row).ref);
    if (!refs.empty()) m_host.SelectLinks(refs);
}

void CCheckLinksDlg::UseNewAddress()
{
    std::vector<int> rows;
    std::vector<LinkRef> refs;
    std::vector<std::string> links;
    // In the list's order, so that Undo takes them back from the last in the list.
    std::vector<int> chosen = ChosenRows();
    std::sort(chosen.begin(), chosen.end(),
              [this](int a, int b) { return m_model.Result(a).index < m_model.Result(b).index; });
    for (int row : chosen)
        if (m_model.Result(row).state == LinkState::Moved && !m_model.Replaced(row)) {
            rows.push_back(row);
            refs.push_back(m_model.Item(row).ref);
            links.push_back(m_model.Result(row).finalAddress);
        }
    if (rows.empty()) return;
    const std::vector<bool> replaced = m_host.ReplaceLinks(refs, links);
    for (size_t i = 0; i < rows.size() && i < replaced.size(); ++i)
        if (replaced[i]) {
            // The record now has the new link; later commands look for it by that.
            m_items[size_t(m_model.Result(rows[i]).index)].ref.link = links[i];
            m_model.SetReplaced(rows[i]);
        }
    UpdateButtons();
}

void CCheckLinksDlg::RecordsChanged()
{
    std::vector<int> rows;
    std::vector<const CAnnotatedLink*> records;
    for (int row = 0; row < m_model.rowCount(); ++row)
        if (m_model.Result(row).state == LinkState::Moved || m_model.HasCopy(row)) {
            rows.push_back(row);
            records.push_back(m_model.Item(row).ref.record);
        }
    if (rows.empty()) return;
    const std::vector<std::optional<std::string>> links = m_host.CurrentLinks(records);
    for (size_t i = 0; i < rows.size() && i < links.size(); ++i) {
        if (!links[i]) continue;  // deleted: nothing to say about it
        const int row = rows[i];
        if (m_model.HasCopy(row)) {
            // Undo gives the record its dead address back, and Redo the copy's again.
            const bool used = *links[i] == m_model.Copy(row).address;
            if (used || m_model.CopyUsed(row)) m_items[size_t(m_model.Result(row).index)].ref.link = *links[i];
            m_model.SetCopyUsed(row, used);
            continue;
        }
        const bool replaced = *links[i] == m_model.Result(row).finalAddress;
        // The reference follows its record back to the old address, and forward again.
        if (replaced || m_model.Replaced(row)) m_items[size_t(m_model.Result(row).index)].ref.link = *links[i];
        m_model.SetReplaced(row, replaced);
    }
    UpdateButtons();
    UpdateStatus();
}
