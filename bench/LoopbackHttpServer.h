#pragma once
#include <atomic>
#include <functional>
#include <map>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

// A small web server on 127.0.0.1 for the link check's tests and benchmark: no network
// beyond the loopback. Each path gives one kind of answer:
//   /ok 200, /partial 206 (200 without a Range), /empty 416, /missing 404, /gone 410,
//   /forbidden 403, /auth 401 (asks for a password), /busy 429, /error 500, /teapot 418,
//   /private and /private2 200 with carol's password (carol:pw3), 401 without,
//   /private-elsewhere 301 to /private on "localhost" (another origin),
//   /moved 301 to /ok, /moved308 308 to /moved, /temporary 302 to /ok,
//   /movedtemp 301 to /temporary, /relative 301 to "ok", /loop 301 to itself,
//   /nolocation 301 without an address, /tojs 302 to a javascript: address,
//   /page 200 with a Latin-1 title and a description, /page-cyrillic 200 with a title in
//   the Windows-1251 its meta tag names, /notitle 200 without a title, /movedpage 301 to /page,
//   /packed 200 with a gzip body that unpacks to 20 MB, its title first,
//   /silent never answers, /endless 200 with a body that never ends, /huge 200 that
//   announces 1 GB, /delay... 200 after 100 ms, /wayback/available the Internet Archive's
//   availability service (no copy for a link holding "nocopy", not JSON for "badanswer",
//   100 KB for "hugeanswer", no answer for "slowanswer", a copy on the asked day for
//   any other); anything else 404.
class LoopbackHttpServer {
public:
    LoopbackHttpServer();
    ~LoopbackHttpServer();
    int Port() const { return m_port; }
    // "http://127.0.0.1:PORT" + path.
    std::string Url(const std::string& path) const;
    int Requests(const std::string& path) const;
    // Requests to path that carried a password (an Authorization header).
    int RequestsWithPassword(const std::string& path) const;
    int TotalRequests() const { return m_total; }
    // The most requests that were being answered at one time.
    int MaxConcurrent() const { return m_maxConcurrent; }
    // Requests being answered now.
    int Concurrent() const { return m_concurrent; }
    // The head of the last request, as received.
    std::string LastHead() const;

private:
    void AcceptLoop();
    void Serve(int fd);
    // reply hands over the complete answer (a stream of its own is written to fd directly).
    void Answer(int fd, const std::string& path, const std::string& head,
                const std::function<void(const std::string&)>& reply);

    int m_listen = -1;
    int m_port = 0;
    std::atomic<bool> m_stopping{false};
    std::atomic<int> m_total{0};
    std::atomic<int> m_concurrent{0};
    std::atomic<int> m_maxConcurrent{0};
    mutable std::mutex m_mutex;
    std::map<std::string, int> m_requests;
    std::map<std::string, int> m_withPassword;
    std::string m_lastHead;
    std::vector<std::thread> m_threads;
    std::thread m_acceptor;
};
