#include "platform/qt/QtHttpFetcher.h"

#include <zlib.h>

#include <QHostAddress>
#include <QHostInfo>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QTimer>
#include <QUrl>
#include <algorithm>

#include "health/NetworkAddress.h"
#include "platform/Translate.h"

namespace {

// Some servers turn away anything that does not look like a browser.
const char kUserAgent[] = "Mozilla/5.0 (X11; Linux x86_64; rv:128.0) Gecko/20100101 Firefox/128.0";

FetchReply::Error ErrorOf(QNetworkReply::NetworkError error)
{
    switch (error) {
    case QNetworkReply::HostNotFoundError: return FetchReply::Error::NoSuchHost;
    case QNetworkReply::TimeoutError: return FetchReply::Error::TimedOut;
    case QNetworkReply::ConnectionRefusedError:
    case QNetworkReply::RemoteHostClosedError:
    case QNetworkReply::SslHandshakeFailedError:
    case QNetworkReply::TemporaryNetworkFailureError:
    case QNetworkReply::NetworkSessionFailedError:
    case QNetworkReply::UnknownNetworkError:
    case QNetworkReply::ProxyConnectionRefusedError:
    case QNetworkReply::ProxyConnectionClosedError:
    case QNetworkReply::ProxyNotFoundError:
    case QNetworkReply::ProxyTimeoutError: return FetchReply::Error::CouldNotConnect;
    default: return FetchReply::Error::Other;
    }
}

QUrl UrlOf(const std::string& url)
{
    return QUrl(QString::fromUtf8(url.data(), qsizetype(url.size())).trimmed(), QUrl::TolerantMode);
}

bool IsRedirectStatus(int status) { return status == 301 || status == 302 || status == 303 || status == 307 || status == 308; }

FetchReply Failure(FetchReply::Error error, std::string detail)
{
    FetchReply reply;
    reply.error = error;
    reply.detail = std::move(detail);
    return reply;
}

}  // namespace

void QtHostResolver::Resolve(const std::string& host, std::function<void(const std::vector<std::string>&)> done)
{
    QHostInfo::lookupHost(QString::fromStdString(host), &m_context, [done = std::move(done)](const QHostInfo& info) {
        std::vector<std::string> addresses;
        if (info.error() == QHostInfo::NoError)
            for (const QHostAddress& address : info.addresses()) addresses.push_back(address.toString().toStdString());
        done(addresses);
    });
}

// A body sent compressed, unpacked here only as far as the page is read: Qt's own
// unpacking gives nothing at all of a page that unpacks past its safety bound, even when
// the title comes first, and this bound is the page's.
class QtHttpFetcher::BodyInflater {
public:
    BodyInflater() { m_ok = inflateInit2(&m_stream, 15 + 32) == Z_OK; }  // gzip or zlib, told by its header
    ~BodyInflater() { inflateEnd(&m_stream); }
    BodyInflater(const BodyInflater&) = delete;
    BodyInflater& operator=(const BodyInflater&) = delete;

    // Appends to out what packed unpacks to, up to limit bytes of out in all. False once
    // nothing more is wanted: the limit reached, the stream ended or damaged, or more
    // packed bytes read than any page of the limit's size needs.
    bool Add(const QByteArray& packed, std::string& out, size_t limit)
    {
        m_packed += size_t(packed.size());
        if (!m_ok || m_packed > 64 * limit) return false;
        m_stream.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(packed.constData()));
        m_stream.avail_in = uInt(packed.size());
        while (m_stream.avail_in > 0 && out.size() < limit) {
            const size_t before = out.size();
            out.resize(limit);
            m_stream.next_out = reinterpret_cast<Bytef*>(out.data() + before);
            m_stream.avail_out = uInt(limit - before);
            const int result = inflate(&m_stream, Z_NO_FLUSH);
            out.resize(limit - m_stream.avail_out);
            if (result != Z_OK) {
                m_ok = false;
                break;
            }
        }
        return m_ok && out.size() < limit;
    }

private:
    z_stream m_stream{};
    bool m_ok = false;
    size_t m_packed = 0;
};

QtHttpFetcher::QtHttpFetcher(QObject* parent) : QObject(parent), m_resolver(std::make_unique<QtHostResolver>())
{
    m_manager.setAutoDeleteReplies(false);
}

QtHttpFetcher::~QtHttpFetcher()
{
    for (auto& [id, pending] : m_pending) Drop(pending);
    m_pending.clear();
}

