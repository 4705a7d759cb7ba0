#pragma once
#include <cstddef>
#include <functional>
#include <string>
#include <vector>

// The most of a page's body that is ever read (for its title): the first 64 KiB.
constexpr size_t kMaxPageBytes = 64 * 1024;

// One request: the address, how long to wait, whether the connection must stay off this
// machine and its network, and how much of the body to read.
struct FetchRequest {
    std::string url;
    int timeoutMs = 15000;
    // The address the name resolves to must not be local (the chain of redirects began
    // at a public address): such a request is refused before any connection.
    bool refuseLocal = false;
    // Bytes of the body to read (0: the head only); at most kMaxPageBytes.
    size_t bodyLimit = 0;
};

// How one request ended: the status and Location header of the response, or why there
// was none.
struct FetchReply {
    enum class Error { None, NoSuchHost, TimedOut, CouldNotConnect, LocalAddress, Other };
    Error error = Error::None;
    int status = 0;
    std::string location;     // absolute, resolved against the request's address
    std::string detail;       // what went wrong, in words, when error is not None
    bool localAddress = false;  // the address connected to is local (see IsLocalAddress)
    std::string contentType;  // of the body, as the server named it
    std::string body;         // the first bodyLimit bytes at most
};

class FetchSink {
public:
    virtual ~FetchSink() = default;
    // Called on the thread that started the fetch, never from inside Fetch.
    virtual void Fetched(int id, const FetchReply& reply) = 0;
};

// Finds the addresses of a host name; tests give names addresses of their choosing.
class HostResolver {
public:
    virtual ~HostResolver() = default;
    // done is called later on the same thread with the addresses as text (none when the
    // name is unknown).
    virtual void Resolve(const std::string& host, std::function<void(const std::vector<std::string>&)> done) = 0;
};

// Asks a web server for an address, without following redirects, with no cookies and no
// password but the one in the address itself; tests script it, the program uses Qt Network.
class HttpFetcher {
public:
    virtual ~HttpFetcher() = default;
    void SetSink(FetchSink* sink) { m_sink = sink; }
    virtual void Fetch(int id, const FetchRequest& request) = 0;
    // Drops the request; its reply is never reported.
    virtual void Cancel(int id) = 0;

protected:
    FetchSink* m_sink = nullptr;
};
