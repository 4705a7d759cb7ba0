#include "capture/CaptureRequests.h"

#include <nlohmann/json.hpp>

#include "health/LinkAddress.h"
#include "search/RecordSearch.h"
#include "store/LinkStore.h"
#include "store/NaturalCompare.h"
#include "store/Utf.h"

using nlohmann::json;

namespace {

// A page of search results stays far under the browsers' limit, whatever the texts.
constexpr size_t kPageBytes = 512u << 10;
constexpr int kPageLinks = 200;
constexpr size_t kShownDescriptionBytes = 16u << 10;

bool HasControlCharacter(std::string_view text)
{
    for (unsigned char c : text)
        if (c < 0x20 || c == 0x7F) return true;
    return false;
}

// A text field of the message: absent gives empty; false with the error otherwise.
bool TextField(const json& message, const char* name, std::string& value, std::string& error)
{
    value.clear();
    const auto it = message.find(name);
    if (it == message.end() || it->is_null()) return true;
    if (!it->is_string()) {
        error = std::string("\"") + name + "\" must be a text.";
        return false;
    }
    value = it->get<std::string>();
    if (value.size() > kMaxFieldBytes) {
        error = std::string("\"") + name + "\" is longer than 1 MiB.";
        return false;
    }
    if (value.find('\0') != std::string::npos) {
        error = std::string("\"") + name + "\" holds a NUL character.";
        return false;
    }
    return true;
}

json LinkJson(const CAnnotatedLink& record, int row)
{
    return json{{"row", row},
                {"title", std::string(record.Title())},
                {"link", std::string(record.Link())},
                {"category", std::string(record.Category())},
                // Enough of the description to show; an update sends it only when changed.
                {"description", std::string(record.Description().substr(0, Utf8CutPoint(record.Description(), kShownDescriptionBytes)))},
                {"added", FormatLinkDate(record.Added(), DateStyle::List)}};
}

std::string Dump(const json& answer) { return answer.dump(-1, ' ', false, json::error_handler_t::replace); }

}  // namespace

bool ParseCaptureRequest(std::string_view message, CaptureRequest& request, std::string& error)
{
    request = CaptureRequest{};
    if (!IsValidUtf8(message)) {
        error = "The message is not UTF-8 text.";
        return false;
    }
    const json parsed = json::parse(message.begin(), message.end(), nullptr, false);
    if (parsed.is_discarded() || !parsed.is_object()) {
        error = "The message is not a JSON object.";
        return false;
    }
    const auto type = parsed.find("type");
    if (type == parsed.end() || !type->is_string()) {
        error = "The message has no \"type\".";
        return false;
    }
    static const std::pair<const char*, CaptureRequest::Kind> kKinds[] = {
        {"hello", CaptureRequest::Kind::Hello},   {"lookup", CaptureRequest::Kind::Lookup},
        {"add", CaptureRequest::Kind::Add},       {"update", CaptureRequest::Kind::Update},
        {"search", CaptureRequest::Kind::Search}, {"categories", CaptureRequest::Kind::Categories}};
    const std::string name = type->get<std::string>();
    bool known = false;
    for (const auto& [text, kind] : kKinds)
        if (name == text) {
            request.kind = kind;
            known = true;
        }
    if (!known) {
        error = "Unknown message \"" + name.substr(0, 40) + "\".";
        return false;
    }
    if (!TextField(parsed, "url", request.url, error) || !TextField(parsed, "title", request.title, error) ||
        !TextField(parsed, "description", request.description, error) ||
        !TextField(parsed, "category", request.category, error) || !TextField(parsed, "query", request.query, error))
        return false;
    if (request.kind == CaptureRequest::Kind::Lookup || request.Changes()) {
        request.url = std::string(TrimView(request.url));
        if (request.url.empty()) {
            error = "The message has no address (\"url\").";
            return false;
        }
        if (HasControlCharacter(request.url)) {
            error = "The address holds control characters.";
            return false;
        }
    }
    if (const auto description = parsed.find("description"); description != parsed.end() && !description->is_null())
        request.hasDescription = true;
    if (const auto typos = parsed.find("typos"); typos != parsed.end() && typos->is_boolean())
        request.typos = typos->get<bool>();
    if (const auto offset = parsed.find("offset"); offset != parsed.end()) {
        if (!offset->is_number_integer() || offset->get<long long>() < 0 || offset->get<long long>() > INT32_MAX) {
            error = "\"offset\" must be a whole number from 0.";
            return false;
        }
        request.offset = int(offset->get<long long>());
    }
    return true;
}

