#include "import/BookmarkImport.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <optional>

#include "store/HtmlText.h"
#include "import/BrowserStores.h"
#include "options/CountFormatter.h"
#include "platform/Prompter.h"
#include "store/NaturalCompare.h"
#include "store/GuardedWrite.h"
#include "store/Utf.h"
#include "platform/Translate.h"

namespace {

constexpr size_t kBlock = 1 << 16;
// A tag is read whole up to this size: room for a field's limit and the attributes beside it.
constexpr size_t kMaxTagBytes = kMaxImportedField + (1 << 16);

char Upper(char c) { return c >= 'a' && c <= 'z' ? char(c - 32) : c; }
bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\f'; }

// The file, read strictly forward in blocks (and rewound once for a second pass).
class BookmarkReader {
public:
    BookmarkReader(const BookmarkTarget& target, ReadCounts& counts) : m_target(target), m_counts(counts) {}
    ~BookmarkReader()
    {
        if (m_file) std::fclose(m_file);
    }
    bool Open(const std::string& path)
    {
        m_file = std::fopen(path.c_str(), "rb");
        if (m_file && std::fseek(m_file, 0, SEEK_END) == 0) {
            m_total = uint64_t(std::max<long>(0, std::ftell(m_file)));
            std::fseek(m_file, 0, SEEK_SET);
        }
        return m_file != nullptr;
    }
    // False only for a failing read; an empty file is read fine.
    bool Fill()
    {
        m_valid = m_file ? std::fread(m_block.data(), 1, m_block.size(), m_file) : 0;
        m_pos = 0;
        m_done += m_valid;
        // A stop reads as the file's end: what was read before it is kept.
        if (m_valid > 0 && !m_counts.GoOn(m_target, m_done, std::max(m_total, m_done))) m_valid = 0;
        return !(m_file && std::ferror(m_file));
    }
    bool Rewind()
    {
        if (!m_file || m_counts.stopped || std::fseek(m_file, 0, SEEK_SET) != 0) return false;
        std::clearerr(m_file);
        m_done = 0;
        Fill();
        return true;
    }
    bool AtEnd() const { return m_valid == 0; }

    // The next byte, reading on as needed; false at the end.
    bool Next(char& c)
    {
        if (m_pos == m_valid) {
            if (m_valid == 0) return false;
            Fill();
            if (m_valid == 0) return false;
        }
        c = m_block[m_pos++];
        return true;
    }
    bool Peek(char& c)
    {
        if (m_pos == m_valid) {
            if (m_valid == 0) return false;
            Fill();
            if (m_valid == 0) return false;
        }
        c = m_block[m_pos];
        return true;
    }

    // Without scan: the pattern at the current place, skipping a byte-order mark and
    // blank space first. With scan: the first place it occurs. Case-insensitive.
    bool FindInStream(std::string_view pattern, bool scan)
    {
        if (!scan) {
            std::string_view rest(m_block.data() + m_pos, m_valid - m_pos);
            size_t at = rest.substr(0, 3) == "\xEF\xBB\xBF" ? 3 : 0;
            while (at < rest.size() && IsBlank(rest[at])) ++at;
            if (rest.size() - at < pattern.size() || !StartsWithNoCase(rest.substr(at), pattern)) return false;
            m_pos += at + pattern.size();
            return true;
        }
        // The patterns searched for do not overlap themselves, so a mismatch restarts.
        size_t matched = 0;
        char c;
        while (Next(c)) {
            if (Upper(c) == Upper(pattern[matched])) {
                if (++matched == pattern.size()) return true;
            } else {
                matched = Upper(c) == Upper(pattern[0]) ? 1 : 0;
                if (matched == pattern.size()) return true;
            }
        }
        return false;
    }

    // The bytes up to the delimiter, which is consumed, or up to the end. Past limit bytes
    // the rest is read over without being kept (cut tells so), so that a gigantic text
    // costs no memory.
    std::string ReadUntil(char delimiter, bool consume = true, size_t limit = kMaxTagBytes, bool* cut = nullptr)
    {
        std::string out;
        for (;;) {
            if (m_pos == m_valid && (m_valid == 0 || (Fill(), m_valid == 0))) return out;
            const char* start = m_block.data() + m_pos;
            const void* hit = std::memchr(start, delimiter, m_valid - m_pos);
            const size_t n = hit ? size_t(static_cast<const char*>(hit) - start) : m_valid - m_pos;
            const size_t kept = std::min(n, limit - std::min(limit, out.size()));
            if (kept < n && cut) *cut = true;
            out.append(start, kept);
            if (hit) {
                m_pos += n + (consume ? 1 : 0);
                return out;
            }
            m_pos = m_valid;
        }
    }

