#include "platform/qt/QtHttpFetcher.h"

#include <QNetworkReply>
#include <QNetworkRequest>
#include <QTimer>
#include <QUrl>

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

}  // namespace

QtHttpFetcher::QtHttpFetcher(QObject* parent) : QObject(parent)
{
    m_manager.setAutoDeleteReplies(false);
}

QtHttpFetcher::~QtHttpFetcher()
{
    for (auto& [id, pending] : m_pending) Drop(pending);
    m_pending.clear();
}

void QtHttpFetcher::Fetch(int id, const std::string& url, int timeoutMs)
{
    Cancel(id);
    QNetworkRequest request(QUrl(QString::fromUtf8(url.data(), qsizetype(url.size())).trimmed(), QUrl::TolerantMode));
    request.setAttribute(QNetworkRequest::RedirectPolicyAttribute, QNetworkRequest::ManualRedirectPolicy);
    request.setAttribute(QNetworkRequest::CacheLoadControlAttribute, QNetworkRequest::AlwaysNetwork);
    request.setAttribute(QNetworkRequest::CookieSaveControlAttribute, QNetworkRequest::Manual);
    request.setHeader(QNetworkRequest::UserAgentHeader, kUserAgent);
    request.setRawHeader("Accept", "text/html,application/xhtml+xml,application/xml;q=0.9,*/*;q=0.8");
    request.setRawHeader("Range", "bytes=0-1023");
    Pending pending;
    pending.reply = m_manager.get(request);
    pending.reply->setReadBufferSize(4096);
    pending.timer = new QTimer(pending.reply);
    pending.timer->setSingleShot(true);
    connect(pending.reply, &QNetworkReply::metaDataChanged, this, [this, id] { HeadArrived(id); });
    connect(pending.reply, &QNetworkReply::finished, this, [this, id] { ReplyFinished(id); });
    connect(pending.timer, &QTimer::timeout, this, [this, id] { TimedOut(id); });
    pending.timer->start(timeoutMs);
    m_pending[id] = pending;
}

void QtHttpFetcher::Cancel(int id)
{
    auto found = m_pending.find(id);
    if (found == m_pending.end()) return;
    Drop(found->second);
    m_pending.erase(found);
}

void QtHttpFetcher::Drop(Pending& pending)
{
    pending.reply->disconnect(this);
    pending.timer->disconnect(this);
    // Aborting a reply that has finished makes Qt complain.
    if (!pending.reply->isFinished()) pending.reply->abort();
    pending.reply->deleteLater();
}

void QtHttpFetcher::HeadArrived(int id)
{
    auto found = m_pending.find(id);
    if (found == m_pending.end()) return;
    QNetworkReply* reply = found->second.reply;
    const int status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
    // A challenge for a password is answered by Qt first; its end comes with finished().
    if (status == 0 || status == 401 || status == 407) return;
    FetchReply result;
    result.status = status;
    // Read raw: the parsed header has no value for a relative address.
    const QUrl location(QString::fromUtf8(reply->rawHeader("Location")).trimmed(), QUrl::TolerantMode);
    if (location.isValid() && !location.isEmpty())
        result.location = reply->url().resolved(location).toString(QUrl::FullyEncoded).toStdString();
    Report(id, result);
}

void QtHttpFetcher::ReplyFinished(int id)
{
    auto found = m_pending.find(id);
    if (found == m_pending.end()) return;
    QNetworkReply* reply = found->second.reply;
    FetchReply result;
    result.status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
    if (result.status == 0) {
        result.error = reply->error() == QNetworkReply::NoError ? FetchReply::Error::Other : ErrorOf(reply->error());
        result.detail = reply->errorString().toStdString();
    }
    Report(id, result);
}

void QtHttpFetcher::TimedOut(int id)
{
    FetchReply result;
    result.error = FetchReply::Error::TimedOut;
    Report(id, result);
}

void QtHttpFetcher::Report(int id, const FetchReply& reply)
{
    Cancel(id);
    if (m_sink) m_sink->Fetched(id, reply);
}
