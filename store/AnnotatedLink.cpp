#include "store/AnnotatedLink.h"

#include <algorithm>
#include <cstring>
#include <iterator>
#include <mutex>
#include <new>
#include <utility>
#include <vector>
#if !defined(_WIN32)
#include <sys/mman.h>
#endif

#include "store/Sanitizers.h"

namespace {

// Fixed-size places for records, taken from slabs and given back to a free list. The
// slabs stay for the life of the process, kept here so that a leak checker sees them.
// The places and the text chunks below are the same under the address sanitizer as in
// production; the room they hold free is poisoned, so that a record or a text used after
// it was freed (an Undo step holding a stale pointer, a view of a text kept over a
// change) is still reported.
class RecordSlabs {
public:
    void* Take()
    {
        std::lock_guard<std::mutex> lock(m_lock);
        if (!m_free) Grow();
        Place* place = m_free;
        UnpoisonMemory(place, sizeof(Place));
        m_free = place->next;
        return place;
    }
    void Give(void* record) noexcept
    {
        std::lock_guard<std::mutex> lock(m_lock);
        Place* place = static_cast<Place*>(record);
        place->next = m_free;
        m_free = place;
        PoisonMemory(place, sizeof(Place));
    }

private:
    union Place {
        Place* next;
        alignas(CAnnotatedLink) unsigned char bytes[sizeof(CAnnotatedLink)];
    };
    static constexpr size_t kPlacesPerSlab = 4096;

    void Grow()
    {
        m_slabs.reserve(m_slabs.size() + 1);  // first, so that a failure leaves nothing behind
        Place* slab = static_cast<Place*>(::operator new(sizeof(Place) * kPlacesPerSlab));
        m_slabs.push_back(slab);
        for (size_t i = kPlacesPerSlab; i-- > 0;) {
            slab[i].next = m_free;
            m_free = &slab[i];
        }
        PoisonMemory(slab, sizeof(Place) * kPlacesPerSlab);
    }

