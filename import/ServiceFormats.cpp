#include "import/ServiceFormats.h"

#include <nlohmann/json.hpp>

#include <algorithm>
#include <cstdio>
#include <memory>
#include <cctype>
#include <vector>

#include "import/CsvReader.h"
#include "store/CaseFold.h"
#include "store/LinkDate.h"
#include "store/NaturalCompare.h"
#include "store/Utf.h"

namespace {

bool Has(const std::vector<std::string>& cells, std::string_view name)
{
    return std::find(cells.begin(), cells.end(), name) != cells.end();
}

// "https://a.example | A" and "https://a.example" alone are OneTab's lines.
bool IsOneTabLine(std::string_view line)
{
    size_t i = 0;
    while (i < line.size() && (std::isalnum(static_cast<unsigned char>(line[i])) || line[i] == '+' || line[i] == '-' ||
                               line[i] == '.'))
        ++i;
    return i > 0 && line.substr(i, 3) == "://" && line.find(" | ") != std::string_view::npos;
}

// "name" as a key of a JSON object: followed by a colon.
bool HasKey(std::string_view json, std::string_view name)
{
    const std::string quoted = "\"" + std::string(name) + "\"";
    for (size_t at = json.find(quoted); at != std::string_view::npos; at = json.find(quoted, at + 1)) {
        size_t after = at + quoted.size();
        while (after < json.size() && (json[after] == ' ' || json[after] == '\t' || json[after] == '\r' || json[after] == '\n'))
            ++after;
        if (after < json.size() && json[after] == ':') return true;
    }
    return false;
}

}  // namespace

ServiceFormat ServiceFormatOf(std::string_view head)
{
    if (head.substr(0, 3) == "\xEF\xBB\xBF") head.remove_prefix(3);
    const std::string_view start = TrimView(head);
    if (start.empty()) return ServiceFormat::None;
    const std::string lower = LowerAscii(start.substr(0, 1 << 16));
    if (start.front() == '<') {
        if (lower.find("<!-- norvelle links") == 0) return ServiceFormat::NorvelleMarkdown;
        if (lower.find("<xbel") != std::string::npos) return ServiceFormat::Xbel;
        if (lower.find("<title>pocket export</title>") != std::string::npos) return ServiceFormat::PocketHtml;
        return ServiceFormat::None;
    }
    if (start.front() == '[' || start.front() == '{') {
        // Keys, not values: a title "roots" does not make a file Chromium's.
        if (HasKey(lower, "norvelle-links") && lower.find("\"norvelle-links\"") < 16) return ServiceFormat::NorvelleJson;
        // Chromium's own store is an object with "roots"; it has a reader of its own.
        if (HasKey(lower, "roots")) return ServiceFormat::None;
        if (HasKey(lower, "is_archived")) return ServiceFormat::WallabagJson;
        if (HasKey(lower, "href") && (HasKey(lower, "extended") || HasKey(lower, "toread"))) return ServiceFormat::PinboardJson;
        return ServiceFormat::None;
    }
    const std::string_view firstLine = start.substr(0, start.find_first_of("\r\n"));
    const std::vector<std::string> cells = CsvCells(LowerAscii(firstLine));
    if (cells.size() >= 4 && cells[0] == "title" && cells[1] == "link" && Has(cells, "category") && Has(cells, "added"))
        return ServiceFormat::NorvelleCsv;
    if (Has(cells, "url") && Has(cells, "title") && Has(cells, "time_added")) return ServiceFormat::PocketCsv;
    if (Has(cells, "url") && Has(cells, "title") && Has(cells, "excerpt") && Has(cells, "folder"))
        return ServiceFormat::RaindropCsv;
    if (!cells.empty() && cells[0] == "url" && Has(cells, "title") && Has(cells, "selection"))
        return ServiceFormat::InstapaperCsv;
    if (IsOneTabLine(firstLine)) return ServiceFormat::OneTabText;
    return ServiceFormat::None;
}

const char* ServiceFormatName(ServiceFormat format)
{
    switch (format) {
    case ServiceFormat::None: return "";
    case ServiceFormat::PocketCsv: return "Pocket CSV";
    case ServiceFormat::PocketHtml: return "Pocket HTML";
    case ServiceFormat::PinboardJson: return "Pinboard JSON";
    case ServiceFormat::RaindropCsv: return "Raindrop.io CSV";
    case ServiceFormat::InstapaperCsv: return "Instapaper CSV";
    case ServiceFormat::WallabagJson: return "Wallabag JSON";
    case ServiceFormat::OneTabText: return "OneTab";
    case ServiceFormat::Xbel: return "XBEL";
    case ServiceFormat::NorvelleCsv: return "CSV";
    case ServiceFormat::NorvelleJson: return "JSON";
    case ServiceFormat::NorvelleMarkdown: return "Markdown";
    }
    return "";
}