    // A tag's name and attributes up to the first '>', which is consumed (a '>' ends a
    // tag even inside quotes, as browsers' exports escape it). Each quoted value is
    // kept up to a field's bound and the rest read over, so that a huge ICON before the
    // HREF leaves the HREF whole; the whole tag is bounded too (cut tells either).
    std::string ReadTag(bool& cut)
    {
        std::string out;
        char quote = 0;
        size_t valueSize = 0;
        char c;
        while (Next(c)) {
            if (c == '>') return out;
            bool keep = out.size() < 4 * kMaxTagBytes;
            if (quote == 0) {
                if (c == '"' || c == '\'') {
                    quote = c;
                    valueSize = 0;
                }
            } else if (c == quote) {
                quote = 0;
            } else {
                keep = keep && ++valueSize <= kMaxImportedField;
            }
            if (keep) out += c;
            else cut = true;
        }
        return out;
    }

    // The anchor's text up to its closing tag (</A> or </a>), markup inside included, at
    // most limit bytes of it kept.
    std::string ReadAnchorText(size_t limit, bool& cut)
    {
        std::string out;
        for (;;) {
            Keep(out, ReadUntil('<', true, limit, &cut), limit, cut);
            if (AtEnd()) return out;
            bool tagCut = false;
            const std::string tag = ReadUntil('>', true, kMaxTagBytes, &tagCut);
            if (tag.size() == 2 && tag[0] == '/' && Upper(tag[1]) == 'A') return out;
            Keep(out, "<" + tag + (tagCut ? "" : ">"), limit, cut);
            if (AtEnd()) return out;
        }
    }

private:
    static void Keep(std::string& out, const std::string& piece, size_t limit, bool& cut)
    {
        const size_t room = limit - std::min(limit, out.size());
        if (piece.size() > room) cut = true;
        out.append(piece, 0, std::min(room, piece.size()));
    }

    const BookmarkTarget& m_target;
    ReadCounts& m_counts;
    uint64_t m_total = 0;
    uint64_t m_done = 0;
    std::FILE* m_file = nullptr;
    std::vector<char> m_block = std::vector<char>(kBlock);
    size_t m_valid = 0;
    size_t m_pos = 0;
};

// The HREF of an anchor tag ("A" and its attributes).
std::optional<std::string> HrefOf(std::string_view tag, bool tagCut = false)
{
    if (tag.size() < 2 || Upper(tag[0]) != 'A' || !IsBlank(tag[1])) return std::nullopt;
    return AttributeOf(tag, "HREF", tagCut);
}

// A date attribute: seconds since 1970; 0 when absent or not a number.
int64_t DateAttribute(std::string_view tag, std::string_view name)
{
    const std::optional<std::string> value = AttributeOf(tag, name, false);
    if (!value || value->empty() || value->size() > 18) return 0;
    int64_t seconds = 0;
    for (char c : *value) {
        if (c < '0' || c > '9') return 0;
        seconds = seconds * 10 + (c - '0');
    }
    return seconds;
}

bool IsTag(std::string_view tag, std::string_view name)
{
    return StartsWithNoCase(tag, name) && (tag.size() == name.size() || IsBlank(tag[name.size()]));
}

// A text of the file as the store keeps it: references decoded, UTF-8, bounded.
// The bytes are made UTF-8 before references are decoded, so that a character decoded
// beside an invalid byte is not read again as another encoding.
std::string Text(std::string_view raw, bool& cut) { return BoundedText(DecodeCharacterReferences(DisplayUtf8(raw)), cut); }


class ImportPass {
public:
    ImportPass(BookmarkReader& reader, const BookmarkTarget& target, ReadCounts& counts)
        : m_reader(reader), m_target(target), m_counts(counts)
    {
    }