    std::mutex m_lock;
    Place* m_free = nullptr;
    std::vector<Place*> m_slabs;
};

// Never destroyed: a record freed by another object's destructor at exit still has it.
RecordSlabs& Slabs()
{
    static RecordSlabs* slabs = new RecordSlabs;
    return *slabs;
}

// Room for a chunk of blocks, aligned to its size. Where the system maps memory, a chunk is
// mapped and unmapped whole, so that a chunk that goes gives its memory back at once: taken
// from the heap, chunks left the heap with gaps that a later run of records did not fill.
constexpr size_t kChunkBytes = size_t(1) << 20;

void* MapChunk()
{
#if defined(_WIN32)
    return ::operator new(kChunkBytes, std::align_val_t(kChunkBytes));
#else
    // Twice the size is mapped, and what lies outside the aligned part is unmapped again.
    void* mapped = mmap(nullptr, 2 * kChunkBytes, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (mapped == MAP_FAILED) throw std::bad_alloc();
    char* const raw = static_cast<char*>(mapped);
    char* const chunk = raw + ((kChunkBytes - reinterpret_cast<uintptr_t>(raw) % kChunkBytes) % kChunkBytes);
    if (chunk > raw) munmap(raw, size_t(chunk - raw));
    char* const end = chunk + kChunkBytes;
    if (end < raw + 2 * kChunkBytes) munmap(end, size_t(raw + 2 * kChunkBytes - end));
    return chunk;
#endif
}

void UnmapChunk(void* chunk) noexcept
{
#if defined(_WIN32)
    ::operator delete(chunk, std::align_val_t(kChunkBytes));
#else
    munmap(chunk, kChunkBytes);
#endif
}

// Blocks of texts packed one after another into chunks, without the heap's bookkeeping
// and rounding for each (16 MB at a million links). A chunk goes back to the system when
// the last of its blocks is freed; a large block is the heap's own. The room of a block
// freed is not used again before its chunk goes: blocks made together (a file read, a
// Title Case) mostly go together, and a change of one record leaves a gap of its size.
class TextChunks {
public:
    // A block of the texts, written; none when every text is empty.
    char* Make(const std::string_view (&texts)[TextBlock::kTexts])
    {
        if (std::all_of(std::begin(texts), std::end(texts), [](std::string_view text) { return text.empty(); }))
            return nullptr;
        char* block = Take(TextBlock::SizeFor(texts));
        TextBlock::Write(block, texts);
        return block;
    }
    void Free(char* block) noexcept
    {
        if (block) Give(block, TextBlock::SizeOf(block));
    }

private:
    static constexpr size_t kLargest = size_t(1) << 16;

    char* Take(size_t size)
    {
        if (size > kLargest) return new char[size];
        std::lock_guard<std::mutex> lock(m_lock);
        if (!m_current || m_current->used + size > kChunkBytes) NewChunk();
        char* block = reinterpret_cast<char*>(m_current) + m_current->used;
        UnpoisonMemory(block, size);
        m_current->used += size;
        ++m_current->live;
        return block;
    }
    // size: what Take was asked for.
    void Give(char* block, size_t size) noexcept
    {
        if (size > kLargest) {
            delete[] block;
            return;
        }
        std::lock_guard<std::mutex> lock(m_lock);
        PoisonMemory(block, size);
        Chunk* chunk = reinterpret_cast<Chunk*>(reinterpret_cast<uintptr_t>(block) & ~uintptr_t(kChunkBytes - 1));
        if (--chunk->live == 0 && chunk != m_current) Release(chunk);
    }

    // Chunks are aligned to their size, so a block's chunk is found from its address.
    struct Chunk {
        size_t used;  // bytes from the chunk's start, this header included
        size_t live;  // blocks not freed yet
    };

    void NewChunk()
    {
        auto* chunk = static_cast<Chunk*>(MapChunk());
        chunk->used = sizeof(Chunk);
        chunk->live = 0;
        PoisonMemory(reinterpret_cast<char*>(chunk) + sizeof(Chunk), kChunkBytes - sizeof(Chunk));
        Chunk* old = std::exchange(m_current, chunk);
        if (old && old->live == 0) Release(old);
    }
    static void Release(Chunk* chunk) noexcept
    {
        UnpoisonMemory(chunk, kChunkBytes);
        UnmapChunk(chunk);
    }

    std::mutex m_lock;
    Chunk* m_current = nullptr;
};

// Records' blocks, and texts kept apart from records, each in chunks of their own: a text
// kept by an Undo step and dropped with it frees its chunk instead of leaving a gap
// among records' blocks.
TextChunks& Chunks()
{
    static TextChunks* chunks = new TextChunks;
    return *chunks;
}

TextChunks& KeptChunks()
{
    static TextChunks* chunks = new TextChunks;
    return *chunks;
}

}  // namespace

void* CAnnotatedLink::operator new(std::size_t size)
{
    // A type derived from this one, larger, is left to the heap.
    if (size != sizeof(CAnnotatedLink)) return ::operator new(size);
    return Slabs().Take();
}

void CAnnotatedLink::operator delete(void* record, std::size_t size) noexcept
{
    if (!record) return;
    if (size != sizeof(CAnnotatedLink)) return ::operator delete(record);
    Slabs().Give(record);
}

CAnnotatedLink::CAnnotatedLink(std::string_view title, std::string_view link, std::string_view description,
                               std::string_view category, const CLinkDate& added, const CLinkDate& modified)
{
    std::string_view texts[TextBlock::kTexts];
    texts[size_t(Text::Title)] = title;
    texts[size_t(Text::Description)] = description;
    texts[size_t(Text::Link)] = link;
    texts[size_t(Text::Category)] = category;
    Assign(texts);
    SetAdded(added);
    SetModified(modified);
}

CAnnotatedLink::CAnnotatedLink(const CAnnotatedLink& other)
    : m_addedStatus(other.m_addedStatus),
      m_modifiedStatus(other.m_modifiedStatus),
      m_addedValue(other.m_addedValue),
      m_modifiedValue(other.m_modifiedValue)
{
    std::string_view texts[TextBlock::kTexts];
    other.TextsOf(texts);
    Assign(texts);
}

CAnnotatedLink::CAnnotatedLink(CAnnotatedLink&& other) noexcept
    : m_block(std::exchange(other.m_block, nullptr)),
      m_addedStatus(other.m_addedStatus),
      m_modifiedStatus(other.m_modifiedStatus),
      m_addedValue(other.m_addedValue),
      m_modifiedValue(other.m_modifiedValue)
{
}

CAnnotatedLink& CAnnotatedLink::operator=(const CAnnotatedLink& other)
{
    if (this != &other) {
        std::string_view texts[TextBlock::kTexts];
        other.TextsOf(texts);
        Assign(texts);
        SetAdded(other.Added());
        SetModified(other.Modified());
    }
    return *this;
}

CAnnotatedLink& CAnnotatedLink::operator=(CAnnotatedLink&& other) noexcept
{
    if (this != &other) {
        Chunks().Free(m_block);
        m_block = std::exchange(other.m_block, nullptr);
        SetAdded(other.Added());
        SetModified(other.Modified());
    }
    return *this;
}

CAnnotatedLink::~CAnnotatedLink() { Chunks().Free(m_block); }

bool CAnnotatedLink::operator==(const CAnnotatedLink& other) const
{
    return Title() == other.Title() && Description() == other.Description() && Link() == other.Link() &&
           Category() == other.Category() && Added() == other.Added() && Modified() == other.Modified();
}

void CAnnotatedLink::Set(Text text, std::string_view value)
{
    // A text of the same size is written over where it is (a Title Case changes no block):
    // a block's room is not used again before its chunk goes.
    const std::string_view old = Get(text);
    if (value.size() == old.size()) {
        if (!value.empty()) std::memmove(m_block + (old.data() - m_block), value.data(), value.size());
        return;
    }
    std::string_view texts[TextBlock::kTexts];
    TextsOf(texts);
    texts[size_t(text)] = value;
    Assign(texts);
}

void CAnnotatedLink::TextsOf(std::string_view (&texts)[TextBlock::kTexts]) const
{
    for (size_t i = 0; i < TextBlock::kTexts; ++i) texts[i] = Get(Text(i));
}

void CAnnotatedLink::Assign(const std::string_view (&texts)[TextBlock::kTexts])
{
    // The new block is written before the old one goes: a text may be a view of it.
    char* block = Chunks().Make(texts);
    Chunks().Free(m_block);
    m_block = block;
}

CPackedText::CPackedText(std::string_view text)
{
    const std::string_view texts[] = {text, {}, {}, {}};
    m_block = KeptChunks().Make(texts);
}

CPackedText& CPackedText::operator=(CPackedText&& other) noexcept
{
    if (this != &other) {
        KeptChunks().Free(m_block);
        m_block = std::exchange(other.m_block, nullptr);
    }
    return *this;
}

CPackedText::~CPackedText() { KeptChunks().Free(m_block); }
