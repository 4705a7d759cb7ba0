#pragma once
#include <string>
#include <string_view>
#include <unordered_map>

#include "store/LinkDate.h"

class LinkStore;

// What the browser extension asks of the collection, one message at a time. Every answer
// is JSON: {"ok": true, ...} or {"ok": false, "error": "..."} with a plain message.
struct CaptureRequest {
    enum class Kind { Hello, Lookup, Add, Update, Search, Categories };
    Kind kind = Kind::Hello;
    std::string url, title, description, category;  // lookup, add, update
    std::string query;                              // search
    // An update without a description keeps the stored one: the browser may show it cut.
    bool hasDescription = false;
    bool typos = false;
    int offset = 0;

    bool Changes() const { return kind == Kind::Add || kind == Kind::Update; }
};

// The largest text a field of a message may hold.
constexpr size_t kMaxFieldBytes = 1u << 20;

// Reads a message; false with a plain error when it is not one the host takes: invalid
// JSON or UTF-8, an unknown message, a field too long, an address that is empty or holds
// control characters.
bool ParseCaptureRequest(std::string_view message, CaptureRequest& request, std::string& error);

std::string ErrorAnswer(const std::string& error);
std::string HelloAnswer(const std::string& version, const std::string& dataFile, bool windowOpen);

// The row of the link at the address by Find Duplicates' rule (scheme, "www.", a trailing
// "/", ...), or -1.
int FindByAddress(const LinkStore& store, std::string_view url);
// {"ok": true, "found": false} or the link's title, category, address and Added date.
std::string LookupAnswer(const LinkStore& store, std::string_view url);
std::string LookupAnswerAt(const LinkStore& store, int row);

// The rows by Find Duplicates' key of their addresses, for lookups one after another over
// links that do not change between them (the first row of each key, as FindByAddress).
class CAddressIndex {
public:
    void Build(const LinkStore& store);
    int Find(std::string_view url) const;

private:
    std::unordered_map<std::string, int> m_rows;
};

// Adds the link at the end, or finds it there already (added false); the category joins
// the list. False when there was no memory (nothing changed). row is the link's row.
bool AddCaptured(LinkStore& store, const CaptureRequest& request, const CLinkDate& now, int& row, bool& added);
// Changes the link at the request's address; false (nothing changed) when it is not there.
bool UpdateCaptured(LinkStore& store, const CaptureRequest& request, const CLinkDate& now, int& row);
// {"ok": true, "added": ..., "link": {...}} for the row.
std::string StoredAnswer(const LinkStore& store, int row, bool added);

// One page of the search the window does: title, link and category of each match from
// offset on, as many as fit well under a browser's 1 MB, and the offset of the next page
// (-1 after the last).
std::string SearchAnswer(const LinkStore& store, const CaptureRequest& request);
std::string CategoriesAnswer(const LinkStore& store);
