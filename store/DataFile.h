#pragma once
#include <cstdint>
#include <functional>
#include <string>

#include "store/LinkDate.h"

class ByteSink;
class ByteSource;
class LinkStore;

enum class ReadStatus {
    Ok,              // the whole file was read
    ReadError,       // the file ended early or a length could not be satisfied
    VersionRefused,  // a higher version; nothing was read
    OutOfMemory,     // reading stopped for lack of memory; what was read stays
};

struct ReadResult {
    ReadStatus status = ReadStatus::Ok;
    int32_t version = 0;     // as read (0 when not even the version could be read)
    bool countRead = false;  // whether the reader got as far as the count of links
    int64_t declared = 0;    // how many links the file says it holds
    int64_t records = 0;     // how many were read whole
    uint64_t extraBytes = 0; // bytes after the last declared link: the count is damaged
};

// Why a file was not read whole, and how much of it was: the sentences that follow
// "Could not read annotated links from ...".
std::string ReadProblem(const ReadResult& result);
// "Could not read annotated links from "path"." with the reason after it.
std::string ReadFailureMessage(const std::string& path, const ReadResult& result);

// What is said when the records do not fit in memory, by the read and by whatever adds
// many records at once.
extern const char* const kOutOfMemoryMessage;

// Writes the whole store, version 2. False when the sink fails.
bool WriteDataFile(const LinkStore& store, ByteSink& sink);

// Reads a data file after the records already in the store. Shows nothing: the caller
// reports the result (RefusalMessage, ReadFailureMessage).
[[nodiscard]] ReadResult ReadDataFile(LinkStore& store, ByteSource& source);

// What is said when a read was refused (a newer version of the file) or ran out of
// memory; null for any other result.
const char* RefusalMessage(const ReadResult& result);

// A record as the file holds it, in buffers that the next record read reuses.
struct CReadRecord {
    std::string title;
    std::string link;
    std::string description;
    std::string category;
    CLinkDate added;
    CLinkDate modified;
};

// Reads a data file as ReadDataFile does, but hands each record to visit (one object,
// reused) instead of adding it to the store; the Category list and Clear-selection
// value still go into the store.
[[nodiscard]] ReadResult ScanDataFile(LinkStore& store, ByteSource& source,
                                      const std::function<void(CReadRecord&)>& visit);