namespace {

// The links of a file, all read before any is taken.
struct Reading {
    std::vector<ImportedLink> links;
    bool cut = false;
    bool folded = false;
    int empty = 0;
    std::string error;
    // A long file is read with Stop: every so many entries, the import hears how far it is.
    ReadProgress goOn;
    bool stopped = false;
    uint64_t steps = 0;
    bool GoOn(uint64_t done, uint64_t total)
    {
        if ((++steps & 1023) == 0 && goOn && !goOn(done, total)) stopped = true;
        return !stopped;
    }

    // A link as the store keeps its texts; one with neither a title nor an address is left out.
    void Add(ImportedLink link)
    {
        link.title = BoundedText(std::move(link.title), cut);
        link.link = BoundedText(std::string(TrimView(link.link)), cut);
        link.description = BoundedText(std::move(link.description), cut);
        link.category = BoundedText(std::move(link.category), cut);
        for (std::string& tag : link.tags) tag = BoundedText(std::move(tag), cut);
        if (link.title.empty() && link.link.empty()) {
            ++empty;
            return;
        }
        links.push_back(std::move(link));
    }
    bool Fail(std::string text)
    {
        error = std::move(text);
        return false;
    }
};

std::string JoinParagraphs(std::string_view a, std::string_view b)
{
    const std::string_view x = TrimView(a), y = TrimView(b);
    if (x.empty()) return WithCrLf(y);
    if (y.empty()) return WithCrLf(x);
    return WithCrLf(x) + "\r\n" + WithCrLf(y);
}

std::vector<std::string> SplitOn(std::string_view text, char separator)
{
    std::vector<std::string> out;
    size_t from = 0;
    while (from <= text.size()) {
        size_t at = text.find(separator, from);
        if (at == std::string_view::npos) at = text.size();
        const std::string_view part = TrimView(text.substr(from, at - from));
        if (!part.empty()) out.emplace_back(part);
        from = at + 1;
    }
    return out;
}

void AddUnread(std::vector<std::string>& tags)
{
    if (std::find(tags.begin(), tags.end(), "unread") == tags.end()) tags.push_back("unread");
}

// A count of seconds, or an ISO time; a cell that is neither is a fault of the file.
bool TimeCell(std::string_view cell, int64_t& seconds)
{
    cell = TrimView(cell);
    seconds = 0;
    if (cell.empty()) return true;
    if (std::all_of(cell.begin(), cell.end(), [](char c) { return c >= '0' && c <= '9'; })) {
        if (cell.size() > 12) return false;
        seconds = std::stoll(std::string(cell));
        // Milliseconds, as some exports give them.
        if (seconds > 100000000000LL) seconds /= 1000;
        return true;
    }
    return ParseIsoTime(cell, seconds);
}

// CSV with a heading row: each row's cells by the heading's names.
bool ReadCsv(ServiceFormat format, std::string_view text, Reading& out)
{
    CCsvReader reader(text, kMaxImportedField);
    std::vector<std::string> heading, cells;
    if (!reader.Next(heading)) return out.Fail(reader.Error().empty() ? "it is empty" : reader.Error());
    for (std::string& name : heading) name = LowerAscii(TrimView(name));
    auto column = [&](std::string_view name) {
        const auto it = std::find(heading.begin(), heading.end(), name);
        return it == heading.end() ? -1 : int(it - heading.begin());
    };
    auto cell = [&](int index) -> std::string {
        return index >= 0 && size_t(index) < cells.size() ? cells[size_t(index)] : std::string();
    };
    const int title = column("title"), url = column(format == ServiceFormat::NorvelleCsv ? "link" : "url");
    const int tags = column("tags"), folder = column(format == ServiceFormat::NorvelleCsv ? "category" : "folder");
    while (reader.Next(cells)) {
        if (!out.GoOn(reader.Offset(), text.size())) return true;
        if (cells.size() == 1 && TrimView(cells[0]).empty()) continue;  // a blank line
        const std::string where = "line " + std::to_string(reader.Line()) + ": ";
        ImportedLink link;
        link.title = cell(title);
        link.link = cell(url);
        std::string when;
        switch (format) {
        case ServiceFormat::PocketCsv:
            link.tags = SplitOn(cell(tags), '|');
            when = cell(column("time_added"));
            if (LowerAscii(TrimView(cell(column("status")))) == "unread") AddUnread(link.tags);
            break;
        case ServiceFormat::RaindropCsv: {
            link.description = JoinParagraphs(cell(column("note")), cell(column("excerpt")));
            link.tags = SplitOn(cell(tags), ',');
            std::vector<std::string> folders = SplitOn(cell(folder), '/');
            if (folders.size() > kMaxFolderLevels) {
                folders.resize(kMaxFolderLevels);
                out.folded = true;
            }
            link.category = CategoryOf(folders, out.cut);
            when = cell(column("created"));
            break;
        }
        case ServiceFormat::InstapaperCsv: {
            link.description = WithCrLf(TrimView(cell(column("selection"))));
            const std::string place(TrimView(cell(folder)));
            std::string list(TrimView(cell(tags)));
            // Instapaper writes its tags as a JSON list: ["a","b"].
            list.erase(std::remove_if(list.begin(), list.end(), [](char c) { return c == '[' || c == ']' || c == '"'; }),
                       list.end());
            link.tags = SplitOn(list, ',');
            if (LowerAscii(place) == "unread") AddUnread(link.tags);
            else if (LowerAscii(place) != "archive") link.category = place;
            when = cell(column("timestamp"));
            break;
        }
        case ServiceFormat::NorvelleCsv: {
            link.description = WithCrLf(cell(column("description")));
            link.category = cell(folder);
            link.tags = SplitOn(cell(tags), ',');
            when = cell(column("added"));
            if (!TimeCell(cell(column("modified")), link.modified))
                return out.Fail(where + "\"" + cell(column("modified")) + "\" is not a time");
            break;
        }
        default: break;
        }
        if (!TimeCell(when, link.added)) return out.Fail(where + "\"" + when + "\" is not a time");
        out.Add(std::move(link));
    }
    if (!reader.Error().empty()) return out.Fail(reader.Error());
    out.cut |= reader.Cut();
    return true;
}

// OneTab: "URL | Title" a line; each group of lines, between blank ones, a category.
bool ReadOneTab(std::string_view text, Reading& out)
{
    int group = 1;
    bool inGroup = false;
    size_t from = text.substr(0, 3) == "\xEF\xBB\xBF" ? 3 : 0;
    while (from < text.size()) {
        if (!out.GoOn(from, text.size())) return true;
        size_t end = text.find('\n', from);
        if (end == std::string_view::npos) end = text.size();
        const std::string_view line = TrimView(text.substr(from, end - from));
        from = end + 1;
        if (line.empty()) {
            if (inGroup) ++group;
            inGroup = false;
            continue;
        }
        inGroup = true;
        ImportedLink link;
        const size_t bar = line.find(" | ");
        link.link = std::string(TrimView(line.substr(0, bar)));
        if (bar != std::string_view::npos) link.title = std::string(TrimView(line.substr(bar + 3)));
        link.category = "OneTab " + std::to_string(group);
        out.Add(std::move(link));
    }
    return true;
}

// JSON: every object of the top array (or of the array under a top object's key) is an
// entry; its strings, numbers and true or false by key, and its lists of strings (or of
// objects with a "label", as Wallabag's tags may be) as lists.
class EntryReader : public nlohmann::json_sax<nlohmann::json> {
public:
    struct Entry {
        std::vector<std::pair<std::string, std::string>> values;
        std::vector<std::pair<std::string, std::vector<std::string>>> lists;
        const std::string* Value(std::string_view key) const
        {
            for (const auto& [k, v] : values)
                if (k == key) return &v;
            return nullptr;
        }
        const std::vector<std::string>* List(std::string_view key) const
        {
            for (const auto& [k, v] : lists)
                if (k == key) return &v;
            return nullptr;
        }
    };
    std::vector<Entry> entries;
    Reading* reading = nullptr;  // told of each entry, for its Stop
    size_t errorAt = 0;
    std::string errorText;

