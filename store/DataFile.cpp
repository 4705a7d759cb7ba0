#include "store/DataFile.h"

#include <algorithm>
#include <cstring>
#include <new>
#include <string>
#include <utility>

#include "store/FileIO.h"
#include "store/GuardedWrite.h"
#include "store/LinkStore.h"
#include "store/NaturalCompare.h"
#include "store/Utf.h"
#include "platform/Translate.h"

namespace {

static_assert(sizeof(double) == 8, "the data file stores IEEE binary64 doubles");

// Little-endian output through a 64 KiB buffer.
class Writer {
public:
    explicit Writer(ByteSink& sink) : m_sink(sink) {}

    void Bytes(const void* data, size_t size)
    {
        if (m_used + size > sizeof m_buffer) {
            Flush();
            if (size > sizeof m_buffer) {
                m_ok = m_ok && m_sink.Write(data, size);
                return;
            }
        }
        std::memcpy(m_buffer + m_used, data, size);
        m_used += size;
    }
    void U8(uint8_t v) { Bytes(&v, 1); }
    void U16(uint16_t v)
    {
        unsigned char b[2] = {uint8_t(v), uint8_t(v >> 8)};
        Bytes(b, 2);
    }
    void U32(uint32_t v)
    {
        unsigned char b[4] = {uint8_t(v), uint8_t(v >> 8), uint8_t(v >> 16), uint8_t(v >> 24)};
        Bytes(b, 4);
    }
    void String(std::string_view s)
    {
        size_t n = s.size();
        if (n < 255) {
            U8(uint8_t(n));
        } else if (n <= 65533) {
            U8(0xFF);
            U16(uint16_t(n));
        } else if (n <= 0xFFFFFFFFu) {
            U8(0xFF);
            U16(0xFFFF);
            U32(uint32_t(n));
        } else {
            m_ok = false;  // not representable in the file
            return;
        }
        Bytes(s.data(), n);
    }
    void Date(const CLinkDate& d)
    {
        U32(uint32_t(d.status));
        uint64_t bits;
        std::memcpy(&bits, &d.value, 8);
        U32(uint32_t(bits));
        U32(uint32_t(bits >> 32));
    }
    bool Finish()
    {
        Flush();
        return m_ok;
    }

private:
    void Flush()
    {
        if (m_used) m_ok = m_ok && m_sink.Write(m_buffer, m_used);
        m_used = 0;
    }

    ByteSink& m_sink;
    unsigned char m_buffer[1 << 16];
    size_t m_used = 0;
    bool m_ok = true;
};

// Little-endian input through a 64 KiB buffer; every length is checked against what
// the source still holds before anything is allocated for it.
class Reader {
public:
    explicit Reader(ByteSource& source) : m_source(source) {}

    bool Ok() const { return m_ok; }
    uint64_t Remaining() const { return (m_end - m_pos) + m_source.Remaining(); }

    bool Bytes(void* out, size_t size)
    {
        if (!m_ok) return false;
        char* dst = static_cast<char*>(out);
        while (size > 0) {
            if (m_pos == m_end && !Fill()) return Fail();
            size_t n = size < size_t(m_end - m_pos) ? size : size_t(m_end - m_pos);
            std::memcpy(dst, m_pos, n);
            m_pos += n;
            dst += n;
            size -= n;
        }
        return true;
    }
    bool U8(uint8_t& v) { return Bytes(&v, 1); }
    bool U16(uint16_t& v)
    {
        unsigned char b[2];
        if (!Bytes(b, 2)) return false;
        v = uint16_t(b[0] | (b[1] << 8));
        return true;
    }
    bool U32(uint32_t& v)
    {
        unsigned char b[4];
        if (!Bytes(b, 4)) return false;
        v = uint32_t(b[0]) | (uint32_t(b[1]) << 8) | (uint32_t(b[2]) << 16) | (uint32_t(b[3]) << 24);
        return true;
    }
    bool I32(int32_t& v)
    {
        uint32_t u;
        if (!U32(u)) return false;
        v = int32_t(u);
        return true;
    }
    bool Date(CLinkDate& d)
    {
        uint32_t status, lo, hi;
        if (!U32(status) || !U32(lo) || !U32(hi)) return false;
        uint64_t bits = (uint64_t(hi) << 32) | lo;
        d.status = int32_t(status);
        std::memcpy(&d.value, &bits, 8);
        return true;
    }

