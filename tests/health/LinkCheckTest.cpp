#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <fstream>
#include <deque>
#include <map>
#include <set>

#include "health/LinkAddress.h"
#include "health/ArchiveLookup.h"
#include "health/LinkCheck.h"
#include "health/PageTitle.h"
#include "health/NetworkAddress.h"
#include "tests/health/CheckExpectations.h"
#include "tests/support/TempFolder.h"

namespace {

// Answers from a script, when the test says so; counts what is in flight.
class ScriptedFetcher : public HttpFetcher {
public:
    std::map<std::string, FetchReply> script;  // by address; unknown ones get 404
    std::map<int, std::string> inFlight;
    std::deque<int> order;  // of the requests, oldest first
    std::vector<std::string> fetched;
    std::vector<int> cancelled;
    size_t maxInFlight = 0;
    std::map<std::string, int> maxPerHost;
    int lastTimeout = 0;
    std::set<size_t> bodyLimits;  // of every request

    std::set<std::string> localHosts;  // names and addresses on the person's own network
    std::vector<std::string> refusedLocal;  // addresses that were asked with local ones refused

    void Fetch(int id, const FetchRequest& request) override
    {
        const std::string& url = request.url;
        const int timeoutMs = request.timeoutMs;
        if (request.refuseLocal) refusedLocal.push_back(url);
        inFlight[id] = url;
        order.push_back(id);
        fetched.push_back(url);
        lastTimeout = timeoutMs;
        bodyLimits.insert(request.bodyLimit);
        maxInFlight = std::max(maxInFlight, inFlight.size());
        std::map<std::string, int> perHost;
        for (const auto& [i, u] : inFlight) ++perHost[HostKey(u)];
        for (const auto& [host, n] : perHost) maxPerHost[host] = std::max(maxPerHost[host], n);
    }
    void Cancel(int id) override
    {
        cancelled.push_back(id);
        inFlight.erase(id);
    }
    // Answers the oldest request in flight; false when there is none.
    bool AnswerOne()
    {
        std::erase_if(order, [this](int id) { return !inFlight.count(id); });
        if (order.empty()) return false;
        const int id = order.front();
        order.pop_front();
        const std::string url = inFlight[id];
        inFlight.erase(id);
        auto found = script.find(url);
        FetchReply reply;
        if (found != script.end()) reply = found->second;
        else reply.status = 404;
        reply.localAddress = localHosts.count(HostKey(url)) > 0;
        // As the real fetcher does: a local address is refused before any connection.
        if (reply.localAddress && std::find(refusedLocal.begin(), refusedLocal.end(), url) != refusedLocal.end()) {
            reply = FetchReply{};
            reply.error = FetchReply::Error::LocalAddress;
            reply.localAddress = true;
        }
        m_sink->Fetched(id, reply);
        return true;
    }
    void AnswerAll()
    {
        while (AnswerOne()) {
        }
    }
};

using Collector = CheckCollector;

FetchReply Status(int status, const std::string& location = {})
{
    FetchReply r;
    r.status = status;
    r.location = location;
    return r;
}

FetchReply Failure(FetchReply::Error error, const std::string& detail = {})
{
    FetchReply r;
    r.error = error;
    r.detail = detail;
    return r;
}

}  // namespace