    bool null() override { return Scalar(""); }
    bool boolean(bool value) override { return Scalar(value ? "true" : "false"); }
    bool number_integer(number_integer_t value) override { return Scalar(std::to_string(value)); }
    bool number_unsigned(number_unsigned_t value) override { return Scalar(std::to_string(value)); }
    bool number_float(number_float_t, const string_t& text) override { return Scalar(text); }
    bool binary(binary_t&) override { return Scalar(""); }
    bool string(string_t& value) override { return Scalar(std::move(value)); }
    bool key(string_t& value) override
    {
        m_key = std::move(value);
        return true;
    }
    bool start_object(std::size_t) override
    {
        const size_t depth = m_stack.size();
        Kind kind = Kind::Other;
        // An entry: in the top array, or in an array that a top object holds.
        if ((depth == 1 && m_stack[0] == Kind::Array) ||
            (depth == 2 && m_stack[0] == Kind::Object && m_stack[1] == Kind::Array)) {
            kind = Kind::Entry;
            entries.emplace_back();
        } else if (InEntryList()) {
            kind = Kind::ListObject;
        }
        m_stack.push_back(kind == Kind::Other && depth == 0 ? Kind::Object : kind);
        return true;
    }
    bool end_object() override
    {
        const bool entry = m_stack.back() == Kind::Entry;
        m_stack.pop_back();
        return !entry || !reading || reading->GoOn(entries.size(), 0);
    }
    bool start_array(std::size_t) override
    {
        if (!m_stack.empty() && m_stack.back() == Kind::Entry) {
            entries.back().lists.emplace_back(m_key, std::vector<std::string>());
            m_stack.push_back(Kind::EntryList);
        } else {
            m_stack.push_back(m_stack.empty() ? Kind::Array : m_stack.size() == 1 ? Kind::Array : Kind::Other);
        }
        return true;
    }
    bool end_array() override
    {
        m_stack.pop_back();
        return true;
    }
    bool parse_error(std::size_t position, const std::string&, const nlohmann::detail::exception& e) override
    {
        errorAt = position;
        errorText = e.what();
        return false;
    }

private:
    enum class Kind { Array, Object, Entry, EntryList, ListObject, Other };
    bool InEntryList() const { return !m_stack.empty() && m_stack.back() == Kind::EntryList; }
    bool Scalar(std::string value)
    {
        if (m_stack.empty()) return true;
        if (m_stack.back() == Kind::Entry) entries.back().values.emplace_back(m_key, std::move(value));
        else if (m_stack.back() == Kind::EntryList) entries.back().lists.back().second.push_back(std::move(value));
        else if (m_stack.back() == Kind::ListObject && entries.back().lists.back().first == "tags" &&
                 (m_key == "label" || m_key == "name"))
            entries.back().lists.back().second.push_back(std::move(value));
        return true;
    }
    std::vector<Kind> m_stack;
    std::string m_key;
};

bool Truthy(const std::string* value)
{
    if (!value) return false;
    const std::string v = LowerAscii(TrimView(*value));
    return v == "yes" || v == "true" || v == "1";
}

bool ReadJson(ServiceFormat format, std::string_view text, Reading& out)
{
    EntryReader reader;
    reader.reading = &out;
    if (!nlohmann::json::sax_parse(text.begin(), text.end(), &reader)) {
        if (out.stopped) return true;
        const size_t at = std::min(reader.errorAt, text.size());
        const auto line = std::count(text.begin(), text.begin() + std::ptrdiff_t(at > 0 ? at - 1 : 0), '\n') + 1;
        return out.Fail("line " + std::to_string(line) + ": it is not well-formed JSON");
    }
    int number = 0;
    for (const EntryReader::Entry& entry : reader.entries) {
        ++number;
        const std::string where = "entry " + std::to_string(number) + ": ";
        auto value = [&](std::string_view key) {
            const std::string* v = entry.Value(key);
            return v ? *v : std::string();
        };
        ImportedLink link;
        std::string added, modified;
        switch (format) {
        case ServiceFormat::PinboardJson:
            link.title = value("description");
            link.link = value("href");
            link.description = WithCrLf(value("extended"));
            link.tags = SplitOn(value("tags"), ' ');
            if (Truthy(entry.Value("toread"))) AddUnread(link.tags);
            added = value("time");
            break;
        case ServiceFormat::WallabagJson:
            link.title = value("title");
            link.link = value("url");
            if (const auto* tags = entry.List("tags")) link.tags = *tags;
            if (!Truthy(entry.Value("is_archived"))) AddUnread(link.tags);
            added = value("created_at");
            modified = value("updated_at");
            break;
        case ServiceFormat::NorvelleJson:
            link.title = value("title");
            link.link = value("link");
            link.description = WithCrLf(value("description"));
            link.category = value("category");
            if (const auto* tags = entry.List("tags")) link.tags = *tags;
            added = value("added");
            modified = value("modified");
            break;
        default: break;
        }
        if (!TimeCell(added, link.added)) return out.Fail(where + "\"" + added + "\" is not a time");
        if (!TimeCell(modified, link.modified)) return out.Fail(where + "\"" + modified + "\" is not a time");
        out.Add(std::move(link));
    }
    return true;
}

}  // namespace

