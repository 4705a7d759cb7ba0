#include "cli/CliCommands.h"

#include <cmath>
#include <cstring>
#include <iostream>
#include <ostream>

#ifdef _WIN32
#include <io.h>
#define isatty _isatty
#else
#include <unistd.h>
#endif

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include "store/JsonText.h"
#include "cli/PlainText.h"
#include "search/RecordSearch.h"
#include "platform/Prompter.h"
#include "store/DataFile.h"
#include "store/DiskStamp.h"
#include "store/WriterTurn.h"
#include "store/FileIO.h"
#include "store/GuardedWrite.h"
#include "store/LinkStore.h"
#include "store/Utf.h"
#include "cli/StreamPrompter.h"

namespace {

// "key": "text", plus "keyBytes": "hex" when the bytes are not valid UTF-8.
void AppendTextField(std::string& out, const char* key, std::string_view bytes)
{
    out += '"';
    out += key;
    out += "\": ";
    bool valid = IsValidUtf8(bytes);
    AppendJsonString(out, valid ? bytes : Windows1252ToUtf8(bytes));
    if (!valid) {
        out += ", \"";
        out += key;
        out += "Bytes\": \"";
        out += ToHex(bytes);
        out += '"';
    }
}

void AppendDate(std::string& out, const char* key, const CLinkDate& d)
{
    out += '"';
    out += key;
    out += "\": {\"status\": " + std::to_string(d.status) + ", \"value\": ";
    if (std::isfinite(d.value) && !(d.value == 0.0 && std::signbit(d.value))) {
        out += JsonNumber(d.value);
    } else {
        uint64_t bits;
        std::memcpy(&bits, &d.value, 8);
        char hex[20];
        std::snprintf(hex, sizeof hex, "%016llx", (unsigned long long)bits);
        out += "null, \"valueBits\": \"";
        out += hex;
        out += '"';
    }
    out += '}';
}

// The whole collection as JSON, written out in pieces of about 64 KiB as it is made.
void WriteStoreJson(const LinkStore& store, int32_t version, std::ostream& stream)
{
    std::string out = "{\"version\": " + std::to_string(version) + ", \"categories\": [";
    for (size_t i = 0; i < store.Categories().size(); ++i) {
        const std::string& name = store.Categories()[i];
        if (i) out += ", ";
        if (IsValidUtf8(name)) {
            AppendJsonString(out, name);
        } else {
            out += '{';
            AppendTextField(out, "text", name);
            out += '}';
        }
    }
    out += "], ";
    AppendTextField(out, "clearSelection", store.ClearSelection());
    out += ", \"records\": [";
    for (int i = 0; i < store.Count(); ++i) {
        const CAnnotatedLink& r = store.At(i);
        out += i ? ",\n  {" : "\n  {";
        AppendTextField(out, "title", r.Title());
        out += ", ";
        AppendTextField(out, "link", r.Link());
        out += ", ";
        AppendTextField(out, "description", r.Description());
        out += ", ";
        AppendTextField(out, "category", r.Category());
        out += ", ";
        AppendDate(out, "added", r.Added());
        out += ", ";
        AppendDate(out, "modified", r.Modified());
        out += '}';
        if (out.size() > (1u << 16)) {
            stream.write(out.data(), std::streamsize(out.size()));
            out.clear();
        }
    }
    out += store.Count() ? "\n]}\n" : "]}\n";
    stream.write(out.data(), std::streamsize(out.size()));
}

// Reading the JSON back: every problem names the place where it was found.
struct JsonError {
    std::string message;
};

std::string TextOf(const QJsonObject& object, const char* key, const std::string& where)
{
    QJsonValue bytes = object.value(QString(key) + "Bytes");
    if (!bytes.isUndefined()) {
        std::string out;
        if (!bytes.isString() || !FromHex(bytes.toString().toStdString(), out))
            throw JsonError{where + "." + key + "Bytes: expected a string of hex digit pairs"};
        return out;
    }
    QJsonValue text = object.value(key);
    if (!text.isString()) throw JsonError{where + "." + key + ": expected a string"};
    return text.toString().toStdString();
}

CLinkDate DateOf(const QJsonObject& object, const char* key, const std::string& where)
{
    std::string here = where + "." + key;
    QJsonValue v = object.value(key);
    if (!v.isObject()) throw JsonError{here + ": expected an object with \"status\" and \"value\""};
    QJsonObject date = v.toObject();
    CLinkDate d;
    QJsonValue status = date.value("status");
    if (!status.isDouble() || status.toDouble() != std::floor(status.toDouble()) || status.toDouble() < INT32_MIN ||
        status.toDouble() > INT32_MAX)
        throw JsonError{here + ".status: expected a 32-bit integer"};
    d.status = int32_t(status.toDouble());
    QJsonValue bits = date.value("valueBits");
    if (!bits.isUndefined()) {
        std::string raw;
        if (!bits.isString() || !FromHex(bits.toString().toStdString(), raw) || raw.size() != 8)
            throw JsonError{here + ".valueBits: expected 16 hex digits"};
        uint64_t u = 0;
        for (unsigned char c : raw) u = (u << 8) | c;
        std::memcpy(&d.value, &u, 8);
        return d;
    }
    QJsonValue value = date.value("value");
    if (!value.isDouble()) throw JsonError{here + ".value: expected a number"};
    d.value = value.toDouble();
    return d;
}

void FillStore(const QJsonDocument& doc, LinkStore& store)
{
    if (!doc.isObject()) throw JsonError{"the document is not a JSON object"};
    QJsonObject root = doc.object();
    QJsonValue categories = root.value("categories");
    if (!categories.isArray()) throw JsonError{"categories: expected an array"};
    // Names are kept in the given order: the file is written exactly as described.
    std::vector<std::string> names;
    int index = 0;
    for (const QJsonValue& v : categories.toArray()) {
        std::string where = "categories[" + std::to_string(index++) + "]";
        if (v.isString())
            names.push_back(v.toString().toStdString());
        else if (v.isObject())
            names.push_back(TextOf(v.toObject(), "text", where));
        else
            throw JsonError{where + ": expected a string"};
    }
    store.SetCategoriesInOrder(names);
    store.SetClearSelection(TextOf(root, "clearSelection", "document"));
    QJsonValue records = root.value("records");
    if (!records.isArray()) throw JsonError{"records: expected an array"};
    index = 0;
    for (const QJsonValue& v : records.toArray()) {
        std::string where = "records[" + std::to_string(index++) + "]";
        if (!v.isObject()) throw JsonError{where + ": expected an object"};
        QJsonObject r = v.toObject();
        // One field after the other, so that the first problem is the one reported.
        std::string title = TextOf(r, "title", where);
        std::string link = TextOf(r, "link", where);
        std::string description = TextOf(r, "description", where);
        std::string category = TextOf(r, "category", where);
        CLinkDate added = DateOf(r, "added", where);
        CLinkDate modified = DateOf(r, "modified", where);
        if (!store.InsertLink(store.Count(), title, link, description, category, added, modified))
            throw JsonError{where + ": " + kOutOfMemoryMessage};
    }
}

}  // namespace