TEST(LinkCheck, EachAnswerGivesItsStateAndRedirectChainsAreFollowed)
{
    ScriptedFetcher fetcher;
    const std::string h = "http://h.example";
    fetcher.script = {
        {h + "/ok", Status(200)},
        {h + "/partial", Status(206)},
        {h + "/empty", Status(416)},
        {h + "/missing", Status(404)},
        {h + "/gone", Status(410)},
        {h + "/auth", Status(401)},
        {h + "/proxyauth", Status(407)},
        {h + "/forbidden", Status(403)},
        {h + "/busy", Status(429)},
        {h + "/error", Status(503)},
        {h + "/teapot", Status(418)},
        {h + "/moved", Status(301, h + "/ok")},
        {h + "/chain", Status(308, "https://new.example/moved")},
        {"https://new.example/moved", Status(301, h + "/ok")},
        {h + "/temporary", Status(302, h + "/ok")},
        {h + "/movedtemp", Status(301, h + "/temporary")},
        {h + "/tempmoved", Status(307, h + "/moved")},
        {h + "/movedgone", Status(301, h + "/gone")},
        {h + "/loop", Status(301, h + "/loop")},
        {h + "/tojs", Status(302, "javascript:alert(1)")},
        {h + "/nolocation", Status(301)},
        {"http://nohost.example/", Failure(FetchReply::Error::NoSuchHost)},
        {"http://slow.example/", Failure(FetchReply::Error::TimedOut)},
        {"http://closed.example/", Failure(FetchReply::Error::CouldNotConnect, "Connection refused")},
    };
    const std::vector<ExpectedCheck> expected = {
        {h + "/ok", LinkState::Ok, 200, ""},
        {h + "/partial", LinkState::Ok, 206, ""},
        {h + "/empty", LinkState::Ok, 416, ""},
        {h + "/missing", LinkState::NotFound, 404, ""},
        {h + "/gone", LinkState::NotFound, 410, ""},
        {h + "/auth", LinkState::NeedsPassword, 401, ""},
        {h + "/proxyauth", LinkState::NeedsPassword, 407, ""},
        {h + "/forbidden", LinkState::Refused, 403, ""},
        {h + "/busy", LinkState::Refused, 429, ""},
        {h + "/error", LinkState::ServerError, 503, ""},
        {h + "/teapot", LinkState::Other, 418, ""},
        {h + "/moved", LinkState::Moved, 200, h + "/ok"},
        {h + "/chain", LinkState::Moved, 200, h + "/ok"},
        {h + "/temporary", LinkState::Ok, 200, h + "/ok"},
        // Only the permanent part of a chain is the new address.
        {h + "/movedtemp", LinkState::Moved, 200, h + "/temporary"},
        {h + "/tempmoved", LinkState::Ok, 200, h + "/ok"},
        {h + "/movedgone", LinkState::NotFound, 410, h + "/gone"},
        {h + "/loop", LinkState::Other, 301, h + "/loop"},
        {h + "/tojs", LinkState::Other, 302, "javascript:alert(1)"},
        {h + "/nolocation", LinkState::Other, 301, ""},
        {"http://nohost.example/", LinkState::NoSuchHost, 0, ""},
        {"http://slow.example/", LinkState::TimedOut, 0, ""},
        {"http://closed.example/", LinkState::CouldNotConnect, 0, ""},
        {"mailto:a@b.c", LinkState::NotChecked, 0, ""},
        {"javascript:alert(1)", LinkState::NotChecked, 0, ""},
        {"file://server/share/x", LinkState::NotChecked, 0, ""},
        {"/no/such/file/anywhere", LinkState::FileMissing, 0, ""},
    };
    const std::vector<std::string> links = LinksOf(expected);
    Collector sink;
    CLinkChecker checker(fetcher, sink);
    checker.Start(links);
    fetcher.AnswerAll();
    EXPECT_EQ(sink.finished, 1);
    EXPECT_FALSE(checker.Running());
    EXPECT_EQ(checker.Done(), int(links.size()));
    ExpectResults(sink.results, expected);
    // A loop stops after ten redirects; javascript: is never fetched.
    EXPECT_EQ(std::count(fetcher.fetched.begin(), fetcher.fetched.end(), h + "/loop"), 11);
    EXPECT_EQ(std::count(fetcher.fetched.begin(), fetcher.fetched.end(), "javascript:alert(1)"), 0);
    EXPECT_EQ(StateText(sink.results[10]), "other (HTTP 418)");
    EXPECT_EQ(StateText(sink.results[17]), "other (too many redirects)");
    EXPECT_EQ(StateText(sink.results[22]), "could not connect (Connection refused)");
    EXPECT_EQ(StateText(sink.results[5]), "needs a password");
    EXPECT_EQ(fetcher.lastTimeout, 15000);
}

TEST(LinkCheck, JobsAndThePerHostLimitAreKeptAndStopDropsEverything)
{
    ScriptedFetcher fetcher;
    std::vector<std::string> links;
    for (int i = 0; i < 10000; ++i) links.push_back("http://one.example/" + std::to_string(i));
    for (int i = 0; i < 20; ++i) links.push_back("http://host" + std::to_string(i) + ".example/");
    // Redirects to a busy host wait for their turn there.
    for (int i = 0; i < 10; ++i) {
        const std::string from = "http://hop" + std::to_string(i) + ".example/";
        links.push_back(from);
        fetcher.script[from] = Status(301, "http://one.example/0");
    }
    Collector sink;
    CLinkChecker checker(fetcher, sink, {6, 2, 1000, 10});
    checker.Start(links);
    EXPECT_EQ(fetcher.inFlight.size(), 6u);  // hosts take turns from the start
    fetcher.AnswerAll();
    EXPECT_EQ(sink.finished, 1);
    EXPECT_EQ(int(sink.results.size()), int(links.size()));
    EXPECT_EQ(fetcher.maxInFlight, 6u);
    for (const auto& [host, n] : fetcher.maxPerHost) EXPECT_LE(n, 2) << host;
    EXPECT_EQ(fetcher.maxPerHost["one.example"], 2);

    // Stop: the requests in flight are cancelled and nothing more is asked or reported.
    ScriptedFetcher second;
    Collector stopped;
    CLinkChecker stopping(second, stopped);
    stopping.Start(links);
    second.AnswerOne();
    const size_t asked = second.fetched.size();
    stopping.Stop();
    EXPECT_TRUE(second.inFlight.empty());
    EXPECT_EQ(second.cancelled.size(), 6u);
    EXPECT_FALSE(second.AnswerOne());
    EXPECT_EQ(second.fetched.size(), asked);
    EXPECT_EQ(stopped.results.size(), 1u);
    EXPECT_EQ(stopped.finished, 0);
    EXPECT_FALSE(stopping.Running());

    // Nothing to fetch: finished at once.
    ScriptedFetcher none;
    Collector empty;
    CLinkChecker quick(none, empty);
    quick.Start({});
    EXPECT_EQ(empty.finished, 1);
}

