#include "health/LinkCheck.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "health/LinkAddress.h"
#include "platform/Translate.h"

const char* StateName(LinkState state)
{
    switch (state) {
    case LinkState::Ok: return TrNoop("Health", "OK");
    case LinkState::Moved: return TrNoop("Health", "moved permanently");
    case LinkState::NotFound: return TrNoop("Health", "not found");
    case LinkState::Refused: return TrNoop("Health", "refused or forbidden");
    case LinkState::NeedsPassword: return TrNoop("Health", "needs a password");
    case LinkState::RedirectedLocal: return TrNoop("Health", "redirected to a local address (not checked)");
    case LinkState::ServerError: return TrNoop("Health", "server error");
    case LinkState::NoSuchHost: return TrNoop("Health", "no such host");
    case LinkState::TimedOut: return TrNoop("Health", "timed out");
    case LinkState::CouldNotConnect: return TrNoop("Health", "could not connect");
    case LinkState::Other: return TrNoop("Health", "other");
    case LinkState::FileExists: return TrNoop("Health", "exists");
    case LinkState::FileMissing: return TrNoop("Health", "missing");
    case LinkState::FileNotReadable: return TrNoop("Health", "not readable");
    case LinkState::NotChecked: return TrNoop("Health", "not checked");
    }
    return "";
}

std::string StateText(const LinkCheckResult& result)
{
    std::string text = Tr("Health", StateName(result.state));
    if (result.state == LinkState::Other && result.status != 0 && result.note.empty())
        text += " (HTTP " + std::to_string(result.status) + ")";
    else if (!result.note.empty())
        text += " (" + result.note + ")";
    return text;
}

bool NeedsALook(LinkState state)
{
    return state != LinkState::Ok && state != LinkState::FileExists && state != LinkState::NotChecked;
}

bool IsRedirect(int status) { return status == 301 || status == 302 || status == 303 || status == 307 || status == 308; }

LinkState StateOfStatus(int status)
{
    // 416: the first bytes were asked for and the page is empty, so it is there.
    if ((status >= 200 && status < 300) || status == 416) return LinkState::Ok;
    if (status == 404 || status == 410) return LinkState::NotFound;
    if (status == 401 || status == 407) return LinkState::NeedsPassword;
    if (status == 403 || status == 429) return LinkState::Refused;
    if (status >= 500 && status < 600) return LinkState::ServerError;
    return LinkState::Other;
}

LinkCheckResult CheckLocalFile(const std::string& path)
{
    LinkCheckResult result;
    struct stat info {};
    if (!IsPossibleFileName(path)) {
        result.state = LinkState::FileMissing;
        return result;
    }
    if (stat(path.c_str(), &info) != 0) {
        result.state = errno == ENOENT || errno == ENOTDIR ? LinkState::FileMissing : LinkState::FileNotReadable;
        return result;
    }
    // Only asked, never opened: opening a fifo would wait for a writer.
    result.state = access(path.c_str(), R_OK) == 0 ? LinkState::FileExists : LinkState::FileNotReadable;
    if (S_ISDIR(info.st_mode)) result.note = Tr("Health", "a folder");
    return result;
}

CLinkChecker::CLinkChecker(HttpFetcher& fetcher, CheckSink& sink, Options options)
    : m_fetcher(fetcher), m_sink(sink), m_options(options)
{
    if (m_options.jobs < 1) m_options.jobs = 1;
    if (m_options.perHost < 1) m_options.perHost = 1;
    m_fetcher.SetSink(this);
}

CLinkChecker::~CLinkChecker()
{
    Stop();
    m_fetcher.SetSink(nullptr);
}

void CLinkChecker::Start(const std::vector<std::string>& links)
{
    Stop();
    m_total = int(links.size());
    m_done = 0;
    m_running = true;
    for (int i = 0; i < m_total; ++i) {
        const std::string& link = links[size_t(i)];
        switch (KindOfLink(link)) {
        case LinkKind::Web: {
            Item item;
            item.index = i;
            item.url = std::string(link);
            item.host = HostKey(link);
            Queue(std::move(item), false);
            break;
        }
        case LinkKind::LocalFile: {
            LinkCheckResult result = CheckLocalFile(LocalPathOfLink(link));
            result.index = i;
            Report(result);
            break;
        }
        case LinkKind::Other: {
            LinkCheckResult result;
            result.index = i;
            Report(result);
            break;
        }
        }
        if (!m_running) return;
    }
    StartMore();
}

void CLinkChecker::Stop()
{
    for (const auto& [index, item] : m_inFlight) m_fetcher.Cancel(index);
    m_inFlight.clear();
    m_waiting.clear();
    m_hostsWaiting.clear();
    m_busy.clear();
    m_running = false;
}

