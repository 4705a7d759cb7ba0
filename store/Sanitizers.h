#pragma once

// Which sanitizer this build runs under, for the few places that must act otherwise there
// (GCC names them with its own macros, Clang through __has_feature).
#if defined(__has_feature)
#if __has_feature(address_sanitizer)
#define NORVELLE_ADDRESS_SANITIZER 1
#endif
#if __has_feature(thread_sanitizer)
#define NORVELLE_THREAD_SANITIZER 1
#endif
#endif
#if defined(__SANITIZE_ADDRESS__)
#define NORVELLE_ADDRESS_SANITIZER 1
#endif
#if defined(__SANITIZE_THREAD__)
#define NORVELLE_THREAD_SANITIZER 1
#endif

#include <cstddef>
#if defined(NORVELLE_ADDRESS_SANITIZER)
#include <sanitizer/asan_interface.h>
#endif

// An allocator of our own marks the room it holds free as poisoned, so that the address
// sanitizer reports a use of it as it would a use of freed heap memory.
inline void PoisonMemory([[maybe_unused]] const void* start, [[maybe_unused]] std::size_t size)
{
#if defined(NORVELLE_ADDRESS_SANITIZER)
    ASAN_POISON_MEMORY_REGION(start, size);
#endif
}
inline void UnpoisonMemory([[maybe_unused]] const void* start, [[maybe_unused]] std::size_t size)
{
#if defined(NORVELLE_ADDRESS_SANITIZER)
    ASAN_UNPOISON_MEMORY_REGION(start, size);
#endif
}