TEST(LinkCheck, LocalFilesAreLookedAtWithoutBeingRead)
{
    TempFolder temp;
    auto at = [&](const char* name) { return (temp.path / name).string(); };
    const std::string file = at("a b.txt");
    std::ofstream(file) << "x";
    const std::string fifo = at("pipe");
    ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
    const std::string locked = at("locked");
    std::ofstream(locked) << "x";
    chmod(locked.c_str(), 0);
    const std::pair<std::string, LinkState> cases[] = {
        {file, LinkState::FileExists},
        {"file://" + at("a%20b.txt"), LinkState::FileExists},
        {temp.path.string(), LinkState::FileExists},  // a folder
        {fifo, LinkState::FileExists},           // opening it would wait for a writer
        {"/dev/zero", LinkState::FileExists},
        {at("nothing"), LinkState::FileMissing},
        {file + "/below", LinkState::FileMissing},
        {"file://" + file + "%00.pdf", LinkState::FileMissing},  // names no file, as Launch says too
        {locked, geteuid() == 0 ? LinkState::FileExists : LinkState::FileNotReadable},
    };
    ScriptedFetcher fetcher;
    Collector sink;
    CLinkChecker checker(fetcher, sink);
    std::vector<std::string> links;
    for (const auto& c : cases) links.push_back(c.first);
    checker.Start(links);
    EXPECT_EQ(sink.finished, 1);
    for (size_t i = 0; i < links.size(); ++i) EXPECT_EQ(sink.results[int(i)].state, cases[i].second) << links[i];
    EXPECT_EQ(StateText(sink.results[2]), "exists (a folder)");
    EXPECT_TRUE(fetcher.fetched.empty());
}

TEST(LinkCheck, ARedirectFromAPublicAddressNeverReachesTheLocalNetwork)
{
    ScriptedFetcher fetcher;
    fetcher.localHosts = {"router.lan", "127.0.0.1", "10.0.0.7"};
    fetcher.script = {
        {"https://public.example/a", Status(302, "http://router.lan/admin")},
        {"https://public.example/b", Status(301, "https://public.example/c")},
        {"https://public.example/c", Status(301, "http://10.0.0.7/")},
        {"https://public.example/d", Status(301, "https://public.example/ok")},
        {"https://public.example/ok", Status(200)},
        // A link that is itself local is checked as before, redirects and all.
        {"http://router.lan/", Status(301, "http://127.0.0.1/status")},
        {"http://127.0.0.1/status", Status(200)},
    };
    const std::vector<ExpectedCheck> expected = {
        {"https://public.example/a", LinkState::RedirectedLocal, 0, "http://router.lan/admin"},
        {"https://public.example/b", LinkState::RedirectedLocal, 0, "http://10.0.0.7/"},
        {"https://public.example/d", LinkState::Moved, 200, "https://public.example/ok"},
        {"http://router.lan/", LinkState::Moved, 200, "http://127.0.0.1/status"},
    };
    Collector sink;
    CLinkChecker checker(fetcher, sink);
    checker.Start(LinksOf(expected));
    fetcher.AnswerAll();
    ExpectResults(sink.results, expected);
    EXPECT_EQ(StateText(sink.results[0]), "redirected to a local address (not checked)");
    EXPECT_TRUE(NeedsALook(LinkState::RedirectedLocal));
    // Every hop after a public start is asked with local addresses refused; the first never.
    std::sort(fetcher.refusedLocal.begin(), fetcher.refusedLocal.end());
    EXPECT_EQ(fetcher.refusedLocal, (std::vector<std::string>{"http://10.0.0.7/", "http://router.lan/admin",
                                                              "https://public.example/c", "https://public.example/ok"}));
}

