#include "store/DiskStamp.h"

#include <new>

#define XXH_STATIC_LINKING_ONLY
#include <xxhash.h>

namespace {

DiskStamp FileStamp(const std::string& path, const ContentHash& hash)
{
    DiskStamp stamp{DiskStamp::Kind::File, hash.Size(), FileLastWriteSeconds(path)};
    hash.Value(stamp.hash, stamp.hash2);
    return stamp;
}

}  // namespace

void ContentHash::Free::operator()(XXH3_state_s* state) const { XXH3_freeState(state); }

ContentHash::ContentHash() : m_state(XXH3_createState())
{
    if (!m_state) throw std::bad_alloc();
    XXH3_128bits_reset(m_state.get());
}

ContentHash::~ContentHash() = default;

void ContentHash::Add(const void* data, size_t size)
{
    m_size += size;
    XXH3_128bits_update(m_state.get(), data, size);
}

void ContentHash::Value(uint64_t& low, uint64_t& high) const
{
    const XXH128_hash_t value = XXH3_128bits_digest(m_state.get());
    low = value.low64;
    high = value.high64;
}

size_t HashingSource::Read(void* data, size_t size)
{
    const size_t n = m_inner.Read(data, size);
    m_hash.Add(data, n);
    return n;
}

DiskStamp HashingSource::Finish(const std::string& path)
{
    char buffer[1 << 16];
    while (Read(buffer, sizeof buffer) > 0) {
    }
    if (Failed()) return {DiskStamp::Kind::Other};
    return FileStamp(path, m_hash);
}

bool HashingSink::Write(const void* data, size_t size)
{
    m_hash.Add(data, size);
    return m_inner.Write(data, size);
}

DiskStamp HashingSink::Stamp(const std::string& path) const { return FileStamp(path, m_hash); }

DiskStamp StampOf(const std::string& path)
{
    if (!PathExists(path)) return {};
    FileSource source;
    if (!FileExists(path) || !source.Open(path)) return {DiskStamp::Kind::Other};
    return HashingSource(source).Finish(path);
}