    // Folders and descriptions; a refused link ends the file early. A file without lists
    // (a bookmark service's export) gives its links and their notes without folders.
    void Structured()
    {
        std::vector<std::string> folders;
        std::vector<bool> named;  // for each open list: did a heading open it?
        std::optional<std::string> heading;
        while (m_reader.FindInStream("<", true)) {
            bool tagCut = false;
            const std::string tag = m_reader.ReadTag(tagCut);
            m_counts.cut = m_counts.cut || tagCut;
            if (IsTag(tag, "DD") && m_pending) {
                // Up to the next tag, which is left for the loop.
                std::string text = m_reader.ReadUntil('<', false, kMaxImportedField, &m_counts.cut);
                m_pending->description = WithCrLf(Text(TrimView(text), m_counts.cut));
                if (!Flush()) return;
                continue;
            }
            // The link before is complete: no description follows it.
            if (!Flush()) return;
            if (tag == "DL") {
                // Folders deeper than the limit fold into the deepest one kept: the path
                // each link carries stays short however deep the file nests.
                const bool opens = heading.has_value() && folders.size() < kMaxFolderLevels;
                m_counts.folded = m_counts.folded || (heading.has_value() && !opens);
                named.push_back(opens);
                if (opens) folders.push_back(*heading);
                heading.reset();
            } else if (tag == "/DL") {
                if (!named.empty()) {
                    if (named.back() && !folders.empty()) folders.pop_back();
                    named.pop_back();
                }
            } else if (IsTag(tag, "H3")) {
                heading = Text(TrimView(m_reader.ReadUntil('<', true, kMaxImportedField, &m_counts.cut)), m_counts.cut);
            } else if (auto link = HrefOf(tag, tagCut)) {
                Anchor(tag, *link, CategoryOf(folders, m_counts.cut));
            }
        }
        Flush();
    }

private:
    void Anchor(std::string_view tag, const std::string& link, std::string category)
    {
        ImportedLink imported;
        imported.title = Text(TrimView(m_reader.ReadAnchorText(kMaxImportedField, m_counts.cut)), m_counts.cut);
        imported.link = Text(link, m_counts.cut);
        // The folders' names were decoded once already: a second decoding would turn
        // "&amp;amp;" into "&".
        imported.category = std::move(category);
        imported.added = DateAttribute(tag, "ADD_DATE");
        imported.modified = DateAttribute(tag, "LAST_MODIFIED");
        if (auto tags = AttributeOf(tag, "TAGS", false)) imported.tags = SplitTagList(Text(*tags, m_counts.cut));
        // linkding and Shaarli mark what is still to be read.
        if (auto toRead = AttributeOf(tag, "TOREAD", false); toRead && TrimView(*toRead) == "1")
            imported.tags.push_back("unread");
        m_pending = std::move(imported);
    }

    // Hands the link read last to the target; false when it refused it.
    bool Flush()
    {
        if (!m_pending) return true;
        ImportedLink link = std::move(*m_pending);
        m_pending.reset();
        return m_counts.Take(m_target, std::move(link));
    }

    BookmarkReader& m_reader;
    const BookmarkTarget& m_target;
    ReadCounts& m_counts;
    std::optional<ImportedLink> m_pending;  // the anchor read last, waiting for its description
};

}  // namespace

// The value of an attribute of a tag (its name and attributes, over any number of
// lines), in double or single quotes; none when it has none or it is not closed (unless
// the tag was cut short, when the value runs to the cut).
std::optional<std::string> AttributeOf(std::string_view tag, std::string_view name, bool tagCut)
{
    for (size_t i = 1; i + name.size() < tag.size(); ++i) {
        if (!IsBlank(tag[i - 1]) || !StartsWithNoCase(tag.substr(i), name)) continue;
        size_t at = i + name.size();
        while (at < tag.size() && IsBlank(tag[at])) ++at;
        if (at >= tag.size() || tag[at] != '=') continue;
        ++at;
        while (at < tag.size() && IsBlank(tag[at])) ++at;
        if (at >= tag.size() || (tag[at] != '"' && tag[at] != '\'')) return std::nullopt;
        size_t close = tag.find(tag[at], at + 1);
        if (close == std::string_view::npos && !tagCut) return std::nullopt;
        if (close == std::string_view::npos) close = tag.size();
        return std::string(tag.substr(at + 1, close - at - 1));
    }
    return std::nullopt;
}

