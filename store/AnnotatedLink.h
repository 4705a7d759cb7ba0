#pragma once
#include <cstddef>
#include <string>

#include "store/LinkDate.h"

// One annotated link. Strings are bytes, kept exactly as read or typed.
struct CAnnotatedLink {
    std::string title;
    std::string link;
    std::string description;  // lines separated by CR LF
    std::string category;     // need not be in the Category list
    CLinkDate added;
    CLinkDate modified;

    bool operator==(const CAnnotatedLink&) const = default;

    // Records made one by one come from slabs of many, without the heap's bookkeeping
    // for each: at a million links that is 16 MB.
    static void* operator new(std::size_t size);
    static void operator delete(void* record, std::size_t size) noexcept;
};