namespace {
bool g_leaveStoresToProcessEnd = false;
}  // namespace

CommandStore::CommandStore() : m_store(new LinkStore) {}

CommandStore::~CommandStore()
{
    if (!g_leaveStoresToProcessEnd) delete m_store;
}

void CommandStore::LeaveToProcessEnd() { g_leaveStoresToProcessEnd = true; }

bool OpenDataFile(const std::string& dataFile, FileSource& source, std::ostream& err)
{
    // A fifo or a device would keep the read waiting, or never end it: a data file is a file.
    if (PathExists(dataFile) && !FileExists(dataFile)) {
        err << "norvelle-cli: \"" << dataFile << "\" is not a file\n";
        return false;
    }
    if (const std::string recovered = RecoverInterruptedWrite(dataFile); !recovered.empty()) err << recovered << '\n';
    if (source.Open(dataFile)) return true;
    err << "norvelle-cli: cannot open \"" << dataFile << "\"\n";
    return false;
}

bool WriteOutputFile(const std::string& target, WritePolicy policy, bool replace, const char* failure,
                     const std::function<bool(ByteSink&)>& produce, std::ostream& err, const std::string& consequence)
{
    policy.replaceConfirmed = policy.replaceConfirmed || replace;
    policy.mayStream = true;
    WriteResult result = GuardedWrite(target, policy, produce);
    const std::string after = consequence.empty() ? "" : "  " + consequence;
    if (result.outcome == WriteResult::Outcome::NeedsAnswer) {
        const std::string question = ReplaceQuestion(target, std::to_string(result.links), result.links);
        if (isatty(0)) {
            err << question << " [y/N] " << std::flush;
            std::string answer;
            std::getline(std::cin, answer);
            if (answer == "y" || answer == "Y" || answer == "yes") {
                policy.replaceConfirmed = true;
                result = GuardedWrite(target, policy, produce);
            }
        }
        if (result.outcome == WriteResult::Outcome::NeedsAnswer) {
            err << FormatPathMessage(failure, target) << "  " << question << "  Give --replace to replace "
                << (result.links > 1 ? "them." : "it.") << after << '\n';
            return false;
        }
    }
    if (result.Ok()) return true;
    err << WriteFailureMessage(failure, target, result) << after << '\n';
    return false;
}

