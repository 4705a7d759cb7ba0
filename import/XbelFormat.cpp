// XBEL, the XML bookmark format of KDE and Floccus, read with expat as a stream of events.
#include <expat.h>

#include <memory>
#include <string>
#include <vector>

#include "import/BookmarkImport.h"
#include "import/ServiceFormats.h"
#include "store/LinkDate.h"

namespace {

class XbelReader {
public:
    std::vector<ImportedLink> links;
    bool cut = false;
    bool folded = false;

    static void XMLCALL Start(void* self, const XML_Char* name, const XML_Char** attributes)
    {
        static_cast<XbelReader*>(self)->OnStart(name, attributes);
    }
    static void XMLCALL End(void* self, const XML_Char* name) { static_cast<XbelReader*>(self)->OnEnd(name); }
    static void XMLCALL Text(void* self, const XML_Char* text, int length)
    {
        auto* reader = static_cast<XbelReader*>(self);
        if (!reader->m_collecting) return;
        // Kept to the bound of a field as it comes, so that a huge text costs no memory.
        const size_t room = kMaxImportedField + 4 > reader->m_text.size() ? kMaxImportedField + 4 - reader->m_text.size() : 0;
        reader->m_text.append(text, std::min(size_t(length), room));
    }

private:
    void OnStart(std::string_view name, const XML_Char** attributes)
    {
        if (name == "folder") {
            m_folders.emplace_back();
            if (m_folders.size() > kMaxFolderLevels) folded = true;
        } else if (name == "bookmark") {
            m_inBookmark = true;
            m_link = ImportedLink();
            for (size_t i = 0; attributes[i]; i += 2) {
                const std::string_view key = attributes[i];
                int64_t seconds = 0;
                if (key == "href") m_link.link = attributes[i + 1];
                else if (key == "added" && ParseIsoTime(attributes[i + 1], seconds)) m_link.added = seconds;
                else if (key == "modified" && ParseIsoTime(attributes[i + 1], seconds)) m_link.modified = seconds;
            }
        } else if (name == "title" || name == "desc") {
            m_collecting = true;
            m_text.clear();
        }
    }
    void OnEnd(std::string_view name)
    {
        if (name == "folder") {
            if (!m_folders.empty()) m_folders.pop_back();
        } else if (name == "bookmark") {
            m_inBookmark = false;
            std::vector<std::string> path(m_folders.begin(),
                                          m_folders.begin() + std::ptrdiff_t(std::min(m_folders.size(), kMaxFolderLevels)));
            m_link.category = CategoryOf(path, cut);
            links.push_back(std::move(m_link));
        } else if (name == "title" || name == "desc") {
            m_collecting = false;
            if (m_inBookmark && name == "title") m_link.title = m_text;
            else if (m_inBookmark) m_link.description = m_text;
            else if (name == "title" && !m_folders.empty()) m_folders.back() = m_text;
        }
    }

    std::vector<std::string> m_folders;  // the titles of the folders the reader is in
    ImportedLink m_link;
    bool m_inBookmark = false;
    bool m_collecting = false;
    std::string m_text;
};

}  // namespace

bool ReadXbel(std::string_view text, std::vector<ImportedLink>& links, bool& cut, bool& folded, std::string& error,
              const ReadProgress& goOn)
{
    std::unique_ptr<XML_ParserStruct, void (*)(XML_Parser)> parser(XML_ParserCreate("UTF-8"), XML_ParserFree);
    if (!parser) {
        error = "there was no memory to read it";
        return false;
    }
    XbelReader reader;
    XML_SetUserData(parser.get(), &reader);
    XML_SetElementHandler(parser.get(), XbelReader::Start, XbelReader::End);
    XML_SetCharacterDataHandler(parser.get(), XbelReader::Text);
    // The file's own DTD is never fetched; expat also refuses entities that grow without end.
    XML_SetParamEntityParsing(parser.get(), XML_PARAM_ENTITY_PARSING_NEVER);
    // Fed in pieces: expat takes an int length.
    const size_t kPiece = 1 << 20;
    for (size_t at = 0;; at += kPiece) {
        const size_t n = std::min(kPiece, text.size() - std::min(at, text.size()));
        const bool last = at + n >= text.size();
        if (goOn && !goOn(at, text.size())) return false;
        if (XML_Parse(parser.get(), text.data() + std::min(at, text.size()), int(n), last) != XML_STATUS_OK) {
            error = "line " + std::to_string(XML_GetCurrentLineNumber(parser.get())) + ": " +
                    XML_ErrorString(XML_GetErrorCode(parser.get()));
            return false;
        }
        if (last) break;
    }
    // A description's last line "Tags: a, b" stays in the description, where the store keeps tags.
    for (ImportedLink& link : reader.links) link.description = WithCrLf(link.description);
    links = std::move(reader.links);
    cut |= reader.cut;
    folded |= reader.folded;
    return true;
}
