// Find Duplicates over 100,000 links, and a check of 1,000 links against a web server on
// the loopback address that answers at once. Prints the times.
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <cstdio>

#include "bench/DataGen.h"
#include "bench/LoopbackHttpServer.h"
#include "health/DuplicateFinder.h"
#include "health/LinkCheck.h"
#include "platform/qt/QtHttpFetcher.h"
#include "store/LinkStore.h"

namespace {

struct QuitWhenDone : CheckSink {
    QEventLoop loop;
    int ok = 0;
    void LinkChecked(const LinkCheckResult& r) override { ok += r.state == LinkState::Ok; }
    void CheckFinished() override { loop.quit(); }
};

}  // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    LinkStore store;
    GenerateLinks(store, 100000);
    // One link in ten is another spelling of an earlier one.
    for (int row = 0; row < store.Count(); row += 10) {
        store.Edit(row).SetLink(std::string(store.At(row / 2).Link()) + (row % 20 ? "/" : "?utm_source=feed"));
    }
    QElapsedTimer clock;
    double best = 1e9;
    size_t groups = 0;
    for (int run = 0; run < 5; ++run) {
        clock.start();
        groups = FindDuplicates(store).size();
        best = std::min(best, clock.nsecsElapsed() / 1e6);
    }
    std::printf("Find Duplicates, 100,000 links (%zu groups): %.1f ms (target 300 ms)\n", groups, best);

    LoopbackHttpServer server;
    std::vector<std::string> links;
    for (int i = 0; i < 1000; ++i) links.push_back(server.Url("/ok?" + std::to_string(i)));
    QtHttpFetcher fetcher;
    QuitWhenDone sink;
    CLinkChecker checker(fetcher, sink);
    clock.start();
    checker.Start(links);
    if (checker.Running()) sink.loop.exec();
    std::printf("Check Links, 1,000 links to one local server (%d OK): %.2f s (target 10 s)\n", sink.ok,
                clock.nsecsElapsed() / 1e9);
    return 0;
}