bool TakeWriterTurn(const std::string& dataFile, WriterTurn& turn, std::ostream& err)
{
    if (turn.Take(dataFile)) return true;
    err << FormatPathMessage("Could not save annotated links into \"%.259s\".", dataFile) << "  " << turn.Reason()
        << "  Nothing was written.\n";
    return false;
}

int ReadWholeDataFile(const std::string& dataFile, LinkStore& store, bool mayBeMissing, std::ostream& err,
                      DiskStamp* stamp)
{
    if (stamp) *stamp = DiskStamp{};
    if (mayBeMissing && !PathExists(dataFile)) return kExitOk;
    FileSource source;
    if (!OpenDataFile(dataFile, source, err)) return kExitUsage;
    HashingSource hashing(source);
    const ReadResult read = ReadDataFile(store, hashing);
    if (const char* refused = RefusalMessage(read)) err << refused << '\n';
    const ReadStatus status = read.status;
    if (stamp && status == ReadStatus::Ok) *stamp = hashing.Finish(dataFile);
    if (status == ReadStatus::VersionRefused) return kExitRefused;
    if (status != ReadStatus::Ok || source.Failed()) {
        if (source.Failed())
            err << FormatPathMessage("Could not read annotated links from \"%.259s\".", dataFile) << '\n';
        else if (status == ReadStatus::ReadError)
            err << ReadFailureMessage(dataFile, read) << '\n';
        return kExitFailed;
    }
    return kExitOk;
}

int DumpCommand(const std::string& dataFile, std::ostream& out, std::ostream& err)
{
    FileSource source;
    if (!OpenDataFile(dataFile, source, err)) return kExitUsage;
    CommandStore holder;
    LinkStore& store = *holder;
    ReadResult result = ReadDataFile(store, source);
    if (const char* refused = RefusalMessage(result)) err << refused << '\n';
    if (result.status == ReadStatus::VersionRefused) {
        out << "{}\n";
        return kExitRefused;
    }
    WriteStoreJson(store, result.version, out);
    if (result.status == ReadStatus::Ok) return kExitOk;
    if (result.status == ReadStatus::ReadError) err << ReadFailureMessage(dataFile, result) << '\n';
    return kExitFailed;
}

int BuildCommand(const std::string& jsonFile, const std::string& dataFile, std::ostream& err, bool replace)
{
    QFile file(QString::fromStdString(jsonFile));
    if (!file.open(QIODevice::ReadOnly)) {
        err << "norvelle-cli: cannot open \"" << jsonFile << "\"\n";
        return kExitUsage;
    }
    QJsonParseError parseError;
    QJsonDocument doc = QJsonDocument::fromJson(file.readAll(), &parseError);
    if (parseError.error != QJsonParseError::NoError) {
        err << "norvelle-cli: " << jsonFile << ": invalid JSON at offset " << parseError.offset << ": "
            << parseError.errorString().toStdString() << '\n';
        return kExitUsage;
    }
    CommandStore holder;
    LinkStore& store = *holder;
    try {
        FillStore(doc, store);
    } catch (const JsonError& e) {
        err << "norvelle-cli: " << jsonFile << ": " << e.message << '\n';
        return kExitUsage;
    }
    // Written as the program would write it after loading it: the Category list sorted
    // and without repeats, the Clear-selection value one the program can hold. A file
    // the program wrote is unchanged by this, so dump and build stay byte exact.
    StringSink raw;
    WriteDataFile(store, raw);
    LinkStore loaded;
    MemorySource source(raw.bytes);
    const ReadResult reread = ReadDataFile(loaded, source);
    if (const char* refused = RefusalMessage(reread)) err << refused << '\n';
    if (reread.status != ReadStatus::Ok) return kExitFailed;
    WritePolicy policy;
    policy.dataFile = true;
    policy.inputs = {jsonFile};
    const bool written = WriteOutputFile(dataFile, policy, replace, "Could not save annotated links into \"%.259s\".",
                                         [&](ByteSink& sink) { return WriteDataFile(loaded, sink); }, err);
    return written ? kExitOk : kExitFailed;
}