std::string ErrorAnswer(const std::string& error) { return Dump(json{{"ok", false}, {"error", error}}); }

std::string HelloAnswer(const std::string& version, const std::string& dataFile, bool windowOpen)
{
    return Dump(json{{"ok", true}, {"version", version}, {"dataFile", dataFile}, {"windowOpen", windowOpen}});
}

int FindByAddress(const LinkStore& store, std::string_view url)
{
    const std::string key = DuplicateKey(url);
    if (key.empty()) return -1;
    auto lock = store.Lock();
    for (int row = 0; row < store.Count(); ++row)
        if (DuplicateKey(store.At(row).Link()) == key) return row;
    return -1;
}

std::string LookupAnswer(const LinkStore& store, std::string_view url)
{
    return LookupAnswerAt(store, FindByAddress(store, url));
}

void CAddressIndex::Build(const LinkStore& store)
{
    m_rows.clear();
    auto lock = store.Lock();
    m_rows.reserve(size_t(store.Count()));
    for (int row = 0; row < store.Count(); ++row) {
        std::string key = DuplicateKey(store.At(row).Link());
        if (!key.empty()) m_rows.emplace(std::move(key), row);
    }
}

int CAddressIndex::Find(std::string_view url) const
{
    const std::string key = DuplicateKey(url);
    const auto it = key.empty() ? m_rows.end() : m_rows.find(key);
    return it == m_rows.end() ? -1 : it->second;
}

std::string LookupAnswerAt(const LinkStore& store, int row)
{
    if (row < 0) return Dump(json{{"ok", true}, {"found", false}});
    return Dump(json{{"ok", true}, {"found", true}, {"link", LinkJson(store.At(row), row)}});
}

bool AddCaptured(LinkStore& store, const CaptureRequest& request, const CLinkDate& now, int& row, bool& added)
{
    auto lock = store.Lock();
    row = FindByAddress(store, request.url);
    added = row < 0;
    if (!added) return true;
    const std::string category(TrimView(request.category));
    if (!store.InsertLink(store.Count(), TrimView(request.title), request.url, TrimView(request.description), category,
                          now, now))
        return false;
    store.AddCategoryIfNew(category);
    store.SetChanged();
    row = store.Count() - 1;
    return true;
}

bool UpdateCaptured(LinkStore& store, const CaptureRequest& request, const CLinkDate& now, int& row)
{
    auto lock = store.Lock();
    row = FindByAddress(store, request.url);
    if (row < 0) return false;
    const std::string category(TrimView(request.category));
    CAnnotatedLink& record = store.Edit(row);
    record.SetTitle(TrimView(request.title));
    if (request.hasDescription) record.SetDescription(TrimView(request.description));
    record.SetCategory(category);
    record.SetModified(now);
    store.AddCategoryIfNew(category);
    store.SetChanged();
    return true;
}

std::string StoredAnswer(const LinkStore& store, int row, bool added)
{
    return Dump(json{{"ok", true}, {"added", added}, {"link", LinkJson(store.At(row), row)}});
}

std::string SearchAnswer(const LinkStore& store, const CaptureRequest& request)
{
    SearchOptions options;
    options.allowTypos = request.typos;
    const CRecordSearch search(options, request.query);
    auto lock = store.Lock();
    json links = json::array();
    size_t bytes = 0;
    int next = -1;
    for (int row = request.offset; row < store.Count(); ++row) {
        const CAnnotatedLink& record = store.At(row);
        if (!search.Matches(record)) continue;
        if (int(links.size()) == kPageLinks || bytes > kPageBytes) {
            next = row;
            break;
        }
        // A match's texts are cut for the list: a hostile file's 1 MB title is not a result.
        json link{{"row", row},
                  {"title", std::string(record.Title().substr(0, Utf8CutPoint(record.Title(), 300)))},
                  {"link", std::string(record.Link().substr(0, Utf8CutPoint(record.Link(), 2048)))},
                  {"category", std::string(record.Category().substr(0, Utf8CutPoint(record.Category(), 300)))}};
        bytes += link.dump().size();
        links.push_back(std::move(link));
    }
    return Dump(json{{"ok", true}, {"links", std::move(links)}, {"next", next}});
}

std::string CategoriesAnswer(const LinkStore& store)
{
    auto lock = store.Lock();
    return Dump(json{{"ok", true}, {"categories", store.Categories()}});
}
