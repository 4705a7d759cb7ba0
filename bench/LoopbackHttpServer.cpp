#include "bench/LoopbackHttpServer.h"

#include <zlib.h>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <sys/time.h>
#include <unistd.h>

#include <chrono>
#include <cstring>
#include <functional>
#include <stdexcept>

namespace {

// A page whose title comes first, then 20 MB of blanks, gzip-compressed to about 20 KB:
// more than a page reader unpacks, with the title well within what it reads.
std::string PackedPage()
{
    static const std::string packed = [] {
        const std::string page = "<html><head><title>Packed page</title></head><body>" + std::string(20 << 20, ' ');
        z_stream stream{};
        deflateInit2(&stream, Z_BEST_COMPRESSION, Z_DEFLATED, 15 + 16, 9, Z_DEFAULT_STRATEGY);
        std::string out(deflateBound(&stream, uLong(page.size())), '\0');
        stream.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(page.data()));
        stream.avail_in = uInt(page.size());
        stream.next_out = reinterpret_cast<Bytef*>(out.data());
        stream.avail_out = uInt(out.size());
        deflate(&stream, Z_FINISH);
        out.resize(stream.total_out);
        deflateEnd(&stream);
        return out;
    }();
    return packed;
}


bool SendAll(int fd, const std::string& data)
{
    size_t sent = 0;
    while (sent < data.size()) {
        const ssize_t n = send(fd, data.data() + sent, data.size() - sent, MSG_NOSIGNAL);
        if (n <= 0) return false;
        sent += size_t(n);
    }
    return true;
}

std::string Response(int status, const char* reason, const std::string& extra = {}, const std::string& body = "hello")
{
    return "HTTP/1.1 " + std::to_string(status) + " " + reason + "\r\nContent-Length: " + std::to_string(body.size()) +
           "\r\nConnection: close\r\n" + extra + "\r\n" + body;
}

std::string Redirect(int status, const std::string& to)
{
    return Response(status, "Redirect", "Location: " + to + "\r\n", "");
}

// True once the other end closed the connection (or the server stops).
bool PeerGone(int fd, const std::atomic<bool>& stopping)
{
    if (stopping) return true;
    pollfd p{fd, POLLIN, 0};
    if (poll(&p, 1, 20) <= 0) return false;
    char c;
    return recv(fd, &c, 1, MSG_DONTWAIT) <= 0;
}

}  // namespace

