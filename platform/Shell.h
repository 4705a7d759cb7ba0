#pragma once
#include <string>

// Opens a link: a URL in the browser, a file with its program.
class Shell {
public:
    // What went wrong, in the terms the launch messages use.
    enum Error { Ok = 0, FileNotFound = 2, AccessDenied = 5, OutOfMemory = 8, NoAssociation = 31, Other = -1 };
    virtual ~Shell() = default;
    virtual Error Open(const std::string& target) = 0;
};
