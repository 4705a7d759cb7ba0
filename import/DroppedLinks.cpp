#include "import/DroppedLinks.h"

#include <string_view>

#include "import/BookmarkImport.h"
#include "store/NaturalCompare.h"

bool IsOneAddress(const std::string& text)
{
    const std::string_view address = TrimView(text);
    if (address.empty()) return false;
    for (char c : address)
        if (static_cast<unsigned char>(c) <= ' ') return false;
    if (StartsWithNoCase(address, "www.") || StartsWithNoCase(address, "mailto:")) return true;
    const size_t colon = address.find("://");
    if (colon == std::string_view::npos || colon == 0) return false;
    for (char c : address.substr(0, colon))
        if (!((c | 0x20) >= 'a' && (c | 0x20) <= 'z') && !(c >= '0' && c <= '9') && c != '+' && c != '-' && c != '.')
            return false;
    return true;
}

std::vector<DroppedLink> LinksOfDrag(const DragTexts& drag)
{
    std::vector<DroppedLink> links;
    if (!drag.mozUrl.empty()) {
        // Lines of address and title, each ended by LF or CR LF (the CR goes with the trim).
        const std::vector<std::string_view> lines = SplitView(drag.mozUrl, '\n');
        for (size_t i = 0; i < lines.size(); i += 2) {
            const std::string link(TrimView(lines[i]));
            if (link.empty()) continue;
            links.push_back({link, i + 1 < lines.size() ? std::string(TrimView(lines[i + 1])) : std::string()});
        }
        // A title equal to its address is no title.
        for (DroppedLink& link : links)
            if (link.title == link.link) link.title.clear();
        if (!links.empty()) return links;
    }
    if (!drag.uriList.empty()) {
        for (std::string_view line : SplitView(drag.uriList, '\n')) {
            const std::string link(TrimView(line));
            if (!link.empty() && link[0] != '#') links.push_back({link, {}});
        }
        if (!links.empty()) return links;
    }
    if (IsOneAddress(drag.plainText)) links.push_back({std::string(TrimView(drag.plainText)), {}});
    return links;
}