    // A length prefix: one byte below 255, else FF and a uint16, or FF FF FF and a
    // uint32. marker is set for FF FE FF (UTF-16 text follows).
    bool Length(uint32_t& length, bool& marker)
    {
        marker = false;
        uint8_t b;
        if (!U8(b)) return false;
        if (b < 255) {
            length = b;
            return true;
        }
        uint16_t w;
        if (!U16(w)) return false;
        if (w == 0xFFFE) {
            marker = true;
            return true;
        }
        if (w == 0xFFFF) return U32(length);
        length = w;
        return true;
    }

    bool String(std::string& out)
    {
        uint32_t length;
        bool marker;
        if (!Length(length, marker)) return false;
        if (!marker) {
            if (length > Remaining()) return Fail();
            // Most texts lie whole in the buffer and are taken from it in one step.
            if (length <= size_t(m_end - m_pos)) {
                out.assign(m_pos, length);
                m_pos += length;
                return true;
            }
            out.resize(length);
            return Bytes(out.data(), length);
        }
        if (!Length(length, marker)) return false;
        if (marker) return Fail();  // a marker after a marker
        uint64_t bytes = uint64_t(length) * 2;
        if (bytes > Remaining()) return Fail();
        std::string wide(size_t(bytes), '\0');
        if (!Bytes(wide.data(), size_t(bytes))) return false;
        out.clear();
        AppendUtf16LeAsUtf8(reinterpret_cast<const unsigned char*>(wide.data()), length, out);
        return true;
    }

private:
    bool Fill()
    {
        size_t n = m_source.Read(m_buffer, sizeof m_buffer);
        m_pos = m_buffer;
        m_end = m_buffer + n;
        return n > 0;
    }
    bool Fail()
    {
        m_ok = false;
        return false;
    }

    ByteSource& m_source;
    char m_buffer[1 << 16];
    const char* m_pos = m_buffer;
    const char* m_end = m_buffer;
    bool m_ok = true;
};

// The smallest version 2 record, to bound how many a file can hold.
constexpr uint64_t kMinRecordV2 = 4 + 24;

// Everything after the version: the Category list, the Clear-selection value and the records.
ReadStatus ScanBody(LinkStore& store, Reader& in, bool singleDate, const std::function<void(CReadRecord&)>& visit,
                    ReadResult& result)
{
    const int before = store.Count();
    if (before == 0) store.ClearCategories();
    int32_t categoryField;
    if (!in.I32(categoryField)) return ReadStatus::ReadError;
    if (categoryField > 0) {
        std::vector<std::string> names;
        // Whatever was read before a failure stays.
        auto keep = [&] { store.AddCategories(names); };
        for (int32_t i = 0; i < categoryField - 1; ++i) {
            names.emplace_back();
            if (!in.String(names.back())) {
                names.pop_back();
                keep();
                return ReadStatus::ReadError;
            }
        }
        keep();
        std::string clear;
        if (!in.String(clear)) return ReadStatus::ReadError;
        if (clear == "LAST" || clear == "NONE" || store.HasCategory(clear)) {
            if (before == 0) store.SetClearSelection(clear);
        } else {
            store.InsertCategorySorted(clear);
        }
    }

    int32_t count;
    if (!in.I32(count)) return ReadStatus::ReadError;
    result.declared = count;
    result.countRead = true;
    // One record's buffers are reused, so a visitor that keeps nothing allocates nothing.
    CReadRecord record;
    for (int32_t i = 0; i < count; ++i) {
        if (!in.String(record.title) || !in.String(record.link) || !in.String(record.description) ||
            !in.String(record.category) || !in.Date(record.added))
            return ReadStatus::ReadError;
        if (singleDate)
            record.modified = record.added;
        else if (!in.Date(record.modified))
            return ReadStatus::ReadError;
        visit(record);
        ++result.records;
    }
    // Bytes after the last declared record: the count was damaged, and the file holds links
    // that were not read (a save of what was read would drop them).
    result.extraBytes = in.Remaining();
    if (result.extraBytes > 0) return ReadStatus::ReadError;
    return ReadStatus::Ok;
}

}  // namespace

const char* const kOutOfMemoryMessage =
    TrNoop("Store", "Could not read the data file into memory.  Close another application and try again.");

