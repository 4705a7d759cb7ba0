#include "health/LinkAddress.h"

#include <unicode/uidna.h>

#include <algorithm>
#include <vector>

#include "store/CaseFold.h"
#include "store/NaturalCompare.h"

namespace {

bool IsAlpha(char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }
bool IsDigit(char c) { return c >= '0' && c <= '9'; }
char Lower(char c) { return c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c; }

int HexValue(char c)
{
    if (IsDigit(c)) return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

bool IsUnreserved(char c) { return IsAlpha(c) || IsDigit(c) || c == '-' || c == '.' || c == '_' || c == '~'; }

// Escapes of unreserved characters decoded, the others in upper case, blanks escaped.
std::string NormalEscapes(std::string_view s)
{
    static const char kHex[] = "0123456789ABCDEF";
    std::string out;
    out.reserve(s.size());
    for (size_t i = 0; i < s.size(); ++i) {
        const char c = s[i];
        if (c == '%' && i + 2 < s.size() && HexValue(s[i + 1]) >= 0 && HexValue(s[i + 2]) >= 0) {
            const char decoded = char(HexValue(s[i + 1]) * 16 + HexValue(s[i + 2]));
            if (IsUnreserved(decoded)) {
                out += decoded;
            } else {
                out += '%';
                out += kHex[HexValue(s[i + 1])];
                out += kHex[HexValue(s[i + 2])];
            }
            i += 2;
        } else if (c == ' ') {
            out += "%20";
        } else {
            out += c;
        }
    }
    return out;
}


bool IsDrivePath(std::string_view s)
{
    return s.size() >= 3 && IsAlpha(s[0]) && s[1] == ':' && (s[2] == '\\' || s[2] == '/');
}

// "." and ".." resolved and doubled separators removed; a drive path uses '/'.
std::string CleanPath(std::string path)
{
    std::string root;
    if (IsDrivePath(path)) {
        std::replace(path.begin(), path.end(), '\\', '/');
        root = std::string(1, Lower(path[0])) + ":/";
        path.erase(0, 3);
    } else {
        root = "/";
    }
    std::vector<std::string_view> parts;
    std::string_view rest(path);
    while (!rest.empty()) {
        const size_t slash = rest.find('/');
        const std::string_view part = rest.substr(0, slash);
        rest = slash == std::string_view::npos ? std::string_view() : rest.substr(slash + 1);
        if (part.empty() || part == ".") continue;
        if (part == "..") {
            if (!parts.empty()) parts.pop_back();
            continue;
        }
        parts.push_back(part);
    }
    std::string out = root;
    for (size_t i = 0; i < parts.size(); ++i) {
        if (i) out += '/';
        out += parts[i];
    }
    return out;
}

// The port a scheme uses when none is written.
const char* DefaultPort(const std::string& scheme) { return scheme == "https" ? "443" : scheme == "http" ? "80" : ""; }

bool IsTrackingParameter(std::string_view parameter)
{
    const std::string name = LowerAscii(PercentDecoded(parameter.substr(0, parameter.find('='))));
    static const char* const kTracking[] = {"fbclid", "gclid", "mc_cid", "mc_eid", "yclid", "_hsenc", "_hsmi"};
    if (name.compare(0, 4, "utm_") == 0) return true;
    return std::any_of(std::begin(kTracking), std::end(kTracking), [&](const char* t) { return name == t; });
}

}  // namespace

std::string PercentDecoded(std::string_view s)
{
    std::string out;
    out.reserve(s.size());
    for (size_t i = 0; i < s.size(); ++i) {
        if (s[i] == '%' && i + 2 < s.size() && HexValue(s[i + 1]) >= 0 && HexValue(s[i + 2]) >= 0) {
            out += char(HexValue(s[i + 1]) * 16 + HexValue(s[i + 2]));
            i += 2;
        } else {
            out += s[i];
        }
    }
    return out;
}

bool SplitAddress(std::string_view link, AddressParts& parts)
{
    link = TrimView(link);
    size_t colon = 0;
    while (colon < link.size() &&
           (IsAlpha(link[colon]) || (colon > 0 && (IsDigit(link[colon]) || link[colon] == '+' || link[colon] == '-' ||
                                                   link[colon] == '.'))))
        ++colon;
    if (colon < 2 || colon >= link.size() || link[colon] != ':') return false;
    parts = AddressParts{};
    parts.scheme = LowerAscii(link.substr(0, colon));
    std::string_view rest = link.substr(colon + 1);
    if (rest.substr(0, 2) == "//") {
        parts.hasAuthority = true;
        rest.remove_prefix(2);
        const size_t end = std::min(rest.find_first_of("/?#"), rest.size());
        std::string_view authority = rest.substr(0, end);
        rest.remove_prefix(end);
        const size_t at = authority.rfind('@');
        if (at != std::string_view::npos) {
            parts.userInfo = authority.substr(0, at);
            authority.remove_prefix(at + 1);
        }
        size_t hostEnd = authority.size();
        if (!authority.empty() && authority[0] == '[') {
            const size_t close = authority.find(']');
            hostEnd = close == std::string_view::npos ? authority.size() : close + 1;
        } else if (const size_t c = authority.rfind(':'); c != std::string_view::npos) {
            hostEnd = c;
        }
        parts.host = authority.substr(0, hostEnd);
        if (hostEnd < authority.size() && authority[hostEnd] == ':') parts.port = authority.substr(hostEnd + 1);
    }
    const size_t pathEnd = std::min(rest.find_first_of("?#"), rest.size());
    parts.path = rest.substr(0, pathEnd);
    rest.remove_prefix(pathEnd);
    if (!rest.empty() && rest[0] == '?') {
        const size_t queryEnd = std::min(rest.find('#'), rest.size());
        parts.hasQuery = true;
        parts.query = rest.substr(1, queryEnd - 1);
        rest.remove_prefix(queryEnd);
    }
    if (!rest.empty() && rest[0] == '#') {
        parts.hasFragment = true;
        parts.fragment = rest.substr(1);
    }
    return true;
}

namespace {

// The kind of a link that split as an address.
LinkKind KindOfAddress(const AddressParts& parts)
{
    if (parts.scheme == "http" || parts.scheme == "https")
        return parts.hasAuthority && !parts.host.empty() ? LinkKind::Web : LinkKind::Other;
    if (parts.scheme == "file")
        return parts.host.empty() || LowerAscii(parts.host) == "localhost" ? LinkKind::LocalFile : LinkKind::Other;
    return LinkKind::Other;
}

std::string HostKeyOf(const AddressParts& parts)
{
    std::string host = LowerAscii(parts.host);
    if (host.size() > 1 && host.back() == '.') host.pop_back();
    if (std::all_of(host.begin(), host.end(), [](char c) { return (unsigned char)c < 0x80; })) return host;
    UErrorCode status = U_ZERO_ERROR;
    UIDNA* idna = uidna_openUTS46(UIDNA_NONTRANSITIONAL_TO_ASCII, &status);
    if (U_FAILURE(status)) return host;
    std::string ascii(host.size() * 4 + 64, '\0');
    UIDNAInfo info = UIDNA_INFO_INITIALIZER;
    const int32_t length = uidna_nameToASCII_UTF8(idna, host.data(), int32_t(host.size()), ascii.data(),
                                                  int32_t(ascii.size()), &info, &status);
    uidna_close(idna);
    // A name that is no valid host name is compared as written.
    if (U_FAILURE(status) || info.errors != 0) return host;
    ascii.resize(size_t(length));
    return ascii;
}

}  // namespace

LinkKind KindOfLink(std::string_view link)
{
    link = TrimView(link);
    AddressParts parts;
    if (SplitAddress(link, parts)) return KindOfAddress(parts);
#ifdef _WIN32
    if (IsDrivePath(link)) return LinkKind::LocalFile;
#endif
    // "//server/share" is a file on another machine.
    if (!link.empty() && link[0] == '/' && link.substr(0, 2) != "//") return LinkKind::LocalFile;
    return LinkKind::Other;
}

namespace {

// The file name of a local file link, split as an address (file:) or not (a plain path).
std::string LocalPathOf(std::string_view link, const AddressParts* parts)
{
    if (!parts) return std::string(link);
    std::string path = PercentDecoded(parts->path);
    // file:///C:/x names the drive path C:/x.
    if (path.size() >= 4 && path[0] == '/' && IsDrivePath(std::string_view(path).substr(1))) path.erase(0, 1);
    return path.empty() ? "/" : path;
}

}  // namespace

std::string LocalPathOfLink(std::string_view link)
{
    link = TrimView(link);
    AddressParts parts;
    const bool address = SplitAddress(link, parts);
    if ((address ? KindOfAddress(parts) : KindOfLink(link)) != LinkKind::LocalFile) return {};
    return LocalPathOf(link, address ? &parts : nullptr);
}

std::string WithoutUserInfo(std::string_view link)
{
    AddressParts parts;
    if (!SplitAddress(link, parts) || parts.userInfo.empty()) return std::string(link);
    // The view points into the link itself, so its place is known.
    std::string out(link);
    out.erase(size_t(parts.userInfo.data() - link.data()), parts.userInfo.size() + 1);
    return out;
}

std::string HostKey(std::string_view link)
{
    AddressParts parts;
    if (!SplitAddress(link, parts) || parts.host.empty()) return {};
    return HostKeyOf(parts);
}

std::string DuplicateKey(std::string_view link)
{
    link = TrimView(link);
    if (link.empty()) return {};
    AddressParts parts;
    const bool address = SplitAddress(link, parts);
    const LinkKind kind = address ? KindOfAddress(parts) : KindOfLink(link);
    if (kind == LinkKind::LocalFile) return "file:" + CleanPath(LocalPathOf(link, address ? &parts : nullptr));
    if (kind == LinkKind::Other) return address ? parts.scheme + std::string(link.substr(link.find(':'))) : std::string(link);

    std::string host = HostKeyOf(parts);
    if (host.compare(0, 4, "www.") == 0) host.erase(0, 4);
    std::string key = "http://" + host;
    if (!parts.port.empty() && parts.port != DefaultPort(parts.scheme)) {
        key += ':';
        key += parts.port;
    }
    std::string path = NormalEscapes(parts.path);
    while (!path.empty() && path.back() == '/') path.pop_back();
    key += path;
    if (!parts.query.empty()) {
        std::vector<std::string> parameters;
        std::string_view query(parts.query);
        while (!query.empty()) {
            const size_t amp = std::min(query.find('&'), query.size());
            const std::string_view parameter = query.substr(0, amp);
            query.remove_prefix(std::min(amp + 1, query.size()));
            if (!parameter.empty() && !IsTrackingParameter(parameter)) parameters.push_back(NormalEscapes(parameter));
        }
        std::sort(parameters.begin(), parameters.end());
        for (size_t i = 0; i < parameters.size(); ++i) key += (i ? "&" : "?") + parameters[i];
    }
    if (!parts.fragment.empty()) key += "#" + NormalEscapes(parts.fragment);
    return key;
}
