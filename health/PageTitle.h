#pragma once
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "health/LinkCheck.h"

// What a page says about itself, as UTF-8 text with entities decoded and white space
// collapsed: its title element (or its og:title) and its description meta tag (or its
// og:description).
struct PageInfo {
    std::string title;
    std::string description;
};

// Reads the beginning of a page. Its character set comes from the Content-Type header,
// else a byte-order mark, else a meta tag, else UTF-8 when the bytes are valid UTF-8 and
// Windows-1252 otherwise; any set the system's converters know is decoded.
PageInfo ReadPageInfo(const std::string& body, const std::string& contentType);

// The outcome for one link of Get Title from Page.
struct PageTitleResult {
    int index = -1;  // of the link in the list given
    bool ok = false;  // the page gave a title or a description
    PageInfo page;
    std::string failure;  // why there is no title, in words, when not ok
};

// Fetches the first 64 KiB of each page with the link check's rules (redirects followed
// the same way, never from a public address into a local one, timeouts, a few requests
// at a time and per host) and reads its title and description.
class CPageTitleFetcher : private CheckSink {
public:
    using Each = std::function<void(const PageTitleResult&)>;
    // Runs `read` wherever the caller likes (the window: on a worker thread) and then
    // `then` with its result back where the fetcher lives. Unset, the page is read at once.
    using ReadAside = std::function<void(std::function<PageInfo()> read, std::function<void(PageInfo)> then)>;
    CPageTitleFetcher(HttpFetcher& fetcher, Each each, std::function<void()> finished,
                      CLinkChecker::Options options = {}, ReadAside readAside = {});
    ~CPageTitleFetcher() override;

    void Start(const std::vector<std::string>& links);
    // Stops fetching; pages still being read are then dropped.
    void Stop();
    int Total() const { return m_checker.Total(); }
    int Done() const { return m_checker.Done() - m_reading; }
    bool Running() const { return m_checker.Running() || m_reading > 0; }

private:
    void LinkChecked(const LinkCheckResult& result) override;
    void CheckFinished() override;
    void Finish();

    Each m_each;
    std::function<void()> m_finished;
    ReadAside m_readAside;
    CLinkChecker m_checker;
    int m_reading = 0;  // pages handed aside whose result has not come back
    bool m_checksDone = false;
    bool m_stopped = false;
};