bool WriteDataFile(const LinkStore& store, ByteSink& sink)
{
    auto lock = store.Lock();
    auto writer = std::make_unique<Writer>(sink);
    writer->U32(2);
    const auto& categories = store.Categories();
    writer->U32(uint32_t(categories.size() + 1));
    for (const auto& name : categories) writer->String(name);
    writer->String(store.ClearSelection());
    writer->U32(uint32_t(store.Count()));
    for (int i = 0; i < store.Count(); ++i) {
        const CAnnotatedLink& r = store.At(i);
        writer->String(r.Title());
        writer->String(r.Link());
        writer->String(r.Description());
        writer->String(r.Category());
        writer->Date(r.Added());
        writer->Date(r.Modified());
    }
    return writer->Finish();
}

std::string ReadProblem(const ReadResult& result)
{
    std::string text;
    if (!result.countRead)
        text = Tr("Store", "The file ends before its links.");
    else if (result.declared < 0)
        text = Fill(Tr("Store", "Its count of links is damaged (%1), and %2 bytes of links follow it."),
                    {std::to_string(result.declared), std::to_string(result.extraBytes)});
    else if (result.extraBytes > 0)
        text = Fill(result.declared == 1 ? Tr("Store", "It holds %1 more bytes after the %2 link it says it holds: its "
                                                       "count of links is damaged.")
                                         : Tr("Store", "It holds %1 more bytes after the %2 links it says it holds: its "
                                                       "count of links is damaged."),
                    {std::to_string(result.extraBytes), std::to_string(result.declared)});
    else if (result.records < result.declared)
        text = Fill(Tr("Store", "The file ends early, in link %1 of %2."),
                    {std::to_string(result.records + 1), std::to_string(result.declared)});
    else
        return "";
    return text + Fill(result.records == 1 ? Tr("Store", "  %1 link was read; the file itself is kept as it is.")
                                           : Tr("Store", "  %1 links were read; the file itself is kept as it is."),
                       {std::to_string(result.records)});
}

std::string ReadFailureMessage(const std::string& path, const ReadResult& result)
{
    std::string text = FormatPathMessage(Tr("Store", "Could not read annotated links from \"%.259s\"."), path);
    if (const std::string problem = ReadProblem(result); !problem.empty()) text += "  " + problem;
    return text;
}

const char* RefusalMessage(const ReadResult& result)
{
    if (result.status == ReadStatus::VersionRefused) return TrNoop("Store", "Cannot load a data file that has a higher version number.");
    if (result.status == ReadStatus::OutOfMemory) return kOutOfMemoryMessage;
    return nullptr;
}

ReadResult ScanDataFile(LinkStore& store, ByteSource& source, const std::function<void(CReadRecord&)>& visit)
{
    auto lock = store.Lock();
    ReadResult result;
    auto reader = std::make_unique<Reader>(source);
    Reader& in = *reader;

    int32_t version;
    if (!in.I32(version)) return {ReadStatus::ReadError, 0};
    result.version = version;
    if (version > 2) {
        result.status = ReadStatus::VersionRefused;
        return result;
    }

    // Every allocation of the read, the Category list's included, ends in the same message.
    try {
        result.status = ScanBody(store, in, version == 1, visit, result);
    } catch (const std::bad_alloc&) {
        result.status = ReadStatus::OutOfMemory;
    }
    return result;
}

ReadResult ReadDataFile(LinkStore& store, ByteSource& source)
{
    auto lock = store.Lock();
    const int before = store.Count();
    std::vector<LinkStore::Record> records;
    // Records are added in one step at the end, so that a view follows with one change.
    try {
        records.reserve(size_t(std::min<uint64_t>(source.Remaining() / kMinRecordV2, 1u << 20)));
    } catch (const std::bad_alloc&) {
        // The list grows as it reads instead.
    }
    // A record is kept only once it is whole.
    ReadResult result = ScanDataFile(store, source, [&](CReadRecord& read) {
        records.push_back(std::make_unique<CAnnotatedLink>(read.title, read.link, read.description, read.category,
                                                           read.added, read.modified));
    });
    // Whatever was read before a failure stays in the store.
    const bool inserted = store.InsertRecords(before, records);
    if (!inserted && result.status == ReadStatus::Ok) {
        result.status = ReadStatus::OutOfMemory;
    }
    return result;
}
