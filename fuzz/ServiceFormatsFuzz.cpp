// The readers of the services' exports on any bytes: the first byte picks the format. No
// crash, no hang, every text within its bound, and a refused file gives no link. Then
// what the export writes of those links reads back as many.
#include "fuzz/FuzzInput.h"
#include "import/LinkExport.h"
#include "import/LinkIntake.h"
#include "import/ServiceFormats.h"
#include "store/FileIO.h"
#include "store/LinkStore.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size == 0) return 0;
    const auto format = ServiceFormat(1 + data[0] % int(ServiceFormat::NorvelleMarkdown));
    const std::string_view text(reinterpret_cast<const char*>(data + 1), size - 1);
    (void)ServiceFormatOf(text);
    LinkStore store;
    CUnixDates dates;
    CLinkIntake intake(store, dates.DateOf(1), IntakeOptions{});
    size_t links = 0;
    BookmarkTarget target;
    target.add = [&](ImportedLink&& link) {
        FUZZ_CHECK(link.title.size() <= kMaxImportedField && link.link.size() <= kMaxImportedField &&
                   link.category.size() <= kMaxImportedField);
        ++links;
        LinkStore::Record record;
        if (intake.Take(std::move(link), record) == CLinkIntake::Result::Made) {
            std::vector<LinkStore::Record> one;
            one.push_back(std::move(record));
            FUZZ_CHECK(store.InsertRecords(store.Count(), one));
        }
        return Intake::Added;
    };
    ReadCounts counts;
    std::string error;
    const bool read = ReadServiceText(format, text, target, counts, error);
    FUZZ_CHECK(read || links == 0);
    FUZZ_CHECK(read || !error.empty());
    // Whatever was read goes out and back whole in the program's own formats.
    for (ExportFormat out : {ExportFormat::Csv, ExportFormat::Json, ExportFormat::Xbel, ExportFormat::Markdown}) {
        StringSink sink;
        FUZZ_CHECK(ExportLinks(store, sink, {}, out));
        int back = 0;
        BookmarkTarget counter;
        counter.add = [&](ImportedLink&&) {
            ++back;
            return Intake::Added;
        };
        ReadCounts again;
        FUZZ_CHECK(ReadServiceText(ServiceFormatOf(sink.bytes), sink.bytes, counter, again, error));
        FUZZ_CHECK(back + again.empty == store.Count());
    }
    return 0;
}
