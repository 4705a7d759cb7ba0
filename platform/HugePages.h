#pragma once
#include <optional>
#include <string>

// A search over a large collection walks through all of its memory. On Linux with glibc,
// a heap on huge pages (2 MiB) makes that walk up to twice as fast, most of all through
// memory that was not touched for a while; glibc takes that choice only from the
// environment of a starting program. So the window starts itself once more with it, and
// then puts the environment back as the person had it, for the programs it starts.

// Called first thing in main: restarts the program with its heap on huge pages, or puts
// the environment back after such a restart. Returns unless the restart happened; a
// restart that cannot be made is simply not made.
void UseHugePagesForTheHeap(char** argv);

// The glibc tunables to start with, given the ones in the environment (null when unset):
// nothing when the person has chosen about huge pages themselves.
std::optional<std::string> TunablesWithHugePages(const char* current);

// After the restart: the environment as it was before it (the marker that the restart
// leaves tells); false when there was no restart.
bool RestoreEnvironmentAfterRestart();
