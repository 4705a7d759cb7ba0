#pragma once
#include <QNetworkAccessManager>
#include <QObject>
#include <unordered_map>

#include "platform/HttpFetcher.h"

class QNetworkReply;
class QTimer;

// Fetches over Qt Network: a GET for the first bytes only, as a browser would ask,
// redirects left to the caller, given up after the timeout. The reply is read up to its
// head and then dropped, so an endless or huge body costs nothing.
class QtHttpFetcher : public QObject, public HttpFetcher {
    Q_OBJECT
public:
    explicit QtHttpFetcher(QObject* parent = nullptr);
    ~QtHttpFetcher() override;

    void Fetch(int id, const std::string& url, int timeoutMs) override;
    void Cancel(int id) override;

private:
    struct Pending {
        QNetworkReply* reply = nullptr;
        QTimer* timer = nullptr;
    };
    void HeadArrived(int id);
    void ReplyFinished(int id);
    void TimedOut(int id);
    // Forgets the request and tells the sink how it ended.
    void Report(int id, const FetchReply& reply);
    void Drop(Pending& pending);

    QNetworkAccessManager m_manager;
    std::unordered_map<int, Pending> m_pending;
};