LoopbackHttpServer::LoopbackHttpServer()
{
    m_listen = socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof address;
    if (m_listen < 0 || bind(m_listen, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 ||
        listen(m_listen, 128) != 0 || getsockname(m_listen, reinterpret_cast<sockaddr*>(&address), &length) != 0)
        throw std::runtime_error("cannot listen on the loopback address");
    m_port = ntohs(address.sin_port);
    m_acceptor = std::thread([this] { AcceptLoop(); });
}

LoopbackHttpServer::~LoopbackHttpServer()
{
    m_stopping = true;
    m_acceptor.join();
    for (std::thread& t : m_threads) t.join();
    close(m_listen);
}

std::string LoopbackHttpServer::Url(const std::string& path) const
{
    return "http://127.0.0.1:" + std::to_string(m_port) + path;
}

int LoopbackHttpServer::Requests(const std::string& path) const
{
    std::lock_guard lock(m_mutex);
    auto found = m_requests.find(path);
    return found == m_requests.end() ? 0 : found->second;
}

int LoopbackHttpServer::RequestsWithPassword(const std::string& path) const
{
    std::lock_guard lock(m_mutex);
    auto found = m_withPassword.find(path);
    return found == m_withPassword.end() ? 0 : found->second;
}

std::string LoopbackHttpServer::LastHead() const
{
    std::lock_guard lock(m_mutex);
    return m_lastHead;
}

void LoopbackHttpServer::AcceptLoop()
{
    while (!m_stopping) {
        pollfd p{m_listen, POLLIN, 0};
        if (poll(&p, 1, 20) <= 0) continue;
        const int fd = accept(m_listen, nullptr, nullptr);
        if (fd < 0) continue;
        std::lock_guard lock(m_mutex);
        m_threads.emplace_back([this, fd] {
            Serve(fd);
            close(fd);
        });
    }
}

void LoopbackHttpServer::Serve(int fd)
{
    // A client that stops reading must not hold the server when it stops.
    timeval limit{0, 200000};
    setsockopt(fd, SOL_SOCKET, SO_SNDTIMEO, &limit, sizeof limit);
    std::string head;
    char buffer[2048];
    while (head.find("\r\n\r\n") == std::string::npos && head.size() < 65536) {
        pollfd p{fd, POLLIN, 0};
        if (m_stopping) return;
        if (poll(&p, 1, 20) <= 0) continue;
        const ssize_t n = recv(fd, buffer, sizeof buffer, 0);
        if (n <= 0) return;
        head.append(buffer, size_t(n));
    }
    const size_t start = head.find(' ') + 1;
    std::string path = head.substr(start, head.find(' ', start) - start);
    path = path.substr(0, path.find('?'));
    {
        std::lock_guard lock(m_mutex);
        ++m_requests[path];
        if (head.find("\r\nAuthorization:") != std::string::npos) ++m_withPassword[path];
        m_lastHead = head;
    }
    ++m_total;
    const int now = ++m_concurrent;
    for (int seen = m_maxConcurrent; now > seen && !m_maxConcurrent.compare_exchange_weak(seen, now);) {
    }
    // A request stops counting before its answer goes out: once the client has the answer
    // it may ask again, and that request must not find this one still counted.
    bool counted = true;
    const auto reply = [&](const std::string& response) {
        if (counted) --m_concurrent;
        counted = false;
        SendAll(fd, response);
    };
    Answer(fd, path, head, reply);
    if (counted) --m_concurrent;
}

void LoopbackHttpServer::Answer(int fd, const std::string& path, const std::string& head,
                                const std::function<void(const std::string&)>& reply)
{
    if (path == "/ok") reply(Response(200, "OK"));
    else if (path == "/partial")
        reply(head.find("Range: bytes=0-1023") != std::string::npos
                        ? Response(206, "Partial Content", "Content-Range: bytes 0-4/5\r\n")
                        : Response(200, "OK"));
    else if (path == "/empty") reply(Response(416, "Range Not Satisfiable", {}, ""));
    else if (path == "/gone") reply(Response(410, "Gone"));
    else if (path == "/forbidden") reply(Response(403, "Forbidden"));
    else if (path == "/auth") reply(Response(401, "Unauthorized", "WWW-Authenticate: Basic realm=\"test\"\r\n"));
    else if (path == "/private" || path == "/private2") {
        // carol:pw3
        reply(head.find("Authorization: Basic Y2Fyb2w6cHcz\r\n") != std::string::npos
                  ? Response(200, "OK")
                  : Response(401, "Unauthorized", "WWW-Authenticate: Basic realm=\"private\"\r\n"));
    } else if (path == "/private-elsewhere")
        reply(Redirect(301, "http://localhost:" + std::to_string(m_port) + "/private"));
    else if (path == "/busy") reply(Response(429, "Too Many Requests"));
    else if (path == "/error") reply(Response(500, "Internal Server Error"));
    else if (path == "/teapot") reply(Response(418, "I'm a teapot"));
    else if (path == "/moved") reply(Redirect(301, Url("/ok")));
    else if (path == "/moved308") reply(Redirect(308, Url("/moved")));
    else if (path == "/temporary") reply(Redirect(302, Url("/ok")));
    else if (path == "/movedtemp") reply(Redirect(301, Url("/temporary")));
    else if (path == "/relative") reply(Redirect(301, "ok"));
    else if (path == "/loop") reply(Redirect(301, Url("/loop")));
    else if (path == "/nolocation") reply(Response(301, "Moved Permanently", {}, ""));
    else if (path == "/tojs") reply(Redirect(302, "javascript:alert(1)"));
    else if (path == "/page")
        reply(Response(200, "OK", "Content-Type: text/html; charset=ISO-8859-1\r\n",
                       "<!DOCTYPE html><html><head><title>\n  Caf\xE9 &amp; Cr&egrave;me &ndash; menu\n</title>"
                       "<meta name=\"description\" content=\"Today's   dishes\"></head><body>x</body></html>"));
    else if (path == "/page-cyrillic")
        reply(Response(200, "OK", "Content-Type: text/html\r\n",
                       "<html><head><meta charset=\"windows-1251\"><meta property=\"og:title\" content=\"og\">"
                       "<title>\xCF\xF0\xE8\xE2\xE5\xF2</title></head></html>"));
    else if (path.rfind("/n/", 0) == 0)
        reply(Response(200, "OK", "Content-Type: text/html\r\n",
                       "<html><head><title>Page " + path.substr(3) + "</title></head></html>"));
    else if (path == "/packed")
        reply(Response(200, "OK", "Content-Type: text/html\r\nContent-Encoding: gzip\r\n", PackedPage()));
    else if (path == "/notitle") reply(Response(200, "OK", "Content-Type: text/html\r\n", "<html><body>none</body></html>"));
    else if (path == "/movedpage") reply(Redirect(301, Url("/page")));
    else if (path == "/wayback/available") {
        // A fake of the Internet Archive's availability service, by what the link asked about holds.
        const size_t start = head.find('?');
        const std::string query = head.substr(start + 1, head.find(' ', start) - start - 1);
        const size_t at = query.find("url=");
        const std::string link = at == std::string::npos ? "" : query.substr(at + 4, query.find('&', at) - at - 4);
        const size_t stampAt = query.find("timestamp=");
        const std::string stamp = stampAt == std::string::npos ? "20130919" : query.substr(stampAt + 10, 8);
        if (link.find("nocopy") != std::string::npos)
            reply(Response(200, "OK", "Content-Type: application/json\r\n", "{\"url\": \"x\", \"archived_snapshots\": {}}"));
        else if (link.find("badanswer") != std::string::npos)
            reply(Response(200, "OK", {}, "<html>Service Unavailable</html>"));
        else if (link.find("hugeanswer") != std::string::npos)
            reply(Response(200, "OK", {}, "{\"archived_snapshots\": {\"closest\": {\"url\": \"" + std::string(100000, 'x') + "\"}}}"));
        else if (link.find("slowanswer") != std::string::npos)
            while (!PeerGone(fd, m_stopping)) {
            }
        else
            reply(Response(200, "OK", "Content-Type: application/json\r\n",
                           "{\"url\": \"" + link + "\", \"archived_snapshots\": {\"closest\": {\"status\": \"200\", "
                           "\"available\": true, \"url\": \"http://127.0.0.1:" + std::to_string(m_port) + "/web/" + stamp +
                           "120000/" + link + "\", \"timestamp\": \"" + stamp + "120000\"}}}"));
    } else if (path == "/silent") {
        while (!PeerGone(fd, m_stopping)) {
        }
    } else if (path == "/endless" || path == "/huge") {
        std::string start = "HTTP/1.1 200 OK\r\nConnection: close\r\n";
        if (path == "/huge") start += "Content-Length: 1073741824\r\n";
        const std::string chunk(16384, 'x');
        if (!::SendAll(fd, start + "\r\n")) return;
        while (!m_stopping && ::SendAll(fd, chunk)) {
        }
    } else if (path.compare(0, 6, "/delay") == 0) {
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
        reply(Response(200, "OK"));
    } else reply(Response(404, "Not Found"));
}