void CLinkChecker::Queue(Item item, bool front)
{
    std::deque<Item>& queue = m_waiting[item.host];
    if (queue.empty()) {
        if (front)
            m_hostsWaiting.push_front(item.host);
        else
            m_hostsWaiting.push_back(item.host);
    }
    if (front)
        queue.push_front(std::move(item));
    else
        queue.push_back(std::move(item));
}

void CLinkChecker::StartMore()
{
    if (m_starting) return;
    m_starting = true;
    // Hosts take turns; a host at its limit goes to the back. At most jobs / perHost hosts
    // can be at their limit, so a pass finds a host quickly or finds none.
    size_t skipped = 0;
    while (m_running && int(m_inFlight.size()) < m_options.jobs && skipped < m_hostsWaiting.size()) {
        std::string host = std::move(m_hostsWaiting.front());
        m_hostsWaiting.pop_front();
        int& busy = m_busy[host];
        if (busy >= m_options.perHost) {
            m_hostsWaiting.push_back(std::move(host));
            ++skipped;
            continue;
        }
        skipped = 0;
        auto found = m_waiting.find(host);
        Item item = std::move(found->second.front());
        found->second.pop_front();
        if (found->second.empty())
            m_waiting.erase(found);
        else
            m_hostsWaiting.push_back(host);
        ++busy;
        const int id = item.index;
        const std::string url = item.url;
        // A chain of redirects that began at a public address never reaches a local one.
        FetchRequest request;
        request.url = url;
        request.timeoutMs = m_options.timeoutMs;
        request.refuseLocal = item.hops > 0 && item.publicStart;
        request.bodyLimit = m_options.bodyLimit;
        m_inFlight.emplace(id, std::move(item));
        m_fetcher.Fetch(id, request);
    }
    m_starting = false;
    if (m_running && m_inFlight.empty() && m_hostsWaiting.empty() && m_done == m_total) {
        m_running = false;
        m_sink.CheckFinished();
    }
}

void CLinkChecker::Fetched(int id, const FetchReply& reply)
{
    auto found = m_inFlight.find(id);
    if (found == m_inFlight.end()) return;
    Item item = std::move(found->second);
    m_inFlight.erase(found);
    if (--m_busy[item.host] <= 0) m_busy.erase(item.host);

    if (item.hops == 0) item.publicStart = !reply.localAddress;
    LinkCheckResult result;
    result.status = reply.status;
    if (item.hops > 0) result.finalAddress = item.url;
    switch (reply.error) {
    case FetchReply::Error::LocalAddress: result.state = LinkState::RedirectedLocal; break;
    case FetchReply::Error::NoSuchHost: result.state = LinkState::NoSuchHost; break;
    case FetchReply::Error::TimedOut: result.state = LinkState::TimedOut; break;
    case FetchReply::Error::CouldNotConnect: result.state = LinkState::CouldNotConnect; break;
    case FetchReply::Error::Other: result.state = LinkState::Other; break;
    case FetchReply::Error::None: break;
    }
    if (reply.error == FetchReply::Error::LocalAddress) {
        // The state says it all.
    } else if (reply.error != FetchReply::Error::None) {
        result.note = reply.detail;
    } else if (IsRedirect(reply.status) && !reply.location.empty()) {
        if (item.hops >= m_options.maxRedirects) {
            result.state = LinkState::Other;
            result.note = Tr("Health", "too many redirects");
        } else if (KindOfLink(reply.location) != LinkKind::Web) {
            // Only the web is followed: never a javascript: or file: address a server names.
            result.state = LinkState::Other;
            result.note = Tr("Health", "redirected to an address that is not checked");
            result.finalAddress = reply.location;
        } else {
            const bool permanent = reply.status == 301 || reply.status == 308;
            item.permanentSoFar = item.permanentSoFar && permanent;
            if (item.permanentSoFar) item.movedTo = reply.location;
            ++item.hops;
            item.url = reply.location;
            item.host = HostKey(item.url);
            Queue(std::move(item), true);
            StartMore();
            return;
        }
    } else {
        result.state = StateOfStatus(reply.status);
        if (IsRedirect(reply.status)) result.note = Tr("Health", "redirect without an address");
        result.contentType = reply.contentType;
        result.body = reply.body;
        if (result.state == LinkState::Ok && !item.movedTo.empty()) {
            result.state = LinkState::Moved;
            result.finalAddress = item.movedTo;
        }
    }
    Finish(item, std::move(result));
}

void CLinkChecker::Finish(const Item& item, LinkCheckResult result)
{
    result.index = item.index;
    Report(result);
    StartMore();
}

void CLinkChecker::Report(const LinkCheckResult& result)
{
    ++m_done;
    m_sink.LinkChecked(result);
}
