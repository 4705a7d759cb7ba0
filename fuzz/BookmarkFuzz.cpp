// The bookmark file reader on any bytes: no crash, no hang, and never more links than
// the file has tags.
#include <cstdio>
#include <unistd.h>

#include "fuzz/FuzzInput.h"
#include "import/BookmarkImport.h"
#include "import/BrowserStores.h"
#include "options/CountFormatter.h"
#include "platform/Prompter.h"

namespace {
struct Agreeing : Prompter {
    Answer Show(const std::string&, Icon, Buttons, bool) override { return Answer::Yes; }
};
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static const std::string path = [] {
        char pattern[] = "/tmp/norvelle_fuzz_bookmarks_XXXXXX";
        return std::string(mkdtemp(pattern)) + "/bookmarks.html";
    }();
    std::FILE* f = std::fopen(path.c_str(), "wb");
    std::fwrite(data, 1, size, f);
    std::fclose(f);
    size_t tags = 0;
    for (size_t i = 0; i < size; ++i) tags += data[i] == '<';
    size_t links = 0;
    BookmarkTarget target;
    target.add = [&](ImportedLink&& link) {
        if (link.title.empty() && link.link.empty()) return Intake::Refused;
        FUZZ_CHECK(link.title.size() <= kMaxImportedField && link.link.size() <= kMaxImportedField);
        ++links;
        return Intake::Added;
    };
    Agreeing yes;
    std::string kindOf = path;
    const SourceKind kind = SourceKindOf(kindOf);
    const ImportSummary summary = ImportBookmarkFile(path, yes, CCountFormatter(true, ","), target);
    FUZZ_CHECK(size_t(summary.count) == links);
    // A bookmark file's links are anchors; a Chromium file's are JSON objects.
    if (kind == SourceKind::BookmarkFile) FUZZ_CHECK(links <= tags);
    return 0;
}
