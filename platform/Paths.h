#pragma once
#include <string>

// Where the user's documents and the program's own files are.
class Paths {
public:
    virtual ~Paths() = default;
    // The documents folder, without a trailing separator; empty when unknown.
    virtual std::string DocumentsFolder() = 0;
    virtual std::string ProgramFolder() = 0;
    // The program's own per-user state (recovery copies of interrupted saves).
    virtual std::string StateFolder() = 0;
    // The person's home folder, where browsers keep their profiles.
    virtual std::string HomeFolder() = 0;
};
