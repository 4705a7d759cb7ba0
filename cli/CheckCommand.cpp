// norvelle-cli check: the state of every link of a data file, as Check Links finds it.
#include <QEventLoop>
#include <optional>
#include <ostream>

#include "cli/CliCommands.h"
#include "cli/PlainText.h"
#include "health/LinkAddress.h"
#include "platform/qt/QtHttpFetcher.h"
#include "store/LinkStore.h"
#include "store/Utf.h"

namespace {

// Prints the results in row order as soon as every row before them has its own.
class PrintingSink : public CheckSink {
public:
    PrintingSink(const LinkStore& store, std::ostream& out, QEventLoop& loop)
        : m_store(store), m_out(out), m_loop(loop), m_results(size_t(store.Count()))
    {
    }
    bool allOk = true;

    void LinkChecked(const LinkCheckResult& result) override
    {
        if (NeedsALook(result.state)) allOk = false;
        m_results[size_t(result.index)] = result;
        for (; m_next < m_results.size() && m_results[m_next]; ++m_next) Print(*m_results[m_next]);
        m_out.flush();
    }
    void CheckFinished() override { m_loop.quit(); }

private:
    void Print(const LinkCheckResult& r)
    {
        const std::string address = r.finalAddress.empty() ? "-" : PlainText(WithoutUserInfo(r.finalAddress));
        m_out << r.index << '\t' << StateText(r) << '\t' << (r.status ? std::to_string(r.status) : "-") << '\t'
              << address << '\t' << PlainText(m_store.At(r.index).Title()) << '\n';
    }

    const LinkStore& m_store;
    std::ostream& m_out;
    QEventLoop& m_loop;
    std::vector<std::optional<LinkCheckResult>> m_results;
    size_t m_next = 0;
};

}  // namespace

int CheckCommand(const std::string& dataFile, const CLinkChecker::Options& options, std::ostream& out,
                 std::ostream& err)
{
    CommandStore holder;
    LinkStore& store = *holder;
    if (const int read = ReadWholeDataFile(dataFile, store, false, err); read != kExitOk) return read;
    std::vector<std::string> links;
    links.reserve(size_t(store.Count()));
    for (int row = 0; row < store.Count(); ++row) links.emplace_back(store.At(row).Link());
    QEventLoop loop;
    QtHttpFetcher fetcher;
    PrintingSink sink(store, out, loop);
    CLinkChecker checker(fetcher, sink, options);
    checker.Start(links);
    if (checker.Running()) loop.exec();
    return sink.allOk ? kExitOk : kExitFailed;
}