TEST(LinkCheck, GetTitleFollowsTheSameRulesAndReadsOnlyThePagesBeginning)
{
    ScriptedFetcher fetcher;
    fetcher.localHosts = {"router.lan"};
    FetchReply page = Status(200);
    page.contentType = "text/html; charset=utf-8";
    page.body = "<title>Home &amp; away</title><meta name=description content=Notes>";
    FetchReply untitled = Status(200);
    untitled.body = "<p>nothing";
    fetcher.script = {{"https://public.example/a", Status(302, "http://router.lan/admin")},
                      {"https://public.example/b", Status(301, "https://public.example/page")},
                      {"https://public.example/page", page},
                      {"https://public.example/plain", untitled}};
    std::vector<PageTitleResult> results;
    bool finished = false;
    CPageTitleFetcher titles(fetcher, [&](const PageTitleResult& r) { results.push_back(r); }, [&] { finished = true; });
    titles.Start({"https://public.example/a", "https://public.example/b", "mailto:a@b.c", "https://public.example/plain",
                  "https://public.example/gone"});
    fetcher.AnswerAll();
    ASSERT_TRUE(finished);
    std::sort(results.begin(), results.end(), [](const auto& x, const auto& y) { return x.index < y.index; });
    ASSERT_EQ(results.size(), 5u);
    EXPECT_EQ(results[0].failure, "redirected to a local address (not checked)");
    EXPECT_TRUE(results[1].ok);
    EXPECT_EQ(results[1].page.title, "Home & away");
    EXPECT_EQ(results[1].page.description, "Notes");
    EXPECT_EQ(results[2].failure, "not a web address");
    EXPECT_EQ(results[3].failure, "the page has no title");
    EXPECT_EQ(results[4].failure, "not found");
    EXPECT_EQ(fetcher.bodyLimits, std::set<size_t>{kMaxPageBytes});
}

TEST(LinkCheck, GetTitleReadsPagesAsideAndEndsOnlyWhenEveryReadIsBack)
{
    ScriptedFetcher fetcher;
    FetchReply page = Status(200);
    page.body = "<title>Aside</title>";
    fetcher.script = {{"https://public.example/a", page}, {"https://public.example/b", page}};
    std::vector<std::pair<std::function<PageInfo()>, std::function<void(PageInfo)>>> aside;
    for (const bool stop : {false, true}) {
        SCOPED_TRACE(stop ? "stopped while reading" : "read to the end");
        std::vector<PageTitleResult> results;
        bool finished = false;
        aside.clear();
        CPageTitleFetcher titles(
            fetcher, [&](const PageTitleResult& r) { results.push_back(r); }, [&] { finished = true; }, {},
            [&](auto read, auto then) { aside.emplace_back(std::move(read), std::move(then)); });
        titles.Start({"https://public.example/a", "https://public.example/b"});
        fetcher.AnswerAll();
        ASSERT_EQ(aside.size(), 2u);
        EXPECT_TRUE(results.empty());
        EXPECT_FALSE(finished);
        EXPECT_TRUE(titles.Running());
        aside[0].second(aside[0].first());
        if (stop) titles.Stop();
        aside[1].second(aside[1].first());
        EXPECT_EQ(results.size(), 1u + !stop);
        EXPECT_EQ(finished, !stop);
        EXPECT_FALSE(titles.Running());
        EXPECT_EQ(results.front().page.title, "Aside");
    }
}

TEST(LinkCheck, LocalAddressesAreTheMachineAndItsOwnNetwork)
{
    for (const char* local : {"127.0.0.1", "127.8.9.10", "10.1.2.3", "172.16.0.1", "172.31.255.255", "192.168.1.1",
                              "169.254.169.254", "0.0.0.0", "::1", "::", "fc00::1", "fd12:3456::1", "fe80::1",
                              "fe80::1%eth0", "[::1]", "::ffff:127.0.0.1", "::ffff:192.168.0.1", "not an address",
                              // shared, testing, protocol, multicast, reserved and broadcast ranges
                              "100.64.0.1", "100.127.255.254", "198.18.0.1", "198.19.255.255", "192.0.0.8",
                              "224.0.0.1", "239.255.255.250", "240.0.0.1", "255.255.255.255",
                              // a private IPv4 address inside an IPv6 one, and IPv6's own ranges
                              "::127.0.0.1", "::10.0.0.1", "64:ff9b::10.0.0.1", "64:ff9b::7f00:1", "64:ff9b:1::1",
                              "2002:0a00:0001::1", "2002:c0a8:0101::", "fec0::1", "ff02::1"})
        EXPECT_TRUE(IsLocalAddress(local)) << local;
    for (const char* open : {"8.8.8.8", "172.15.0.1", "172.32.0.1", "192.169.1.1", "169.253.0.1", "11.0.0.1",
                             "100.63.255.255", "100.128.0.1", "198.17.0.1", "198.20.0.1", "192.0.1.1", "223.255.255.255",
                             "2001:db8::1", "2606:4700::1111", "::ffff:8.8.8.8", "::8.8.8.8", "64:ff9b::8.8.8.8",
                             "2002:0808:0808::1"})
        EXPECT_FALSE(IsLocalAddress(open)) << open;
}

