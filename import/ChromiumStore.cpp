// Reading the Bookmarks file of Chromium and its kin: JSON, read as a stream of events.
#include <nlohmann/json.hpp>

#include <cstdio>
#include <istream>
#include <memory>
#include <streambuf>
#include <vector>

#include "import/BrowserStores.h"
#include "store/FileIO.h"

namespace {

// The file's bytes with every string cut to the bound of an imported text: the JSON
// reader keeps each string whole in memory, so a hostile file's gigantic string is read
// over here instead. A cut falls between characters and escapes, never in a surrogate pair.
class BoundedJsonBuffer : public std::streambuf {
public:
    BoundedJsonBuffer(std::FILE* file, const BookmarkTarget& target, ReadCounts& counts)
        : m_file(file), m_in(1 << 16), m_target(target), m_counts(counts)
    {
        m_out.reserve(m_in.size());
        if (std::fseek(file, 0, SEEK_END) == 0) m_total = uint64_t(std::max<long>(0, std::ftell(file)));
        std::rewind(file);
    }
    bool cut = false;
    bool failed = false;

protected:
    int_type underflow() override
    {
        while (gptr() == egptr()) {
            const size_t n = std::fread(m_in.data(), 1, m_in.size(), m_file);
            m_done += n;
            // A stop reads as the file's end.
            if (n > 0 && !m_counts.GoOn(m_target, m_done, std::max(m_done, m_total))) return traits_type::eof();
            if (n == 0) {
                failed = std::ferror(m_file) != 0;
                return traits_type::eof();
            }
            m_out.clear();
            for (size_t i = 0; i < n; ++i) Filter(m_in[i]);
            setg(m_out.data(), m_out.data(), m_out.data() + m_out.size());
        }
        return traits_type::to_int_type(*gptr());
    }

private:
    void Filter(char c)
    {
        const auto byte = static_cast<unsigned char>(c);
        if (!m_inString) {
            m_out.push_back(c);
            m_inString = c == '"';
            m_length = 0;
            m_escape = 0;
            m_dropping = false;
            return;
        }
        if (m_escape != 0) {
            if (m_escape == -1) {
                m_escape = c == 'u' ? 4 : 0;
                m_unit = 0;
            } else {
                m_unit = m_unit * 16 + unsigned(byte <= '9' ? byte - '0' : (byte | 0x20) - 'a' + 10);
                if (--m_escape == 0) m_highSurrogate = m_unit >= 0xD800 && m_unit <= 0xDBFF;
            }
            Keep(c);
            return;
        }
        if (c == '"') {
            m_out.push_back(c);
            m_inString = false;
            return;
        }
        const bool startsCharacter = (byte & 0xC0) != 0x80;
        if (!m_dropping && m_length >= kMaxImportedField && startsCharacter && !(c == '\\' && m_highSurrogate)) {
            m_dropping = true;
            cut = true;
        }
        if (c == '\\') {
            m_escape = -1;
        } else if (startsCharacter) {
            m_highSurrogate = false;
        }
        Keep(c);
    }
    void Keep(char c)
    {
        if (m_dropping) return;
        m_out.push_back(c);
        ++m_length;
    }

    std::FILE* m_file;
    std::vector<char> m_in;
    const BookmarkTarget& m_target;
    ReadCounts& m_counts;
    uint64_t m_total = 0;
    uint64_t m_done = 0;
    std::vector<char> m_out;
    bool m_inString = false;
    bool m_dropping = false;
    bool m_highSurrogate = false;
    size_t m_length = 0;
    int m_escape = 0;  // -1 right after a backslash, then the hex digits of \u still to come
    unsigned m_unit = 0;
};

// A place in the builder's one buffer of texts.
struct TextSpan {
    size_t at = 0;
    size_t size = 0;
};

enum class NodeType : uint8_t { None, Url, Folder, Other };

// Kept small, as a file may hold millions of nodes: the texts are in one buffer and the
// children are a chain.
struct Node {
    int parent = -1;
    int firstChild = -1;
    int lastChild = -1;
    int next = -1;  // the next sibling
    NodeType type = NodeType::None;
    TextSpan name;
    TextSpan url;
    int64_t added = 0;     // microseconds since 1601
    int64_t modified = 0;
};

enum class Root { None, Bar, Other, Synced };

// Builds the bookmark tree from the reader's events: the three roots under "roots", and
// under each node the nodes of its "children"; every other object and array is passed over.
class TreeBuilder : public nlohmann::json_sax<nlohmann::json> {
public:
    std::vector<Node> nodes;
    std::string texts;            // every node's name and address, one after another
    int roots[3] = {-1, -1, -1};  // bar, other, synced
    int empty = 0;                // bookmarks with neither a name nor an address
    std::string error;

