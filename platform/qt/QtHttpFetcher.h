#pragma once
#include <QNetworkAccessManager>
#include <QObject>
#include <memory>
#include <unordered_map>

#include "platform/HttpFetcher.h"

class QNetworkReply;
class QTimer;

// Finds addresses with Qt's own lookup.
class QtHostResolver : public HostResolver {
public:
    void Resolve(const std::string& host, std::function<void(const std::vector<std::string>&)> done) override;

private:
    QObject m_context;  // answers for a resolver that is gone are dropped with it
};

// Fetches over Qt Network: a GET for the first bytes only, as a browser would ask,
// redirects left to the caller, given up after the timeout. The host's name is looked up
// first and the connection goes to the address that was checked, so that a name cannot
// point elsewhere by the time of the connection. Qt's credential cache is not used: only
// the user name and password written in the address itself are ever sent.
class QtHttpFetcher : public QObject, public HttpFetcher {
    Q_OBJECT
public:
    explicit QtHttpFetcher(QObject* parent = nullptr);
    ~QtHttpFetcher() override;

    void Fetch(int id, const FetchRequest& request) override;
    void Cancel(int id) override;
    // For tests: where names are looked up.
    void SetResolver(std::unique_ptr<HostResolver> resolver) { m_resolver = std::move(resolver); }

private:
    class BodyInflater;
    struct Pending {
        FetchRequest request;
        QNetworkReply* reply = nullptr;
        QTimer* timer = nullptr;
        bool localAddress = false;
        int status = 0;
        std::string location;
        std::string body;
        std::shared_ptr<BodyInflater> inflater;  // for a body sent compressed
    };
    // Takes what has arrived of the body, up to its limit; true once the limit is reached.
    bool TakeBody(Pending& pending);
    void Connect(int id, const std::vector<std::string>& addresses);
    void HeadArrived(int id);
    void BodyArrived(int id);
    void ReplyFinished(int id);
    void TimedOut(int id);
    // Forgets the request and tells the sink how it ended.
    void Report(int id, FetchReply reply);
    void Drop(Pending& pending);

    QNetworkAccessManager m_manager;
    std::unique_ptr<HostResolver> m_resolver;
    std::unordered_map<int, Pending> m_pending;
    int m_generation = 0;  // tells a lookup's answer for a request dropped since
    std::unordered_map<int, int> m_lookups;  // request id -> generation of its lookup
};
