// Finding the archived copies of 1,000 dead links, asked of a fake of the Internet
// Archive's availability service on the loopback address, with the limits Check Links keeps
// (six at a time, two to one host).
//   bench_archive [LINKS]
#include <QCoreApplication>
#include <QEventLoop>
#include <chrono>
#include <cstdio>
#include <cstdlib>

#include "bench/LoopbackHttpServer.h"
#include "health/ArchiveLookup.h"
#include "platform/qt/QtHttpFetcher.h"

namespace {
class Counter : public ArchiveSink {
public:
    explicit Counter(QEventLoop& loop) : m_loop(loop) {}
    int copies = 0, others = 0;
    void CopyFound(int, const ArchivedCopy& copy) override { (copy.found == ArchivedCopy::Found::Copy ? copies : others)++; }
    void LookupFinished() override { m_loop.quit(); }

private:
    QEventLoop& m_loop;
};
}  // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const int links = argc > 1 ? std::atoi(argv[1]) : 1000;
    LoopbackHttpServer server;
    std::vector<CArchiveFinder::Link> dead;
    for (int i = 0; i < links; ++i)
        dead.push_back({"http://site" + std::to_string(i % 97) + ".example/gone/" + std::to_string(i), 1379246400 + i});
    for (int round = 0; round < 3; ++round) {
        QEventLoop loop;
        QtHttpFetcher fetcher;
        Counter counter(loop);
        CArchiveFinder finder(fetcher, counter);
        const auto start = std::chrono::steady_clock::now();
        finder.Start(server.Url(""), dead);
        if (finder.Running()) loop.exec();
        const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        std::printf("archived copies of %d dead links: %.3f s (%d found, %d not)\n", links, seconds, counter.copies,
                    counter.others);
    }
    return 0;
}
