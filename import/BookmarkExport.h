#pragma once
#include <vector>

class ByteSink;
class LinkStore;

// Writes every link of the store as a standard bookmark file that browsers import: one
// folder (H3 with its DL list) per level of a category ("Work|Clients" is Clients inside
// Work), each link an anchor with HREF, ADD_DATE and LAST_MODIFIED (seconds since 1970)
// and its title, its description as a DD, a last "Tags: a, b" line of it as the TAGS
// attribute; texts escaped as HTML. False when the sink fails.
// With rows given (ascending), only the links of those rows.
bool ExportBookmarks(const LinkStore& store, ByteSink& sink, const std::vector<int>& rows = {});
