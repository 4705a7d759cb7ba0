#include "import/LinkExport.h"

#include <map>
#include <memory>

#include "import/BookmarkExport.h"
#include "import/ImportedLink.h"
#include "import/ServiceFormats.h"
#include "store/FileIO.h"
#include "store/JsonText.h"
#include "store/LinkDate.h"
#include "store/LinkStore.h"
#include "store/Utf.h"

namespace {

// One link as the exports write it: its texts as UTF-8, its tags apart, its dates in seconds.
struct Shown {
    std::string title, link, category, description;
    std::vector<std::string> tags;
    int64_t added = 0, modified = 0;
};

class Source {
public:
    Shown Of(const CAnnotatedLink& record)
    {
        Shown out;
        out.title = DisplayUtf8(record.Title());
        out.link = DisplayUtf8(record.Link());
        out.category = DisplayUtf8(record.Category());
        out.description = DisplayUtf8(record.Description());
        std::string rest;
        if (out.description.find(kTagsLinePrefix) != std::string::npos &&
            SplitTagsLine(out.description, rest, out.tags))
            out.description = std::move(rest);
        out.added = m_clock.SecondsOf(record.Added());
        out.modified = m_clock.SecondsOf(record.Modified());
        return out;
    }

private:
    CUnixDates m_clock;
};

// Writes in pieces of about 64 KiB.
class Output {
public:
    explicit Output(ByteSink& sink) : m_sink(sink) {}
    std::string text;
    bool Flush(bool last = false)
    {
        if ((last || text.size() > (1u << 16)) && !text.empty()) {
            m_ok = m_ok && m_sink.Write(text.data(), text.size());
            text.clear();
        }
        return m_ok;
    }

private:
    ByteSink& m_sink;
    bool m_ok = true;
};

// Description lines as LF, as text files have them.
std::string Lines(std::string_view text)
{
    std::string out;
    for (size_t i = 0; i < text.size(); ++i)
        if (text[i] != '\r' || i + 1 >= text.size() || text[i + 1] != '\n') out += text[i] == '\r' ? '\n' : text[i];
    return out;
}

void XmlEscape(std::string& out, std::string_view text)
{
    for (char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        switch (c) {
        case '&': out += "&amp;"; break;
        case '<': out += "&lt;"; break;
        case '>': out += "&gt;"; break;
        case '"': out += "&quot;"; break;
        case '\r': break;
        default:
            // XML holds no other control character.
            if (byte >= 0x20 || c == '\n' || c == '\t') out += c;
        }
    }
}

void CsvCell(std::string& out, std::string_view text)
{
    if (text.find_first_of(",\"\r\n") == std::string_view::npos) {
        out += text;
        return;
    }
    out += '"';
    for (char c : text) {
        if (c == '"') out += '"';
        out += c;
    }
    out += '"';
}

std::string JoinTags(const std::vector<std::string>& tags)
{
    std::string out;
    for (const std::string& tag : tags) out += (out.empty() ? "" : ", ") + tag;
    return out;
}

// Markdown keeps these as text only behind a backslash.
void MarkdownEscape(std::string& out, std::string_view text, std::string_view special)
{
    for (char c : text) {
        if (c == '\\' || special.find(c) != std::string_view::npos) out += '\\';
        out += c == '\r' || c == '\n' ? ' ' : c;
    }
}

std::vector<const CAnnotatedLink*> Chosen(const LinkStore& store, const std::vector<int>& rows)
{
    std::vector<const CAnnotatedLink*> out;
    const int count = rows.empty() ? store.Count() : int(rows.size());
    out.reserve(size_t(count));
    for (int i = 0; i < count; ++i) out.push_back(&store.At(rows.empty() ? i : rows[size_t(i)]));
    return out;
}

bool WriteCsv(const std::vector<const CAnnotatedLink*>& links, Output& out)
{
    Source source;
    out.text = "title,link,category,description,tags,added,modified\r\n";
    for (const CAnnotatedLink* record : links) {
        const Shown link = source.Of(*record);
        CsvCell(out.text, link.title);
        out.text += ',';
        CsvCell(out.text, link.link);
        out.text += ',';
        CsvCell(out.text, link.category);
        out.text += ',';
        CsvCell(out.text, Lines(link.description));
        out.text += ',';
        CsvCell(out.text, JoinTags(link.tags));
        out.text += ',' + FormatIsoTime(link.added) + ',' + FormatIsoTime(link.modified) + "\r\n";
        if (!out.Flush()) return false;
    }
    return out.Flush(true);
}

bool WriteJson(const std::vector<const CAnnotatedLink*>& links, Output& out)
{
    Source source;
    out.text = "{\"norvelle-links\": [";
    bool first = true;
    for (const CAnnotatedLink* record : links) {
        const Shown link = source.Of(*record);
        out.text += first ? "\n  {\"title\": " : ",\n  {\"title\": ";
        first = false;
        AppendJsonString(out.text, link.title);
        out.text += ", \"link\": ";
        AppendJsonString(out.text, link.link);
        out.text += ", \"description\": ";
        AppendJsonString(out.text, Lines(link.description));
        out.text += ", \"category\": ";
        AppendJsonString(out.text, link.category);
        out.text += ", \"tags\": [";
        for (size_t i = 0; i < link.tags.size(); ++i) {
            if (i) out.text += ", ";
            AppendJsonString(out.text, link.tags[i]);
        }
        out.text += "], \"added\": ";
        AppendJsonString(out.text, FormatIsoTime(link.added));
        out.text += ", \"modified\": ";
        AppendJsonString(out.text, FormatIsoTime(link.modified));
        out.text += '}';
        if (!out.Flush()) return false;
    }
    out.text += links.empty() ? "]}\n" : "\n]}\n";
    return out.Flush(true);
}

// Links grouped under their categories, in the order each category first comes.
struct Group {
    std::string name;
    std::vector<const CAnnotatedLink*> links;
    std::vector<std::unique_ptr<Group>> groups;
    std::map<std::string, Group*, std::less<>> byName;
    Group& Child(std::string_view child)
    {
        if (auto it = byName.find(child); it != byName.end()) return *it->second;
        groups.push_back(std::make_unique<Group>());
        groups.back()->name = child;
        byName.emplace(groups.back()->name, groups.back().get());
        return *groups.back();
    }
};

void XbelFolder(const Group& group, int depth, Source& source, Output& out)
{
    const std::string indent(size_t(depth) * 2, ' ');
    for (const CAnnotatedLink* record : group.links) {
        const Shown link = source.Of(*record);
        out.text += indent + "<bookmark href=\"";
        XmlEscape(out.text, link.link);
        out.text += '"';
        if (link.added) out.text += " added=\"" + FormatIsoTime(link.added) + '"';
        if (link.modified) out.text += " modified=\"" + FormatIsoTime(link.modified) + '"';
        out.text += ">\n" + indent + "  <title>";
        XmlEscape(out.text, link.title);
        out.text += "</title>\n";
        // XBEL has no tags of its own: they stay the description's last line, as the list keeps them.
        const std::string description = DescriptionWithTags(Lines(link.description), link.tags);
        if (!description.empty()) {
            out.text += indent + "  <desc>";
            XmlEscape(out.text, Lines(description));
            out.text += "</desc>\n";
        }
        out.text += indent + "</bookmark>\n";
        out.Flush();
    }
    for (const auto& child : group.groups) {
        out.text += indent + "<folder>\n" + indent + "  <title>";
        XmlEscape(out.text, DisplayUtf8(child->name));
        out.text += "</title>\n";
        XbelFolder(*child, depth + 1, source, out);
        out.text += indent + "</folder>\n";
    }
}

bool WriteXbel(const std::vector<const CAnnotatedLink*>& links, Output& out)
{
    Group root;
    for (const CAnnotatedLink* link : links) {
        Group* group = &root;
        const std::string_view category = link->Category();
        for (size_t start = 0; !category.empty();) {
            const size_t bar = category.find('|', start);
            group = &group->Child(category.substr(start, bar - start));
            if (bar == std::string_view::npos) break;
            start = bar + 1;
        }
        group->links.push_back(link);
    }
    Source source;
    out.text = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
               "<!DOCTYPE xbel PUBLIC \"+//IDN python.org//DTD XML Bookmark Exchange Language 1.0//EN//XML\" "
               "\"http://pyxml.sourceforge.net/topics/dtds/xbel.dtd\">\n"
               "<xbel version=\"1.0\">\n";
    XbelFolder(root, 1, source, out);
    out.text += "</xbel>\n";
    return out.Flush(true);
}

bool WriteMarkdown(const std::vector<const CAnnotatedLink*>& links, Output& out)
{
    // One heading per category, in the order each first comes; links without one first.
    std::vector<std::string> order;
    std::map<std::string, std::vector<const CAnnotatedLink*>, std::less<>> byCategory;
    for (const CAnnotatedLink* link : links) {
        auto [it, added] = byCategory.try_emplace(std::string(link->Category()));
        if (added) order.push_back(it->first);
        it->second.push_back(link);
    }
    std::stable_partition(order.begin(), order.end(), [](const std::string& name) { return name.empty(); });
    Source source;
    out.text = "<!-- Norvelle links: each link's dates are in the comment under it. -->\n# Links\n";
    for (const std::string& category : order) {
        if (!category.empty()) {
            out.text += "\n## ";
            MarkdownEscape(out.text, DisplayUtf8(category), "#*_[]<>`");
            out.text += '\n';
        }
        out.text += '\n';
        for (const CAnnotatedLink* record : byCategory[category]) {
            const Shown link = source.Of(*record);
            out.text += "- [";
            MarkdownEscape(out.text, link.title, "[]*_<>`");
            out.text += "](<";
            MarkdownEscape(out.text, link.link, "<>");
            out.text += ">)\n";
            const std::string description = DescriptionWithTags(Lines(link.description), link.tags);
            for (size_t from = 0; from < description.size();) {
                size_t end = description.find('\n', from);
                if (end == std::string::npos) end = description.size();
                out.text += "  ";
                out.text.append(description, from, end - from);
                out.text += '\n';
                from = end + 1;
            }
            out.text += "  <!-- added " + (link.added ? FormatIsoTime(link.added) : "-") + ", modified " +
                        (link.modified ? FormatIsoTime(link.modified) : "-") + " -->\n";
            if (!out.Flush()) return false;
        }
    }
    return out.Flush(true);
}

}  // namespace