void QtHttpFetcher::Fetch(int id, const FetchRequest& request)
{
    Cancel(id);
    Pending& pending = m_pending[id];
    pending.request = request;
    pending.request.bodyLimit = std::min(request.bodyLimit, kMaxPageBytes);
    // The time allowed covers the lookup of the name too.
    pending.timer = new QTimer(this);
    pending.timer->setSingleShot(true);
    connect(pending.timer, &QTimer::timeout, this, [this, id] { TimedOut(id); });
    pending.timer->start(request.timeoutMs);

    const QUrl url = UrlOf(request.url);
    const int generation = ++m_generation;
    m_lookups[id] = generation;
    const auto answer = [this, id, generation](const std::vector<std::string>& addresses) {
        auto lookup = m_lookups.find(id);
        if (lookup == m_lookups.end() || lookup->second != generation) return;
        m_lookups.erase(lookup);
        Connect(id, addresses);
    };
    // An address written as such needs no lookup, but is answered later all the same.
    if (QHostAddress literal; literal.setAddress(url.host()) || url.host().isEmpty()) {
        const std::vector<std::string> addresses = url.host().isEmpty() ? std::vector<std::string>{}
                                                                        : std::vector<std::string>{url.host().toStdString()};
        QMetaObject::invokeMethod(this, [answer, addresses] { answer(addresses); }, Qt::QueuedConnection);
        return;
    }
    m_resolver->Resolve(url.host().toStdString(), answer);
}

void QtHttpFetcher::Connect(int id, const std::vector<std::string>& addresses)
{
    auto found = m_pending.find(id);
    if (found == m_pending.end()) return;
    Pending& pending = found->second;
    const QUrl original = UrlOf(pending.request.url);
    if (!original.isValid() || original.host().isEmpty()) {
        Report(id, Failure(FetchReply::Error::Other, Tr("Health", "not a web address")));
        return;
    }
    if (addresses.empty()) {
        Report(id, Failure(FetchReply::Error::NoSuchHost, Fill(Tr("Health", "Host %1 not found"), {original.host().toStdString()})));
        return;
    }
    // A name with any local address could be connected to that one: it counts as local.
    const bool local = std::any_of(addresses.begin(), addresses.end(), IsLocalAddress);
    if (pending.request.refuseLocal && local) {
        Report(id, Failure(FetchReply::Error::LocalAddress, Tr("Health", "redirected to a local address")));
        return;
    }
    pending.localAddress = local;
    // The connection goes to the address just checked; the server still sees the name.
    QUrl pinned = original;
    pinned.setHost(QString::fromStdString(addresses.front()));
    // The user name and password of this very address go with this request alone, as its
    // own header; Qt's cache of credentials is never used (so no other request gets them)
    // and a challenge is not answered.
    pinned.setUserInfo(QString());
    QNetworkRequest request(pinned);
    if (!original.userName().isEmpty()) {
        const QByteArray credentials =
            (original.userName(QUrl::FullyDecoded) + ":" + original.password(QUrl::FullyDecoded)).toUtf8();
        request.setRawHeader("Authorization", "Basic " + credentials.toBase64());
    }
    if (pinned.host() != original.host()) {
        QString host = original.host(QUrl::FullyEncoded);
        if (original.port() != -1) host += ":" + QString::number(original.port());
        request.setRawHeader("Host", host.toUtf8());
        request.setPeerVerifyName(original.host());
    }
    request.setAttribute(QNetworkRequest::RedirectPolicyAttribute, QNetworkRequest::ManualRedirectPolicy);
    request.setAttribute(QNetworkRequest::CacheLoadControlAttribute, QNetworkRequest::AlwaysNetwork);
    request.setAttribute(QNetworkRequest::CookieLoadControlAttribute, QNetworkRequest::Manual);
    request.setAttribute(QNetworkRequest::CookieSaveControlAttribute, QNetworkRequest::Manual);
    request.setAttribute(QNetworkRequest::AuthenticationReuseAttribute, QNetworkRequest::Manual);
    request.setHeader(QNetworkRequest::UserAgentHeader, kUserAgent);
    request.setRawHeader("Accept", "text/html,application/xhtml+xml,application/xml;q=0.9,*/*;q=0.8");
    // Asked for here, so that Qt leaves the unpacking to BodyInflater.
    request.setRawHeader("Accept-Encoding", "gzip, deflate");
    const size_t limit = pending.request.bodyLimit;
    request.setRawHeader("Range", limit ? QByteArray("bytes=0-") + QByteArray::number(qulonglong(limit - 1))
                                        : QByteArray("bytes=0-1023"));
    pending.reply = m_manager.get(request);
    pending.reply->setReadBufferSize(qint64(limit ? limit : 4096));
    connect(pending.reply, &QNetworkReply::metaDataChanged, this, [this, id] { HeadArrived(id); });
    connect(pending.reply, &QNetworkReply::readyRead, this, [this, id] { BodyArrived(id); });
    connect(pending.reply, &QNetworkReply::finished, this, [this, id] { ReplyFinished(id); });
}