// The XML and Markdown readers, in their own files. goOn is asked now and then; when it
// says stop, they end at once.
bool ReadXbel(std::string_view text, std::vector<ImportedLink>& links, bool& cut, bool& folded, std::string& error,
              const ReadProgress& goOn);
bool ReadNorvelleMarkdown(std::string_view text, std::vector<ImportedLink>& links, std::string& error,
                          const ReadProgress& goOn);
bool ReadPocketHtml(std::string_view text, std::vector<ImportedLink>& links, std::string& error, const ReadProgress& goOn);

bool ReadServiceText(ServiceFormat format, std::string_view text, const BookmarkTarget& target, ReadCounts& counts,
                     std::string& error)
{
    Reading reading;
    // Reading the file is the first half of the way, taking its links the second.
    reading.goOn = [&](uint64_t done, uint64_t total) { return counts.GoOn(target, total ? done : 0, total ? 2 * total : 0); };
    bool ok = true;
    switch (format) {
    case ServiceFormat::PocketCsv:
    case ServiceFormat::RaindropCsv:
    case ServiceFormat::InstapaperCsv:
    case ServiceFormat::NorvelleCsv: ok = ReadCsv(format, text, reading); break;
    case ServiceFormat::PinboardJson:
    case ServiceFormat::WallabagJson:
    case ServiceFormat::NorvelleJson: ok = ReadJson(format, text, reading); break;
    case ServiceFormat::OneTabText: ok = ReadOneTab(text, reading); break;
    case ServiceFormat::Xbel:
    case ServiceFormat::NorvelleMarkdown:
    case ServiceFormat::PocketHtml: {
        std::vector<ImportedLink> links;
        const ReadProgress goOn = [&](uint64_t done, uint64_t total) { return reading.GoOn(done, total); };
        ok = format == ServiceFormat::Xbel ? ReadXbel(text, links, reading.cut, reading.folded, reading.error, reading.goOn)
             : format == ServiceFormat::PocketHtml ? ReadPocketHtml(text, links, reading.error, goOn)
                                                   : ReadNorvelleMarkdown(text, links, reading.error, goOn);
        reading.stopped = reading.stopped || counts.stopped;
        for (ImportedLink& link : links) reading.Add(std::move(link));
        break;
    }
    case ServiceFormat::None: ok = reading.Fail("its kind is not known"); break;
    }
    if (!ok && !counts.stopped) {
        error = reading.error;
        return false;
    }
    // Stopped while the file was read: nothing is taken, and the summary says it stopped.
    if (counts.stopped) return true;
    counts.cut |= reading.cut;
    counts.folded |= reading.folded;
    counts.empty += reading.empty;
    uint64_t done = 0;
    for (ImportedLink& link : reading.links) {
        if (!counts.GoOn(target, text.size() + text.size() * ++done / reading.links.size(), 2 * text.size())) break;
        if (!counts.Take(target, std::move(link))) break;
    }
    return true;
}

bool ReadServiceFile(ServiceFormat format, const std::string& path, const BookmarkTarget& target, ReadCounts& counts,
                     std::string& error)
{
    std::unique_ptr<std::FILE, int (*)(std::FILE*)> file(std::fopen(path.c_str(), "rb"), std::fclose);
    if (!file) {
        error = "it could not be opened";
        return false;
    }
    std::string text;
    char block[1 << 16];
    for (;;) {
        const size_t n = std::fread(block, 1, sizeof block, file.get());
        if (n == 0) break;
        if (text.size() + n > kMaxServiceFile) {
            error = "it is larger than " + std::to_string(kMaxServiceFile >> 20) + " MiB";
            return false;
        }
        text.append(block, n);
    }
    if (std::ferror(file.get())) {
        error = "it could not be read";
        return false;
    }
    return ReadServiceText(format, text, target, counts, error);
}