bool ExportFormatNamed(const std::string& name, ExportFormat& format)
{
    static const std::pair<const char*, ExportFormat> kNames[] = {
        {"html", ExportFormat::Html}, {"xbel", ExportFormat::Xbel}, {"markdown", ExportFormat::Markdown},
        {"md", ExportFormat::Markdown}, {"csv", ExportFormat::Csv},   {"json", ExportFormat::Json}};
    for (const auto& [text, value] : kNames)
        if (name == text) {
            format = value;
            return true;
        }
    return false;
}

ExportFormat ExportFormatOfFileName(const std::string& name)
{
    const size_t dot = name.rfind('.');
    std::string ending = dot == std::string::npos ? std::string() : name.substr(dot + 1);
    for (char& c : ending)
        if (c >= 'A' && c <= 'Z') c = char(c - 'A' + 'a');
    ExportFormat format = ExportFormat::Html;
    return ExportFormatNamed(ending, format) ? format : ExportFormat::Html;
}

bool ExportLinks(const LinkStore& store, ByteSink& sink, const std::vector<int>& rows, ExportFormat format)
{
    if (format == ExportFormat::Html) return ExportBookmarks(store, sink, rows);
    auto lock = store.Lock();
    const std::vector<const CAnnotatedLink*> links = Chosen(store, rows);
    Output out(sink);
    switch (format) {
    case ExportFormat::Xbel: return WriteXbel(links, out);
    case ExportFormat::Markdown: return WriteMarkdown(links, out);
    case ExportFormat::Csv: return WriteCsv(links, out);
    case ExportFormat::Json: return WriteJson(links, out);
    case ExportFormat::Html: break;
    }
    return false;
}
