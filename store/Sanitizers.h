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
