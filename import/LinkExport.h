#pragma once
#include <string>
#include <vector>

class ByteSink;
class LinkStore;

// The formats Export writes. Each one reads back through Import with the same links,
// categories, descriptions, tags and dates (to the second).
enum class ExportFormat {
    Html,      // the bookmark file browsers import (BookmarkExport.h)
    Xbel,      // XML for KDE and Floccus: a folder per level of a category, dates, descriptions
    Markdown,  // a heading per category, a list of [title](link) with the description under it
    Csv,       // RFC 4180: title,link,category,description,tags,added,modified
    Json,      // {"norvelle-links": [{title, link, description, category, tags, added, modified}]}
};

// "html", "xbel", "markdown" (or "md"), "csv", "json"; false for another name.
bool ExportFormatNamed(const std::string& name, ExportFormat& format);
// The format a file name's ending asks for (".xbel", ".md", ...), Html otherwise.
ExportFormat ExportFormatOfFileName(const std::string& name);

// Writes the links of the store (or only those of rows, ascending) in the format; false
// when the sink fails. Texts that are not UTF-8 are written as the list shows them.
bool ExportLinks(const LinkStore& store, ByteSink& sink, const std::vector<int>& rows, ExportFormat format);
