// norvelle-cli check: the state of every link of a data file, as Check Links finds it.
#include <QEventLoop>
#include <ctime>
#include <optional>
#include <ostream>

#include "cli/CliCommands.h"
#include "cli/PlainText.h"
#include "health/ArchiveLookup.h"
#include "health/LinkAddress.h"
#include "platform/qt/QtHttpFetcher.h"
#include "store/DataFile.h"
#include "store/FileIO.h"
#include "store/GuardedWrite.h"
#include "store/LinkStore.h"
#include "store/Utf.h"

namespace {

// Prints the results in row order as soon as every row before them has its own; with
// archived copies to add, once the archive answered too.
class PrintingSink : public CheckSink {
public:
    PrintingSink(const LinkStore& store, std::ostream& out, QEventLoop& loop, bool hold)
        : m_store(store), m_out(out), m_loop(loop), m_hold(hold), m_results(size_t(store.Count()))
    {
    }
    bool allOk = true;
    std::vector<std::optional<LinkCheckResult>>& Results() { return m_results; }

    void LinkChecked(const LinkCheckResult& result) override
    {
        if (NeedsALook(result.state)) allOk = false;
        m_results[size_t(result.index)] = result;
        if (m_hold) return;
        for (; m_next < m_results.size() && m_results[m_next]; ++m_next) Print(*m_results[m_next], "");
        m_out.flush();
    }
    void CheckFinished() override { m_loop.quit(); }
    void Print(const LinkCheckResult& r, const std::string& archived)
    {
        const std::string address = r.finalAddress.empty() ? "-" : PlainText(WithoutUserInfo(r.finalAddress));
        m_out << r.index << '\t' << StateText(r) << '\t' << (r.status ? std::to_string(r.status) : "-") << '\t'
              << address << '\t' << PlainText(m_store.At(r.index).Title());
        if (!archived.empty()) m_out << '\t' << archived;
        m_out << '\n';
    }

private:
    const LinkStore& m_store;
    std::ostream& m_out;
    QEventLoop& m_loop;
    bool m_hold;
    std::vector<std::optional<LinkCheckResult>> m_results;
    size_t m_next = 0;
};

class CopySink : public ArchiveSink {
public:
    CopySink(QEventLoop& loop, size_t count) : copies(count), m_loop(loop) {}
    std::vector<ArchivedCopy> copies;
    void CopyFound(int index, const ArchivedCopy& copy) override { copies[size_t(index)] = copy; }
    void LookupFinished() override { m_loop.quit(); }

private:
    QEventLoop& m_loop;
};

}  // namespace

int CheckCommand(const std::string& dataFile, const CLinkChecker::Options& options, std::ostream& out,
                 std::ostream& err, const ArchiveOptions& archive)
{
    const bool archived = archive.archived || !archive.useArchivedOutput.empty();
    CommandStore holder;
    LinkStore& store = *holder;
    if (const int read = ReadWholeDataFile(dataFile, store, false, err); read != kExitOk) return read;
    std::vector<std::string> links;
    links.reserve(size_t(store.Count()));
    for (int row = 0; row < store.Count(); ++row) links.emplace_back(store.At(row).Link());
    QEventLoop loop;
    QtHttpFetcher fetcher;
    PrintingSink sink(store, out, loop, archived);
    CLinkChecker checker(fetcher, sink, options);
    checker.Start(links);
    if (checker.Running()) loop.exec();
    if (!archived) return sink.allOk ? kExitOk : kExitFailed;

    // The dead links' archived copies, asked of the service with the check's own limits.
    std::vector<int> dead;
    std::vector<CArchiveFinder::Link> asked;
    CUnixDates dates;
    for (int row = 0; row < store.Count(); ++row)
        if (sink.Results()[size_t(row)] && IsDeadLink(sink.Results()[size_t(row)]->state)) {
            dead.push_back(row);
            asked.push_back({std::string(store.At(row).Link()), dates.SecondsOf(store.At(row).Added())});
        }
    QtHttpFetcher archiveFetcher;
    CopySink copies(loop, dead.size());
    CArchiveFinder finder(archiveFetcher, copies, options);
    finder.Start(archive.service, asked);
    if (finder.Running()) loop.exec();
    std::vector<std::string> column(size_t(store.Count()));
    int found = 0;
    for (size_t i = 0; i < dead.size(); ++i) {
        const ArchivedCopy& copy = copies.copies[i];
        std::string& cell = column[size_t(dead[i])];
        if (copy.found == ArchivedCopy::Found::Copy) {
            cell = PlainText(copy.address);
            ++found;
        } else if (copy.found == ArchivedCopy::Found::None) {
            cell = "none";
        } else {
            cell = "unknown";
            err << "norvelle-cli: the archive could not say for row " << dead[i] << ": " << copy.problem << '\n';
        }
    }
    for (int row = 0; row < store.Count(); ++row)
        if (sink.Results()[size_t(row)]) sink.Print(*sink.Results()[size_t(row)], column[size_t(row)]);
    out.flush();
    if (archive.useArchivedOutput.empty()) return sink.allOk ? kExitOk : kExitFailed;

    // The copies applied, as Use Archived Copy does, into another file: the one read stays as it is.
    const CLinkDate now = dates.DateOf(std::time(nullptr));
    for (size_t i = 0; i < dead.size(); ++i) {
        const ArchivedCopy& copy = copies.copies[i];
        if (copy.found != ArchivedCopy::Found::Copy) continue;
        CAnnotatedLink& record = store.Edit(dead[i]);
        const std::string original(record.Link());
        record.SetDescription(DescriptionWithOriginal(record.Description(), original));
        record.SetLink(copy.address);
        record.SetModified(now);
    }
    WritePolicy policy;
    policy.dataFile = true;
    policy.inputs = {dataFile};
    if (!WriteOutputFile(archive.useArchivedOutput, policy, archive.replace, "Could not save annotated links into \"%.259s\".",
                         [&](ByteSink& bytes) { return WriteDataFile(store, bytes); }, err))
        return kExitFailed;
    err << "Used the archived copies of " << found << (found == 1 ? " link.\n" : " links.\n");
    return sink.allOk ? kExitOk : kExitFailed;
}