// Line breaks as the form stores them.
std::string WithCrLf(std::string_view text)
{
    std::string out;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\r') {
            out += "\r\n";
            if (i + 1 < text.size() && text[i + 1] == '\n') ++i;
        } else if (text[i] == '\n') {
            out += "\r\n";
        } else {
            out += text[i];
        }
    }
    return out;
}

bool StartsWithNoCase(std::string_view text, std::string_view prefix)
{
    if (text.size() < prefix.size()) return false;
    for (size_t i = 0; i < prefix.size(); ++i)
        if (Upper(text[i]) != Upper(prefix[i])) return false;
    return true;
}

std::string JoinFolderNames(const std::vector<std::string>& folders)
{
    std::string out;
    for (size_t i = 0; i < folders.size(); ++i) {
        if (i > 0) out += '|';
        out += folders[i];
    }
    return out;
}

std::string CategoryOf(const std::vector<std::string>& folders, bool& cut)
{
    std::string out;
    for (size_t i = 0; i < folders.size() && out.size() <= kMaxImportedField; ++i) {
        if (i > 0) out += '|';
        out.append(folders[i], 0, kMaxImportedField + 1 - std::min(out.size(), kMaxImportedField + 1));
    }
    return BoundedText(std::move(out), cut);
}

bool ReadCounts::GoOn(const BookmarkTarget& target, uint64_t done, uint64_t total)
{
    if (!stopped && target.progress && !target.progress(done, total)) stopped = true;
    return !stopped;
}

bool ReadCounts::Take(const BookmarkTarget& target, ImportedLink&& link)
{
    // The tags line goes below the description: the two together keep to a field's bound,
    // the description giving way first, then the last tags.
    if (!link.tags.empty()) {
        std::string line = DescriptionWithTags({}, link.tags);
        while (line.size() > kMaxImportedField && !link.tags.empty()) {
            link.tags.pop_back();
            line = DescriptionWithTags({}, link.tags);
            cut = true;
        }
        const size_t room = kMaxImportedField - line.size();
        if (!link.description.empty() && link.description.size() + 2 > room) {
            link.description.resize(Utf8CutPoint(link.description, room >= 2 ? room - 2 : 0));
            cut = true;
        }
    }
    switch (target.add(std::move(link))) {
    case Intake::Added: ++added; return true;
    case Intake::Skipped: ++skipped; return true;
    case Intake::Refused: break;
    }
    return false;
}

std::string BoundedText(std::string text, bool& cut)
{
    if (!IsValidUtf8(text)) text = DisplayUtf8(text);
    if (text.size() <= kMaxImportedField) return text;
    cut = true;
    text.resize(Utf8CutPoint(text, kMaxImportedField));
    return text;
}

std::string ImportSummaryText(const CCountFormatter& counts, const ReadCounts& read)
{
    std::string summary = (read.stopped ? Tr("Import", "Import stopped.  ") : "") + counts.Plural(read.added, Tr("Import", "Imported %1 link."), Tr("Import", "Imported %1 links."));
    if (read.skipped > 0)
        summary += counts.Plural(read.skipped, Tr("Import", "  Skipped %1 link already in the list."), Tr("Import", "  Skipped %1 links already in the list."));
    if (read.empty > 0)
        summary += counts.Plural(read.empty, Tr("Import", "  Left out %1 link with neither a title nor an address."), Tr("Import", "  Left out %1 links with neither a title nor an address."));
    if (read.cut) summary += Tr("Import", "  Texts longer than 1 MiB were cut to that length.");
    if (read.folded)
        summary += Fill(Tr("Import", "  Folders nested more than %1 levels deep were put into the deepest one kept."),
                        {std::to_string(kMaxFolderLevels)});
    return summary;
}