void QtHttpFetcher::Cancel(int id)
{
    m_lookups.erase(id);
    auto found = m_pending.find(id);
    if (found == m_pending.end()) return;
    Drop(found->second);
    m_pending.erase(found);
}

void QtHttpFetcher::Drop(Pending& pending)
{
    if (pending.timer) {
        pending.timer->disconnect(this);
        pending.timer->deleteLater();
    }
    if (!pending.reply) return;
    pending.reply->disconnect(this);
    // Aborting a reply that has finished makes Qt complain.
    if (!pending.reply->isFinished()) pending.reply->abort();
    pending.reply->deleteLater();
}

void QtHttpFetcher::HeadArrived(int id)
{
    auto found = m_pending.find(id);
    if (found == m_pending.end()) return;
    Pending& pending = found->second;
    QNetworkReply* reply = pending.reply;
    const int status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
    // A challenge for a password is answered by Qt first; its end comes with finished().
    if (status == 0 || status == 401 || status == 407) return;
    pending.status = status;
    // Read raw: the parsed header has no value for a relative address. Resolved against
    // the address as written, not the one connected to.
    const QUrl location(QString::fromUtf8(reply->rawHeader("Location")).trimmed(), QUrl::TolerantMode);
    if (location.isValid() && !location.isEmpty()) {
        QUrl next = UrlOf(pending.request.url).resolved(location);
        // A password goes only to the very address that holds it: a redirect that does not
        // name one itself (a relative one, on the same host) is asked without it.
        if (location.userInfo().isEmpty()) next.setUserInfo(QString());
        pending.location = next.toString(QUrl::FullyEncoded).toStdString();
    }
    const QByteArray encoding = reply->rawHeader("Content-Encoding").trimmed().toLower();
    if (encoding == "gzip" || encoding == "x-gzip" || encoding == "deflate")
        pending.inflater = std::make_shared<BodyInflater>();
    // The body is read only of a page that is there.
    if (pending.request.bodyLimit == 0 || IsRedirectStatus(status) || status < 200 || status >= 300) {
        FetchReply result;
        result.status = status;
        result.location = pending.location;
        Report(id, result);
    }
}

void QtHttpFetcher::BodyArrived(int id)
{
    auto found = m_pending.find(id);
    if (found == m_pending.end() || found->second.status == 0) return;
    Pending& pending = found->second;
    if (!TakeBody(pending)) return;
    FetchReply result;
    result.status = pending.status;
    result.contentType = pending.reply->header(QNetworkRequest::ContentTypeHeader).toString().toStdString();
    result.body = std::move(pending.body);
    Report(id, result);
}

void QtHttpFetcher::ReplyFinished(int id)
{
    auto found = m_pending.find(id);
    if (found == m_pending.end()) return;
    Pending& pending = found->second;
    QNetworkReply* reply = pending.reply;
    FetchReply result;
    result.status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
    if (result.status == 0) {
        result.error = reply->error() == QNetworkReply::NoError ? FetchReply::Error::Other : ErrorOf(reply->error());
        result.detail = reply->errorString().toStdString();
    } else if (pending.status != 0) {
        TakeBody(pending);
        result.contentType = reply->header(QNetworkRequest::ContentTypeHeader).toString().toStdString();
        result.body = std::move(pending.body);
    }
    Report(id, result);
}

bool QtHttpFetcher::TakeBody(Pending& pending)
{
    const size_t limit = pending.request.bodyLimit;
    if (!pending.inflater) {
        pending.body += pending.reply->read(qint64(limit - std::min(limit, pending.body.size()))).toStdString();
        return pending.body.size() >= limit;
    }
    // A compressed body is read in pieces and unpacked until the page is long enough.
    for (;;) {
        const QByteArray packed = pending.reply->read(qint64(limit));
        if (packed.isEmpty()) return false;
        if (!pending.inflater->Add(packed, pending.body, limit)) {
            // Whatever came of it is the page: it has no more to give.
            pending.inflater.reset();
            pending.request.bodyLimit = pending.body.size();
            return true;
        }
    }
}

void QtHttpFetcher::TimedOut(int id) { Report(id, Failure(FetchReply::Error::TimedOut, "")); }

void QtHttpFetcher::Report(int id, FetchReply reply)
{
    auto found = m_pending.find(id);
    if (found != m_pending.end()) reply.localAddress = found->second.localAddress;
    Cancel(id);
    if (m_sink) m_sink->Fetched(id, reply);
}
