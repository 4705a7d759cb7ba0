#pragma once
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "health/LinkCheck.h"

// The Internet Archive's Wayback Machine: where a dead link's page may still be. The
// availability service is asked, through the link check's own fetcher and rules, for the
// copy nearest the day a link was saved.

// The service that is asked unless the settings name another (a test's loopback fake).
constexpr const char* kDefaultArchiveService = "https://archive.org";

// The states of a link whose page is gone: not found or gone, no such host, refused,
// could not connect, timed out.
bool IsDeadLink(LinkState state);

// service + "/wayback/available?url=LINK&timestamp=YYYYMMDD", the link percent-encoded and
// the day that of savedSeconds (since 1970, UTC; none when 0).
std::string AvailabilityAddress(std::string_view service, std::string_view link, int64_t savedSeconds);

// What the service said of one link.
struct ArchivedCopy {
    enum class Found { Copy, None, Failed };
    Found found = Found::Failed;
    std::string address;    // of the snapshot
    std::string timestamp;  // "20130919044612"
    std::string problem;    // why there is no answer, in words
};

// Reads the check's result for an availability address: the answer's JSON
// ({"archived_snapshots": {"closest": {"available": true, "url": ..., "timestamp": ...}}}),
// or what kept it from coming (a timeout, a refused redirect, an answer too large).
ArchivedCopy ReadAvailability(const LinkCheckResult& result);

// "2013-09-19" of a snapshot's "20130919044612"; the timestamp itself when it is not one.
std::string SnapshotDay(std::string_view timestamp);

// The description with "Original link: LINK" as its last line, above a last "Tags: "
// line, which stays last, where tags are kept.
std::string DescriptionWithOriginal(std::string_view description, std::string_view original);

class ArchiveSink {
public:
    virtual ~ArchiveSink() = default;
    virtual void CopyFound(int index, const ArchivedCopy& copy) = 0;
    virtual void LookupFinished() = 0;
};

// Asks the service about several links, a few at a time, with the check's limits; index
// is the place of the link in the list given to Start.
class CArchiveFinder : private CheckSink {
public:
    struct Link {
        std::string address;
        int64_t savedSeconds = 0;
    };
    CArchiveFinder(HttpFetcher& fetcher, ArchiveSink& sink, CLinkChecker::Options options = {});
    void Start(const std::string& service, const std::vector<Link>& links);
    void Stop() { m_checker.Stop(); }
    bool Running() const { return m_checker.Running(); }
    int Done() const { return m_checker.Done(); }

private:
    void LinkChecked(const LinkCheckResult& result) override;
    void CheckFinished() override;
    static CLinkChecker::Options WithBody(CLinkChecker::Options options);

    ArchiveSink& m_sink;
    CLinkChecker m_checker;
};
