#pragma once
#include <cstdint>
#include <memory>
#include <string>

#include "store/FileIO.h"

struct XXH3_state_s;

// What is on disk at a path, enough to tell whether another program changed it: its
// size, its modification time and a hash of its content.
struct DiskStamp {
    enum class Kind { Missing, File, Other };  // Other: a folder, or a file that cannot be read
    Kind kind = Kind::Missing;
    uint64_t size = 0;
    int64_t modified = 0;  // seconds since 1970
    uint64_t hash = 0;     // the content's 128-bit hash, in two halves
    uint64_t hash2 = 0;

    // A new time on the same bytes is no change.
    bool SameContent(const DiskStamp& other) const
    {
        return kind == other.kind && size == other.size && hash == other.hash && hash2 == other.hash2;
    }
};

// XXH3's 128-bit hash: any change of the bytes shows, and no few flipped bits can cancel
// each other out as they could in a simple multiplicative hash. The value does not depend
// on how the bytes are split into pieces, so a file hashed while it is read or written
// gets the value that reading it whole gives.
class ContentHash {
public:
    ContentHash();
    ~ContentHash();
    ContentHash(const ContentHash&) = delete;
    ContentHash& operator=(const ContentHash&) = delete;
    void Add(const void* data, size_t size);
    // The two halves of the hash of what was added so far.
    void Value(uint64_t& low, uint64_t& high) const;
    uint64_t Size() const { return m_size; }

private:
    struct Free {
        void operator()(XXH3_state_s* state) const;
    };
    std::unique_ptr<XXH3_state_s, Free> m_state;
    uint64_t m_size = 0;
};

// Hashes what a reader takes from a file, so that loading it needs no second reading.
class HashingSource : public ByteSource {
public:
    explicit HashingSource(ByteSource& inner) : m_inner(inner) {}
    size_t Read(void* data, size_t size) override;
    uint64_t Remaining() const override { return m_inner.Remaining(); }
    bool Failed() const override { return m_inner.Failed(); }
    // Reads what the reader left (bytes after the last record) and stamps the whole file.
    DiskStamp Finish(const std::string& path);

private:
    ByteSource& m_inner;
    ContentHash m_hash;
};

// Hashes what a writer puts into a file, so that saving it needs no reading back.
class HashingSink : public ByteSink {
public:
    explicit HashingSink(ByteSink& inner) : m_inner(inner) {}
    bool Write(const void* data, size_t size) override;
    // The stamp of the file once it is committed at path.
    DiskStamp Stamp(const std::string& path) const;

private:
    ByteSink& m_inner;
    ContentHash m_hash;
};

// Reads the file through once to hash it.
DiskStamp StampOf(const std::string& path);
