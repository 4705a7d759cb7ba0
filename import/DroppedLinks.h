#pragma once
#include <string>
#include <vector>

// A link dragged from a browser (its address bar, a link in a page, a bookmark) or a
// file manager, before it becomes a record.
struct DroppedLink {
    std::string link;
    std::string title;  // empty when the drag carries none
};

// What a drag carries, in the forms browsers give it (UTF-8 each; empty when absent):
// "text/x-moz-url" (address and title on alternate lines), "text/uri-list" (one address
// a line, # comments), and plain text, which counts only when it is one address.
struct DragTexts {
    std::string mozUrl;
    std::string uriList;
    std::string plainText;
};

// The links of a drag, the richest form first; none when it carries no address.
std::vector<DroppedLink> LinksOfDrag(const DragTexts& drag);

// Plain text that is one address: no blank inside, and a scheme with "//" (https://,
// file:///), mailto:, or a host that begins with "www.".
bool IsOneAddress(const std::string& text);
