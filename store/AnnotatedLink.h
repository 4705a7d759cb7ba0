#pragma once
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
};
