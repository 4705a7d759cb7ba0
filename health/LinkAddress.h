#pragma once
#include <string>
#include <string_view>

// What a link is, for checking it: a web address, a file on this machine, or anything
// else (mailto:, ftp:, a file on another machine, javascript:, a bare word).
enum class LinkKind { Web, LocalFile, Other };

// The parts of an absolute address: scheme://userinfo@host:port/path?query#fragment.
// Each part but the scheme is a view into the link as written (no decoding), valid as
// long as the link is; hasAuthority tells "//" was there.
struct AddressParts {
    std::string scheme;  // lower case
    bool hasAuthority = false;
    std::string_view userInfo;
    std::string_view host;  // an IPv6 literal keeps its brackets
    std::string_view port;
    std::string_view path;
    bool hasQuery = false;
    std::string_view query;
    bool hasFragment = false;
    std::string_view fragment;
};

// Splits an address that begins with a scheme of two or more characters; false for
// anything else ("C:\x" is a file name, not an address).
bool SplitAddress(std::string_view link, AddressParts& parts);

LinkKind KindOfLink(std::string_view link);
// The absolute file name of a local file link ("/x", "C:\x", "file:///x"), cleaned of
// "." and ".." and doubled separators; empty when the link is not one.
std::string LocalPathOfLink(std::string_view link);
// Every "%XX" of a text as the byte it stands for; a '%' without two hex digits stays.
std::string PercentDecoded(std::string_view text);
// False for a file name that no file can have: one holding a NUL byte ("%00" in a link),
// which the system would read cut short, naming another file. Check Links and Launch
// both go by it.
inline bool IsPossibleFileName(std::string_view path) { return path.find('\0') == std::string_view::npos; }
// The link without the user name and password of its address, for showing it.
std::string WithoutUserInfo(std::string_view link);
// The host of a web address as it is looked up: lower case, a non-ASCII name in its
// punycode form, without a final dot; empty when there is none.
std::string HostKey(std::string_view link);

// Two links that point to the same place have the same key: http and https alike, the
// host in lower case without "www.", no default port, "" and "/" alike, no trailing "/",
// the query's parameters sorted without tracking ones, escapes of unreserved characters
// decoded; the fragment counts. Local files compare by their cleaned path. Empty for an
// empty link.
std::string DuplicateKey(std::string_view link);
