#pragma once
#include <cstdint>

class ByteSink;
class ByteSource;
class LinkStore;
class Prompter;

enum class ReadStatus {
    Ok,              // the whole file was read
    ReadError,       // the file ended early or a length could not be satisfied
    VersionRefused,  // a higher version; nothing was read
    OutOfMemory,     // reading stopped for lack of memory; what was read stays
};

struct ReadResult {
    ReadStatus status = ReadStatus::Ok;
    int32_t version = 0;  // as read (0 when not even the version could be read)
};

// Writes the whole store, version 2. False when the sink fails.
bool WriteDataFile(const LinkStore& store, ByteSink& sink);

// Reads a data file after the records already in the store. Shows the version and
// out-of-memory messages itself; a read error is reported by the caller.
ReadResult ReadDataFile(LinkStore& store, ByteSource& source, Prompter& prompter);
