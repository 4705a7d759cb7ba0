#include "store/AnnotatedLink.h"

#include <mutex>
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
    : m_added(added), m_modified(modified)
{
    SetTexts(title, link, description, category);
}

void CAnnotatedLink::SetTexts(std::string_view title, std::string_view link, std::string_view description,
                              std::string_view category)
{
    SetTitle(title);
    SetLink(link);
    SetDescription(description);
    SetCategory(category);
}
