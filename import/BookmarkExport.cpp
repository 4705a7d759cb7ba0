#include "import/BookmarkExport.h"

#include <array>
#include <cstdio>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "import/ImportedLink.h"
#include "store/FileIO.h"
#include "store/LinkStore.h"

namespace {

struct Folder {
    std::string name;
    std::vector<std::unique_ptr<Folder>> folders;  // in the order first met
    std::map<std::string, Folder*, std::less<>> byName;
    std::vector<const CAnnotatedLink*> links;  // in store order

    Folder& Child(std::string_view child)
    {
        auto it = byName.find(child);
        if (it != byName.end()) return *it->second;
        folders.push_back(std::make_unique<Folder>());
        folders.back()->name = child;
        byName.emplace(child, folders.back().get());
        return *folders.back();
    }
};

// The characters that HTML text cannot hold as they are (and CR, dropped).
constexpr std::array<bool, 256> MakeSpecial()
{
    std::array<bool, 256> table{};
    for (unsigned char c : {'&', '<', '>', '"', '\r'}) table[c] = true;
    return table;
}
constexpr std::array<bool, 256> kSpecial = MakeSpecial();

void Escape(std::string& out, std::string_view text, bool attribute)
{
    // Runs without a character to escape are copied whole.
    const char* data = text.data();
    const size_t size = text.size();
    size_t from = 0;
    for (size_t i = 0; i < size; ++i) {
        if (!kSpecial[static_cast<unsigned char>(data[i])]) continue;
        out.append(data + from, i - from);
        from = i + 1;
        switch (data[i]) {
        case '&': out += "&amp;"; break;
        case '<': out += "&lt;"; break;
        case '>': out += "&gt;"; break;
        case '"': out += attribute ? "&quot;" : "\""; break;
        default: break;  // a CR: line breaks as LF
        }
    }
    out.append(data + from, size - from);
}

class Writer {
public:
    explicit Writer(ByteSink& sink) : m_sink(sink) {}
    void Folder(const ::Folder& folder, int depth)
    {
        const std::string indent(size_t(depth) * 4, ' ');
        for (const CAnnotatedLink* link : folder.links) {
            m_out += indent;
            m_out += "<DT><A HREF=\"";
            Escape(m_out, link->Link(), true);
            m_out += "\" ADD_DATE=\"";
            AppendNumber(m_clock.SecondsOf(link->Added()));
            m_out += "\" LAST_MODIFIED=\"";
            AppendNumber(m_clock.SecondsOf(link->Modified()));
            // The description's "Tags: " line goes back to being the browser's tags.
            std::string_view description = link->Description();
            if (link->Description().find(kTagsLinePrefix) != std::string::npos &&
                SplitTagsLine(link->Description(), m_rest, m_tags)) {
                description = m_rest;
                m_out += "\" TAGS=\"";
                for (size_t i = 0; i < m_tags.size(); ++i) {
                    if (i > 0) m_out += ',';
                    Escape(m_out, m_tags[i], true);
                }
            }
            m_out += "\">";
            Escape(m_out, link->Title(), false);
            m_out += "</A>\n";
            if (!description.empty()) {
                m_out += indent;
                m_out += "<DD>";
                Escape(m_out, description, false);
                m_out += '\n';
            }
            Flush(false);
        }
        for (const auto& child : folder.folders) {
            m_out += indent + "<DT><H3>";
            Escape(m_out, child->name, false);
            m_out += "</H3>\n" + indent + "<DL><p>\n";
            Folder(*child, depth + 1);
            m_out += indent + "</DL><p>\n";
        }
    }
    void Text(const char* text) { m_out += text; }
    void AppendNumber(long long value)
    {
        char digits[24];
        const int n = std::snprintf(digits, sizeof digits, "%lld", value);
        m_out.append(digits, size_t(n));
    }
    bool Flush(bool last)
    {
        if ((last || m_out.size() > (1u << 16)) && !m_out.empty()) {
            m_ok = m_ok && m_sink.Write(m_out.data(), m_out.size());
            m_out.clear();
        }
        return m_ok;
    }

private:
    ByteSink& m_sink;
    CUnixDates m_clock;
    std::string m_out;
    std::string m_rest;              // a description without its tags line
    std::vector<std::string> m_tags;
    bool m_ok = true;
};

}  // namespace

bool ExportBookmarks(const LinkStore& store, ByteSink& sink, const std::vector<int>& rows)
{
    auto lock = store.Lock();
    ::Folder root;
    const int count = rows.empty() ? store.Count() : int(rows.size());
    for (int i = 0; i < count; ++i) {
        const CAnnotatedLink& link = store.At(rows.empty() ? i : rows[size_t(i)]);
        ::Folder* folder = &root;
        if (!link.Category().empty()) {
            for (size_t start = 0;;) {
                const size_t bar = link.Category().find('|', start);
                folder = &folder->Child(link.Category().substr(start, bar - start));
                if (bar == std::string::npos) break;
                start = bar + 1;
            }
        }
        folder->links.push_back(&link);
    }
    Writer writer(sink);
    writer.Text("<!DOCTYPE NETSCAPE-Bookmark-file-1>\n"
                "<!-- This is an automatically generated file.\n"
                "     It will be read and overwritten.\n"
                "     DO NOT EDIT! -->\n"
                "<META HTTP-EQUIV=\"Content-Type\" CONTENT=\"text/html; charset=UTF-8\">\n"
                "<TITLE>Bookmarks</TITLE>\n"
                "<H1>Bookmarks</H1>\n"
                "<DL><p>\n");
    writer.Folder(root, 1);
    writer.Text("</DL><p>\n");
    return writer.Flush(true);
}