    std::string_view Text(TextSpan span) const { return std::string_view(texts).substr(span.at, span.size); }

    bool null() override { return Value(); }
    bool boolean(bool) override { return Value(); }
    bool number_integer(number_integer_t) override { return Value(); }
    bool number_unsigned(number_unsigned_t) override { return Value(); }
    bool number_float(number_float_t, const string_t&) override { return Value(); }
    bool binary(binary_t&) override { return Value(); }
    bool string(string_t& value) override
    {
        if (!m_frames.empty() && m_frames.back().kind == Kind::Node) {
            Node& node = nodes[size_t(m_frames.back().node)];
            if (m_key == "name") node.name = Keep(value);
            else if (m_key == "url") node.url = Keep(value);
            else if (m_key == "type")
                node.type = value == "url" ? NodeType::Url : value == "folder" ? NodeType::Folder : NodeType::Other;
            else if (m_key == "date_added") node.added = Number(value);
            else if (m_key == "date_modified") node.modified = Number(value);
        }
        return Value();
    }
    bool key(string_t& value) override
    {
        m_key = std::move(value);
        return true;
    }
    bool start_object(std::size_t) override
    {
        Frame frame{Kind::Ignored, -1};
        if (m_frames.empty()) {
            frame.kind = Kind::Top;
        } else if (m_frames.back().kind == Kind::Top && m_key == "roots") {
            frame.kind = Kind::Roots;
        } else if (m_frames.back().kind == Kind::Roots) {
            const int which = m_key == "bookmark_bar" ? 0 : m_key == "other" ? 1 : m_key == "synced" ? 2 : -1;
            if (which >= 0 && roots[which] < 0) {
                frame = {Kind::Node, NewNode(-1)};
                roots[which] = frame.node;
            }
        } else if (m_frames.back().kind == Kind::Children) {
            frame = {Kind::Node, NewNode(m_frames.back().node)};
        }
        m_frames.push_back(frame);
        m_key.clear();
        return true;
    }
    bool end_object() override
    {
        if (m_frames.back().kind == Kind::Node) Close(m_frames.back().node);
        m_frames.pop_back();
        m_key.clear();
        return true;
    }
    bool start_array(std::size_t) override
    {
        const bool children = !m_frames.empty() && m_frames.back().kind == Kind::Node && m_key == "children";
        m_frames.push_back({children ? Kind::Children : Kind::Ignored, children ? m_frames.back().node : -1});
        return true;
    }
    bool end_array() override
    {
        m_frames.pop_back();
        m_key.clear();
        return true;
    }
    bool parse_error(std::size_t position, const std::string&, const nlohmann::detail::exception&) override
    {
        error = "it is damaged near byte " + std::to_string(position) + ".";
        return false;
    }

private:
    enum class Kind { Top, Roots, Node, Children, Ignored };
    struct Frame {
        Kind kind;
        int node;
    };

    bool Value()
    {
        // Inside an array the key of the object around stays; elsewhere a value ends it.
        if (!m_frames.empty() && m_frames.back().kind != Kind::Children && m_frames.back().kind != Kind::Ignored)
            m_key.clear();
        return true;
    }
    int NewNode(int parent)
    {
        nodes.emplace_back();
        nodes.back().parent = parent;
        return int(nodes.size() - 1);
    }
    TextSpan Keep(const std::string& value)
    {
        texts += value;
        return {texts.size() - value.size(), value.size()};
    }
    // A whole node joins its parent's children, unless it carries nothing: an empty node
    // (its own children were empty too) is taken back, so that a file of millions of
    // them costs no memory.
    void Close(int index)
    {
        Node& node = nodes[size_t(index)];
        if (node.parent < 0) return;  // a root
        if (node.url.size == 0 && node.firstChild < 0 && (node.name.size == 0 || node.type != NodeType::Url)) {
            if (node.type == NodeType::Url) ++empty;
            if (size_t(index) == nodes.size() - 1) {
                if (node.name.size > 0) texts.resize(node.name.at);
                nodes.pop_back();
            }
            return;
        }
        Node& parent = nodes[size_t(node.parent)];
        if (parent.lastChild < 0) parent.firstChild = index;
        else nodes[size_t(parent.lastChild)].next = index;
        parent.lastChild = index;
    }
    static int64_t Number(const std::string& digits)
    {
        int64_t value = 0;
        if (digits.empty() || digits.size() > 18) return 0;
        for (char c : digits) {
            if (c < '0' || c > '9') return 0;
            value = value * 10 + (c - '0');
        }
        return value;
    }

