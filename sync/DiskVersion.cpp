#include "sync/DiskVersion.h"

#include <cstring>

namespace {

constexpr uint64_t kPrime = 1099511628211ull;

DiskStamp FileStamp(const std::string& path, const ContentHash& hash)
{
    return {DiskStamp::Kind::File, hash.Size(), FileLastWriteSeconds(path), hash.Value()};
}

}  // namespace

void ContentHash::Add(const void* data, size_t size)
{
    const auto* bytes = static_cast<const unsigned char*>(data);
    m_size += size;
    while (size > 0 && m_tailSize > 0) {
        m_tail[m_tailSize++] = *bytes++;
        --size;
        if (m_tailSize == 8) {
            uint64_t word;
            std::memcpy(&word, m_tail, 8);
            m_hash = (m_hash ^ word) * kPrime;
            m_tailSize = 0;
        }
    }
    for (; size >= 8; bytes += 8, size -= 8) {
        uint64_t word;
        std::memcpy(&word, bytes, 8);
        m_hash = (m_hash ^ word) * kPrime;
    }
    std::memcpy(m_tail + m_tailSize, bytes, size);
    m_tailSize += size;
}

uint64_t ContentHash::Value() const
{
    uint64_t hash = m_hash;
    for (size_t i = 0; i < m_tailSize; ++i) hash = (hash ^ m_tail[i]) * kPrime;
    return hash;
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
