#pragma once
#include <deque>
#include <map>
#include <string>
#include <unordered_map>
#include <vector>

#include "platform/HttpFetcher.h"

// What a check found out about one link.
enum class LinkState {
    Ok,               // 2xx
    Moved,            // permanent redirects ending in 2xx; newAddress says where
    NotFound,         // 404, 410
    Refused,          // 403, 429
    NeedsPassword,    // 401, 407: no password, or not the right one
    RedirectedLocal,  // a public address sent the check to a local one, which is not asked
    ServerError,      // 5xx
    NoSuchHost,
    TimedOut,
    CouldNotConnect,
    Other,            // any other answer (status) or failure (note)
    FileExists,
    FileMissing,
    FileNotReadable,
    NotChecked,       // not a web address nor a file on this machine
};

struct LinkCheckResult {
    int index = -1;  // of the link in the list given to the checker
    LinkState state = LinkState::NotChecked;
    int status = 0;             // of the last response, 0 when there was none
    std::string finalAddress;   // where redirects led (for Moved: the new address), as the server
                                // gave it: show it through WithoutUserInfo
    std::string note;           // what went wrong, in words
    // The beginning of the final page, when the checker was asked to read it.
    std::string contentType;
    std::string body;
};

// "OK", "moved permanently", "not found", ...
const char* StateName(LinkState state);
// The state with its status or note: "other (HTTP 418)", "could not connect (...)".
std::string StateText(const LinkCheckResult& result);
// Every state but OK, an existing file and a link that is not checked: what the user
// should look at, and what makes the command-line check fail.
bool NeedsALook(LinkState state);
// The state a final response gives (after any redirects).
LinkState StateOfStatus(int status);
bool IsRedirect(int status);
// Looks at a local file link without reading it (a fifo or a device never blocks).
LinkCheckResult CheckLocalFile(const std::string& path);

class CheckSink {
public:
    virtual ~CheckSink() = default;
    virtual void LinkChecked(const LinkCheckResult& result) = 0;
    // Every link has its result (not called after Stop).
    virtual void CheckFinished() = 0;
};

// Checks a list of links a few at a time, never more than perHost to one host at once,
// following redirects itself so that every hop is counted against its own host.
class CLinkChecker : private FetchSink {
public:
    struct Options {
        int jobs = 6;
        int perHost = 2;
        int timeoutMs = 15000;
        int maxRedirects = 10;
        size_t bodyLimit = 0;  // bytes of each final page to read (at most kMaxPageBytes)
    };

    CLinkChecker(HttpFetcher& fetcher, CheckSink& sink, Options options);
    CLinkChecker(HttpFetcher& fetcher, CheckSink& sink) : CLinkChecker(fetcher, sink, Options{}) {}
    ~CLinkChecker() override;
    CLinkChecker(const CLinkChecker&) = delete;
    CLinkChecker& operator=(const CLinkChecker&) = delete;

    // Local files and links that are not checked are reported at once, web links as
    // their answers arrive.
    void Start(const std::vector<std::string>& links);
    // Drops every request in flight and every link not yet checked, at once.
    void Stop();
    int Total() const { return m_total; }
    int Done() const { return m_done; }
    bool Running() const { return m_running; }

private:
    struct Item {
        int index = -1;
        std::string url;
        std::string host;
        int hops = 0;
        bool publicStart = false;    // the link itself went to a public address
        bool permanentSoFar = true;  // every redirect so far was permanent
        std::string movedTo;
    };

    void Fetched(int id, const FetchReply& reply) override;
    void Queue(Item item, bool front);
    void StartMore();
    void Finish(const Item& item, LinkCheckResult result);
    void Report(const LinkCheckResult& result);

    HttpFetcher& m_fetcher;
    CheckSink& m_sink;
    Options m_options;
    std::map<std::string, std::deque<Item>> m_waiting;  // by host
    std::deque<std::string> m_hostsWaiting;             // hosts with waiting links, in turn
    std::unordered_map<std::string, int> m_busy;        // requests in flight per host
    std::unordered_map<int, Item> m_inFlight;           // by index
    int m_total = 0;
    int m_done = 0;
    bool m_running = false;
    bool m_starting = false;
};