    std::vector<Frame> m_frames;
    std::string m_key;
};

// Microseconds since 1601 (Windows' file time) as seconds since 1970; 0 for none.
int64_t UnixSeconds(int64_t microseconds)
{
    constexpr int64_t kFrom1601To1970 = 11644473600;
    const int64_t seconds = microseconds / 1000000 - kFrom1601To1970;
    return microseconds > 0 && seconds > 0 ? seconds : 0;
}

class BookmarkWalk {
public:
    BookmarkWalk(const TreeBuilder& tree, const BookmarkTarget& target, ReadCounts& counts)
        : m_tree(tree), m_target(target), m_counts(counts)
    {
    }

    // The links under root, depth first in the file's order; root's name heads every
    // category when named. False when the target refused a link.
    bool Walk(int root, bool named)
    {
        std::vector<std::string> folders;
        if (named) folders.push_back(Text(m_tree.nodes[size_t(root)].name));
        struct Open {
            int next;  // the child to visit next
            bool named;
        };
        std::vector<Open> stack{{m_tree.nodes[size_t(root)].firstChild, false}};
        while (!stack.empty()) {
            Open& open = stack.back();
            if (open.next < 0) {
                if (open.named) folders.pop_back();
                stack.pop_back();
                continue;
            }
            const Node& node = m_tree.nodes[size_t(open.next)];
            open.next = node.next;
            if (node.type == NodeType::Url || (node.type == NodeType::None && node.url.size > 0)) {
                if (!Take(node, folders)) return false;
            } else if (node.type == NodeType::Folder || node.firstChild >= 0) {
                const bool keep = folders.size() < kMaxFolderLevels;
                m_counts.folded = m_counts.folded || !keep;
                if (keep) folders.push_back(Text(node.name));
                stack.push_back({node.firstChild, keep});
            }
        }
        return true;
    }

private:
    std::string Text(TextSpan span) { return BoundedText(std::string(m_tree.Text(span)), m_counts.cut); }

    bool Take(const Node& node, const std::vector<std::string>& folders)
    {
        if (!m_counts.GoOn(m_target, uint64_t(m_counts.added + m_counts.skipped), 0)) return false;
        ImportedLink link;
        link.title = Text(node.name);
        link.link = Text(node.url);
        link.category = CategoryOf(folders, m_counts.cut);
        link.added = UnixSeconds(node.added);
        link.modified = node.modified > 0 ? UnixSeconds(node.modified) : link.added;
        return m_counts.Take(m_target, std::move(link));
    }

    const TreeBuilder& m_tree;
    const BookmarkTarget& m_target;
    ReadCounts& m_counts;
};

}  // namespace

bool ReadChromiumBookmarks(const std::string& path, const BookmarkTarget& target, ReadCounts& counts,
                           std::string& error)
{
    std::unique_ptr<std::FILE, int (*)(std::FILE*)> file(std::fopen(path.c_str(), "rb"), std::fclose);
    if (!file) {
        error = "it could not be opened.";
        return false;
    }
    BoundedJsonBuffer buffer(file.get(), target, counts);
    std::istream stream(&buffer);
    TreeBuilder tree;
    const bool parsed = nlohmann::json::sax_parse(stream, &tree);
    counts.cut = counts.cut || buffer.cut;
    if (counts.stopped) return true;
    counts.empty += tree.empty;
    if (buffer.failed) {
        error = "it could not be read.";
        return false;
    }
    if (!parsed) {
        error = tree.error.empty() ? "it is damaged." : tree.error;
        return false;
    }
    if (tree.roots[0] < 0 && tree.roots[1] < 0 && tree.roots[2] < 0) {
        error = "it is not a Chromium bookmark file.";
        return false;
    }
    BookmarkWalk walk(tree, target, counts);
    // As the browser's own HTML export places them: the bar as a folder of its name, the
    // other bookmarks at the top level, the mobile ones as a folder of theirs.
    const struct {
        int root;
        bool named;
    } order[] = {{tree.roots[0], true}, {tree.roots[1], false}, {tree.roots[2], true}};
    for (const auto& root : order)
        if (root.root >= 0 && !walk.Walk(root.root, root.named)) break;
    return true;
}
