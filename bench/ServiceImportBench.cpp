// Importing 100,000 links from each service's export and each format Export writes: the
// file read whole, parsed, and every link made into a record with its dates, tags and the
// check for links already there, as Import does.
//   bench_service_import [LINKS]
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "import/LinkExport.h"
#include "import/LinkIntake.h"
#include "import/ServiceFormats.h"
#include "store/FileIO.h"
#include "store/LinkStore.h"

namespace {


std::string Number(int i) { return std::to_string(i); }

// The services' own shapes, with a title, an address, a note and two tags a link.
std::string Service(ServiceFormat format, int links)
{
    std::string out;
    const int64_t base = 1600000000;
    switch (format) {
    case ServiceFormat::PocketCsv:
        out = "title,url,time_added,tags,status\n";
        for (int i = 0; i < links; ++i)
            out += "\"Article " + Number(i) + ", a title\",https://site" + Number(i % 997) + ".example/post/" + Number(i) + "," +
                   std::to_string(base + i) + ",news|tech," + (i % 3 ? "archive" : "unread") + "\n";
        break;
    case ServiceFormat::PinboardJson:
        out = "[";
        for (int i = 0; i < links; ++i)
            out += std::string(i ? ",\n" : "") + "{\"href\":\"https://site" + Number(i % 997) + ".example/post/" + Number(i) +
                   "\",\"description\":\"Article " + Number(i) + "\",\"extended\":\"A note about it\",\"meta\":\"m\","
                   "\"hash\":\"h\",\"time\":\"2020-09-13T12:26:40Z\",\"shared\":\"no\",\"toread\":\"yes\",\"tags\":\"news tech\"}";
        out += "]";
        break;
    case ServiceFormat::RaindropCsv:
        out = "id,title,note,excerpt,url,folder,tags,created,cover,highlights,favorite\n";
        for (int i = 0; i < links; ++i)
            out += Number(i) + ",Article " + Number(i) + ",\"A note\nover two lines\",An excerpt,https://site" +
                   Number(i % 997) + ".example/post/" + Number(i) + ",Reading/Later,\"news, tech\",2020-09-13T12:26:40.000Z,,,false\n";
        break;
    case ServiceFormat::InstapaperCsv:
        out = "URL,Title,Selection,Folder,Timestamp,Tags\n";
        for (int i = 0; i < links; ++i)
            out += "https://site" + Number(i % 997) + ".example/post/" + Number(i) + ",Article " + Number(i) +
                   ",A quote,Unread," + std::to_string(base + i) + ",\"[\"\"news\"\"]\"\n";
        break;
    case ServiceFormat::WallabagJson:
        out = "[";
        for (int i = 0; i < links; ++i)
            out += std::string(i ? ",\n" : "") + "{\"is_archived\":0,\"is_starred\":0,\"tags\":[\"news\",\"tech\"],\"title\":\"Article " +
                   Number(i) + "\",\"url\":\"https://site" + Number(i % 997) + ".example/post/" + Number(i) +
                   "\",\"created_at\":\"2020-09-13T14:26:40+0200\",\"updated_at\":\"2020-09-13T14:26:40+0200\","
                   "\"reading_time\":3,\"domain_name\":\"site.example\",\"annotations\":[]}";
        out += "]";
        break;
    case ServiceFormat::OneTabText:
        for (int i = 0; i < links; ++i)
            out += "https://site" + Number(i % 997) + ".example/post/" + Number(i) + " | Article " + Number(i) + "\n" +
                   (i % 50 == 49 ? "\n" : "");
        break;
    case ServiceFormat::PocketHtml:
        out = "<!DOCTYPE html><html><head><title>Pocket Export</title></head><body><h1>Unread</h1><ul>\n";
        for (int i = 0; i < links; ++i)
            out += "<li><a href=\"https://site" + Number(i % 997) + ".example/post/" + Number(i) + "\" time_added=\"" +
                   std::to_string(base + i) + "\" tags=\"news,tech\">Article " + Number(i) + "</a></li>\n";
        out += "</ul></body></html>\n";
        break;
    default: break;
    }
    return out;
}

// A collection as Export writes it: links over 200 categories, each with a description and tags.
std::string Exported(ExportFormat format, int links)
{
    LinkStore store;
    CUnixDates dates;
    for (int i = 0; i < links; ++i)
        if (!store.InsertLink(i, "Article " + Number(i), "https://site" + Number(i % 997) + ".example/post/" + Number(i),
                              "A note about it\r\nTags: news, tech", "Topic " + Number(i % 200) + "|Sub",
                              dates.DateOf(1600000000 + i), dates.DateOf(1600000000 + i)))
            std::exit(1);
    StringSink sink;
    ExportLinks(store, sink, {}, format);
    return sink.bytes;
}

double Import(ServiceFormat format, const std::string& text, int& made)
{
    const auto start = std::chrono::steady_clock::now();
    LinkStore store;
    CUnixDates dates;
    CLinkIntake intake(store, dates.DateOf(1700000000), IntakeOptions{true, true});
    std::vector<LinkStore::Record> records;
    BookmarkTarget target;
    target.add = [&](ImportedLink&& link) {
        LinkStore::Record record;
        if (intake.Take(std::move(link), record) != CLinkIntake::Result::Made) return Intake::Skipped;
        records.push_back(std::move(record));
        return Intake::Added;
    };
    ReadCounts counts;
    std::string error;
    if (!ReadServiceText(format, text, target, counts, error)) {
        std::fprintf(stderr, "%s: %s\n", ServiceFormatName(format), error.c_str());
        std::exit(1);
    }
    if (!store.InsertRecords(0, records)) std::exit(1);
    made = store.Count();
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

}  // namespace

int main(int argc, char** argv)
{
    const int links = argc > 1 ? std::atoi(argv[1]) : 100000;
    std::printf("Import of %d links, read from memory into a store (seconds, best of 3):\n", links);
    auto run = [&](ServiceFormat format, const std::string& text) {
        double best = 1e9;
        int made = 0;
        for (int round = 0; round < 3; ++round) best = std::min(best, Import(format, text, made));
        std::printf("  %-16s %6.3f s  (%d links, %.1f MiB)\n", ServiceFormatName(format), best, made,
                    double(text.size()) / (1 << 20));
    };
    for (ServiceFormat format : {ServiceFormat::PocketCsv, ServiceFormat::PocketHtml, ServiceFormat::PinboardJson,
                                 ServiceFormat::RaindropCsv, ServiceFormat::InstapaperCsv, ServiceFormat::WallabagJson,
                                 ServiceFormat::OneTabText})
        run(format, Service(format, links));
    const std::pair<ExportFormat, ServiceFormat> kOwn[] = {{ExportFormat::Xbel, ServiceFormat::Xbel},
                                                            {ExportFormat::Markdown, ServiceFormat::NorvelleMarkdown},
                                                            {ExportFormat::Csv, ServiceFormat::NorvelleCsv},
                                                            {ExportFormat::Json, ServiceFormat::NorvelleJson}};
    for (const auto& [out, in] : kOwn) run(in, Exported(out, links));
    return 0;
}
