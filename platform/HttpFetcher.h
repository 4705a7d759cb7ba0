#pragma once
#include <string>

// How one request ended: the status and Location header of the response, or why there
// was none.
struct FetchReply {
    enum class Error { None, NoSuchHost, TimedOut, CouldNotConnect, Other };
    Error error = Error::None;
    int status = 0;
    std::string location;  // absolute, resolved against the request's address
    std::string detail;    // what went wrong, in words, when error is not None
};

class FetchSink {
public:
    virtual ~FetchSink() = default;
    // Called on the thread that started the fetch, never from inside Fetch.
    virtual void Fetched(int id, const FetchReply& reply) = 0;
};

// Asks a web server for an address, without following redirects, reading the response
// head only; tests script it, the program uses Qt Network.
class HttpFetcher {
public:
    virtual ~HttpFetcher() = default;
    void SetSink(FetchSink* sink) { m_sink = sink; }
    virtual void Fetch(int id, const std::string& url, int timeoutMs) = 0;
    // Drops the request; its reply is never reported.
    virtual void Cancel(int id) = 0;

protected:
    FetchSink* m_sink = nullptr;
};