// The archive's question and the reading of its answer, and a service whose redirect
// leads into the person's own network, which is refused as Check Links refuses it.
TEST(ArchiveLookup, QuestionsAnswersAndARedirectIntoThePrivateNetwork)
{
    EXPECT_EQ(AvailabilityAddress("https://archive.org/", "http://a.example/x y?z=1&w", 1379246400),
              "https://archive.org/wayback/available?url=http%3A%2F%2Fa.example%2Fx%20y%3Fz%3D1%26w&timestamp=20130915");
    EXPECT_EQ(AvailabilityAddress("https://archive.org", "https://b.example/", 0),
              "https://archive.org/wayback/available?url=https%3A%2F%2Fb.example%2F");

    auto answer = [](const std::string& body, LinkState state = LinkState::Ok) {
        LinkCheckResult result;
        result.state = state;
        result.body = body;
        return ReadAvailability(result);
    };
    const std::string closest = R"({"archived_snapshots": {"closest": {"available": true, "status": "200",
        "url": "http://web.archive.org/web/20130919044612/http://example.com/", "timestamp": "20130919044612"}}})";
    EXPECT_EQ(answer(closest).found, ArchivedCopy::Found::Copy);
    EXPECT_EQ(answer(closest).address, "http://web.archive.org/web/20130919044612/http://example.com/");
    EXPECT_EQ(SnapshotDay(answer(closest).timestamp), "2013-09-19");
    EXPECT_EQ(answer(R"({"url": "x", "archived_snapshots": {}})").found, ArchivedCopy::Found::None);
    EXPECT_EQ(answer(R"({"archived_snapshots": {"closest": {"available": false, "url": "http://x/"}}})").found,
              ArchivedCopy::Found::None);
    for (const char* bad : {"", "not json", "[]", R"({"archived_snapshots": 3})",
                            R"j({"archived_snapshots": {"closest": {"url": "javascript:alert(1)"}}})j"})
        EXPECT_EQ(answer(bad).problem, "the answer is not the service's") << bad;
    EXPECT_EQ(answer(std::string(kMaxPageBytes, ' ')).problem, "the answer is too large");
    EXPECT_EQ(answer("", LinkState::RedirectedLocal).problem,
              "the service sent the question to a local address, which is not asked");

    EXPECT_EQ(DescriptionWithOriginal("", "http://a/"), "Original link: http://a/");
    EXPECT_EQ(DescriptionWithOriginal("Note", "http://a/"), "Note\r\nOriginal link: http://a/");
    EXPECT_EQ(DescriptionWithOriginal("Note\r\nTags: x, y", "http://a/"), "Note\r\nOriginal link: http://a/\r\nTags: x, y");
    EXPECT_EQ(DescriptionWithOriginal("Tags: x", "http://a/"), "Original link: http://a/\r\nTags: x");

    // The public service redirects the question to an address of the person's network.
    ScriptedFetcher fetcher;
    const std::string asked = AvailabilityAddress("https://archive.example", "http://dead.example/", 0);
    fetcher.script[asked] = Status(302, "http://192.168.1.1/wayback");
    fetcher.localHosts = {HostKey("http://192.168.1.1/wayback")};
    struct Copies : ArchiveSink {
        std::vector<ArchivedCopy> found;
        void CopyFound(int, const ArchivedCopy& copy) override { found.push_back(copy); }
        void LookupFinished() override {}
    } sink;
    CArchiveFinder finder(fetcher, sink);
    finder.Start("https://archive.example", {{"http://dead.example/", 0}});
    fetcher.AnswerAll();
    ASSERT_EQ(sink.found.size(), 1u);
    EXPECT_EQ(sink.found[0].found, ArchivedCopy::Found::Failed);
    EXPECT_EQ(sink.found[0].problem, "the service sent the question to a local address, which is not asked");
    EXPECT_EQ(fetcher.bodyLimits, (std::set<size_t>{kMaxPageBytes}));
}
