#include "health/ArchiveLookup.h"

#include <nlohmann/json.hpp>

#include <cctype>

#include "platform/Translate.h"
#include "store/LinkDate.h"

bool IsDeadLink(LinkState state)
{
    switch (state) {
    case LinkState::NotFound:
    case LinkState::NoSuchHost:
    case LinkState::Refused:
    case LinkState::CouldNotConnect:
    case LinkState::TimedOut: return true;
    default: return false;
    }
}

std::string AvailabilityAddress(std::string_view service, std::string_view link, int64_t savedSeconds)
{
    while (!service.empty() && service.back() == '/') service.remove_suffix(1);
    std::string out(service);
    out += "/wayback/available?url=";
    static const char kHex[] = "0123456789ABCDEF";
    for (char c : link) {
        const auto byte = static_cast<unsigned char>(c);
        if (std::isalnum(byte) || c == '-' || c == '_' || c == '.' || c == '~') {
            out += c;
        } else {
            out += '%';
            out += kHex[byte >> 4];
            out += kHex[byte & 15];
        }
    }
    // "2013-09-15T..." gives the day as the service writes it: 20130915.
    if (const std::string day = FormatIsoTime(savedSeconds); day.size() >= 10)
        out += "&timestamp=" + day.substr(0, 4) + day.substr(5, 2) + day.substr(8, 2);
    return out;
}

ArchivedCopy ReadAvailability(const LinkCheckResult& result)
{
    ArchivedCopy copy;
    if (result.state == LinkState::RedirectedLocal) {
        copy.problem = Tr("Health", "the service sent the question to a local address, which is not asked");
        return copy;
    }
    if (result.state != LinkState::Ok && result.state != LinkState::Moved) {
        copy.problem = StateText(result);
        return copy;
    }
    // The answer is read to the page limit: one that fills it is larger than any answer.
    if (result.body.size() >= kMaxPageBytes) {
        copy.problem = Tr("Health", "the answer is too large");
        return copy;
    }
    const nlohmann::json answer = nlohmann::json::parse(result.body, nullptr, false);
    if (answer.is_discarded() || !answer.is_object()) {
        copy.problem = Tr("Health", "the answer is not the service's");
        return copy;
    }
    const auto snapshots = answer.find("archived_snapshots");
    if (snapshots == answer.end() || !snapshots->is_object()) {
        copy.problem = Tr("Health", "the answer is not the service's");
        return copy;
    }
    const auto closest = snapshots->find("closest");
    if (closest == snapshots->end()) {
        copy.found = ArchivedCopy::Found::None;
        return copy;
    }
    const auto url = closest->find("url");
    const auto available = closest->find("available");
    if (!closest->is_object() || url == closest->end() || !url->is_string()) {
        copy.problem = Tr("Health", "the answer is not the service's");
        return copy;
    }
    if (available != closest->end() && available->is_boolean() && !available->get<bool>()) {
        copy.found = ArchivedCopy::Found::None;
        return copy;
    }
    copy.address = url->get<std::string>();
    // Only a web address is offered: a snapshot is opened in the browser and written into the list.
    if (copy.address.rfind("http://", 0) != 0 && copy.address.rfind("https://", 0) != 0) {
        copy.address.clear();
        copy.problem = Tr("Health", "the answer is not the service's");
        return copy;
    }
    if (const auto stamp = closest->find("timestamp"); stamp != closest->end() && stamp->is_string())
        copy.timestamp = stamp->get<std::string>();
    copy.found = ArchivedCopy::Found::Copy;
    return copy;
}

std::string SnapshotDay(std::string_view timestamp)
{
    if (timestamp.size() < 8 || timestamp.find_first_not_of("0123456789") < 8) return std::string(timestamp);
    return std::string(timestamp.substr(0, 4)) + "-" + std::string(timestamp.substr(4, 2)) + "-" +
           std::string(timestamp.substr(6, 2));
}

std::string DescriptionWithOriginal(std::string_view description, std::string_view original)
{
    const std::string line = "Original link: " + std::string(original);
    if (description.empty()) return line;
    const size_t lastBreak = description.rfind("\r\n");
    const std::string_view last = lastBreak == std::string_view::npos ? description : description.substr(lastBreak + 2);
    if (last.rfind("Tags: ", 0) == 0) {
        const std::string_view before = lastBreak == std::string_view::npos ? std::string_view() : description.substr(0, lastBreak);
        return (before.empty() ? "" : std::string(before) + "\r\n") + line + "\r\n" + std::string(last);
    }
    return std::string(description) + "\r\n" + line;
}

CLinkChecker::Options CArchiveFinder::WithBody(CLinkChecker::Options options)
{
    options.bodyLimit = kMaxPageBytes;
    return options;
}

CArchiveFinder::CArchiveFinder(HttpFetcher& fetcher, ArchiveSink& sink, CLinkChecker::Options options)
    : m_sink(sink), m_checker(fetcher, *this, WithBody(options))
{
}

void CArchiveFinder::Start(const std::string& service, const std::vector<Link>& links)
{
    std::vector<std::string> questions;
    questions.reserve(links.size());
    for (const Link& link : links) questions.push_back(AvailabilityAddress(service, link.address, link.savedSeconds));
    m_checker.Start(questions);
}

void CArchiveFinder::LinkChecked(const LinkCheckResult& result) { m_sink.CopyFound(result.index, ReadAvailability(result)); }

void CArchiveFinder::CheckFinished() { m_sink.LookupFinished(); }
