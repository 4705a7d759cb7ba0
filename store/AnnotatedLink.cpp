#include "store/AnnotatedLink.h"

#include <algorithm>
#include <cstring>
#include <iterator>
#include <mutex>
#include <utility>
#include <new>
#include <vector>

#include "common/Sanitizers.h"

namespace {

// Fixed-size places for records, taken from slabs and given back to a free list. The
// slabs stay for the life of the process, kept here so that a leak checker sees them.
class RecordSlabs {
public:
    void* Take()
    {
        std::lock_guard<std::mutex> lock(m_lock);
        if (!m_free) Grow();
        Place* place = m_free;
        m_free = place->next;
        return place;
    }
    void Give(void* record) noexcept
    {
        std::lock_guard<std::mutex> lock(m_lock);
        Place* place = static_cast<Place*>(record);
        place->next = m_free;
        m_free = place;
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

// Under the address sanitizer every record is the heap's, so that a record used after it
// was freed (an Undo step holding a stale pointer) is still reported.
#if defined(NORVELLE_ADDRESS_SANITIZER)
constexpr bool kSlabs = false;
#else
constexpr bool kSlabs = true;
#endif

}  // namespace

void* CAnnotatedLink::operator new(std::size_t size)
{
    // A type derived from this one, larger, is left to the heap.
    if (!kSlabs || size != sizeof(CAnnotatedLink)) return ::operator new(size);
    return Slabs().Take();
}

void CAnnotatedLink::operator delete(void* record, std::size_t size) noexcept
{
    if (!record) return;
    if (!kSlabs || size != sizeof(CAnnotatedLink)) return ::operator delete(record);
    Slabs().Give(record);
}

CAnnotatedLink::CAnnotatedLink(std::string_view title, std::string_view link, std::string_view description,
                               std::string_view category, const CLinkDate& added, const CLinkDate& modified)
{
    SetTexts(title, link, description, category);
    SetAdded(added);
    SetModified(modified);
}

CAnnotatedLink::CAnnotatedLink(const CAnnotatedLink& other)
    : m_addedStatus(other.m_addedStatus),
      m_modifiedStatus(other.m_modifiedStatus),
      m_addedValue(other.m_addedValue),
      m_modifiedValue(other.m_modifiedValue)
{
    const std::string_view texts[4] = {other.Title(), other.Description(), other.Link(), other.Category()};
    Assign(texts);
}

CAnnotatedLink::CAnnotatedLink(CAnnotatedLink&& other) noexcept
    : m_bytes(std::exchange(other.m_bytes, nullptr)),
      m_addedStatus(other.m_addedStatus),
      m_modifiedStatus(other.m_modifiedStatus),
      m_addedValue(other.m_addedValue),
      m_modifiedValue(other.m_modifiedValue)
{
    std::copy(std::begin(other.m_sizes), std::end(other.m_sizes), m_sizes);
    std::fill(std::begin(other.m_sizes), std::end(other.m_sizes), 0);
}

CAnnotatedLink& CAnnotatedLink::operator=(const CAnnotatedLink& other)
{
    if (this != &other) {
        const std::string_view texts[4] = {other.Title(), other.Description(), other.Link(), other.Category()};
        Assign(texts);
        SetAdded(other.Added());
        SetModified(other.Modified());
    }
    return *this;
}

CAnnotatedLink& CAnnotatedLink::operator=(CAnnotatedLink&& other) noexcept
{
    if (this != &other) {
        delete[] m_bytes;
        m_bytes = std::exchange(other.m_bytes, nullptr);
        std::copy(std::begin(other.m_sizes), std::end(other.m_sizes), m_sizes);
        std::fill(std::begin(other.m_sizes), std::end(other.m_sizes), 0);
        SetAdded(other.Added());
        SetModified(other.Modified());
    }
    return *this;
}

CAnnotatedLink::~CAnnotatedLink() { delete[] m_bytes; }

bool CAnnotatedLink::operator==(const CAnnotatedLink& other) const
{
    return Title() == other.Title() && Description() == other.Description() && Link() == other.Link() &&
           Category() == other.Category() && Added() == other.Added() && Modified() == other.Modified();
}

void CAnnotatedLink::Set(Text text, std::string_view value)
{
    std::string_view texts[4] = {Title(), Description(), Link(), Category()};
    texts[size_t(text)] = value;
    Assign(texts);
}

void CAnnotatedLink::SetTexts(std::string_view title, std::string_view link, std::string_view description,
                              std::string_view category)
{
    const std::string_view texts[4] = {title, description, link, category};
    Assign(texts);
}

void CAnnotatedLink::Assign(const std::string_view (&texts)[4])
{
    size_t total = 0;
    for (std::string_view text : texts) {
        // A size is kept in 32 bits, as the data file keeps it.
        if (text.size() > UINT32_MAX) throw std::bad_alloc();
        total += text.size();
    }
    // The new block is filled before the old one goes: a text may be a view of it.
    char* bytes = total ? new char[total] : nullptr;
    char* to = bytes;
    for (size_t i = 0; i < 4; ++i) {
        if (!texts[i].empty()) std::memcpy(to, texts[i].data(), texts[i].size());
        to += texts[i].size();
        m_sizes[i] = uint32_t(texts[i].size());
    }
    delete[] m_bytes;
    m_bytes = bytes;
}