namespace {

ImportSummary Finish(Prompter& prompter, const CCountFormatter& counts, const BookmarkTarget& target,
                     const ReadCounts& read)
{
    if (target.finished) target.finished(read.added);
    prompter.Notice(ImportSummaryText(counts, read));
    return {ImportOutcome::Done, read.added, read.skipped};
}

// A browser's store, read whole through its own format's reader.
ImportSummary ImportBrowserStore(SourceKind kind, const std::string& name, Prompter& prompter,
                                 const CCountFormatter& counts, const BookmarkTarget& target)
{
    ReadCounts read;
    std::string error;
    const bool ok = kind == SourceKind::FirefoxPlaces ? ReadFirefoxPlaces(name, target, read, error)
                                                      : ReadChromiumBookmarks(name, target, read, error);
    if (!ok) {
        // What was taken before the failure stays taken: the summary says how much.
        prompter.Error(FormatPathMessage(Tr("Import", "Could not read the bookmarks in \"%.259s\": "), name) + error);
        if (read.added == 0 && read.skipped == 0) return {ImportOutcome::ReadFailed, 0, 0};
    }
    return Finish(prompter, counts, target, read);
}

// A service's export: read whole first, so that a broken one adds nothing.
ImportSummary ImportServiceFile(ServiceFormat format, const std::string& name, Prompter& prompter,
                                const CCountFormatter& counts, const BookmarkTarget& target)
{
    ReadCounts read;
    std::string error;
    if (!ReadServiceFile(format, name, target, read, error)) {
        // One pass fills all three, so that a path or a file's text is never read as a place to fill.
        prompter.Error(Fill(Tr("Import", "Could not read the %1 file \"%2\": %3.  No link was imported."),
                            {ServiceFormatName(format), FirstCharacters(name, 259), error}));
        return {ImportOutcome::ReadFailed, 0, 0};
    }
    return Finish(prompter, counts, target, read);
}

}  // namespace

ImportSummary ImportBookmarkFile(const std::string& fileName, Prompter& prompter, const CCountFormatter& counts,
                                 const BookmarkTarget& target)
{
    std::string name(TrimView(fileName));
    if (name.empty()) {
        prompter.Show(Tr("Import", "Please enter a filename (with its path) before pressing the Import button.  You could "
                                   "either type in this filename, press the Browse button and select a file, or press the "
                                   "Find button, click on a filename when it appears in the list box and press the Select "
                                   "button."),
                      Prompter::Icon::Stop, Prompter::Buttons::Ok);
        return {ImportOutcome::NoFileName, 0, 0};
    }
    ServiceFormat service = ServiceFormat::None;
    const SourceKind kind = SourceKindOf(name, &service);
    if (kind == SourceKind::Unreadable) {
        prompter.Error(FormatPathMessage(Tr("Import", "Could not open bookmark file \"%.259s\"."), name));
        return {ImportOutcome::OpenFailed, 0, 0};
    }
    if (kind == SourceKind::ServiceFile) return ImportServiceFile(service, name, prompter, counts, target);
    if (kind != SourceKind::BookmarkFile) return ImportBrowserStore(kind, name, prompter, counts, target);
    ReadCounts read;
    BookmarkReader reader(target, read);
    if (!reader.Open(name)) {
        prompter.Error(FormatPathMessage(Tr("Import", "Could not open bookmark file \"%.259s\"."), name));
        return {ImportOutcome::OpenFailed, 0, 0};
    }
    if (!reader.Fill()) {
        prompter.Error(FormatPathMessage(Tr("Import", "Could not read from \"%.259s\"."), name));
        return {ImportOutcome::ReadFailed, 0, 0};
    }
    ImportPass pass(reader, target, read);
    bool structured = reader.FindInStream("<!DOCTYPE NETSCAPE-Bookmark-file-1>", false);
    if (!structured) {
        if (prompter.Show(FormatPathMessage(Tr("Import", "\"%.259s\" does not appear to be a standard bookmark file.  Continue anyway?"),
                                            name),
                          Prompter::Icon::Question, Prompter::Buttons::YesNo, false) != Prompter::Answer::Yes)
            return {ImportOutcome::Declined, 0, 0};
        if (!reader.Rewind()) {
            prompter.Error(FormatPathMessage(Tr("Import", "Did not find any links in \"%.259s\"."), name));
            return {ImportOutcome::RewindFailed, 0, 0};
        }
    }
    // A file with the usual lists gets its folders, DOCTYPE or not; one without any is
    // read for its anchors from the start.
    if (reader.FindInStream("<DL>", true)) {
        pass.Structured();
    } else if (!reader.Rewind()) {
        prompter.Error(FormatPathMessage(Tr("Import", "Did not find any links in \"%.259s\"."), name));
        return {ImportOutcome::RewindFailed, 0, 0};
    } else {
        pass.Structured();
    }
    return Finish(prompter, counts, target, read);
}
