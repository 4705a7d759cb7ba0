#pragma once
#include <string>
#include <unordered_set>

#include "import/ImportedLink.h"
#include "store/LinkDate.h"
#include "store/LinkStore.h"

// How an import treats what it reads.
struct IntakeOptions {
    bool keepDates = true;      // the dates the source saved; else the time of the import
    bool skipExisting = false;  // leave out a link already in the list
};

// Turns the links an import reads into records of a store: the tags as the description's
// last line, the source's dates (or the current time where it has none), and, when asked,
// a link that points where one in the list already points left out (the same address
// rule as Find Duplicates).
class CLinkIntake {
public:
    CLinkIntake(LinkStore& store, const CLinkDate& now, IntakeOptions options);

    enum class Result { Made, Skipped, Empty };
    // The record for link, not yet in the store (Made); Empty when it has neither title
    // nor link, which ends an import.
    Result Take(ImportedLink&& link, LinkStore::Record& record);

private:
    CLinkDate DateOf(int64_t seconds, const CLinkDate& otherwise);

    LinkStore& m_store;
    CLinkDate m_now;
    IntakeOptions m_options;
    CUnixDates m_dates;
    std::unordered_set<std::string> m_existing;  // keys of the links in the list
};
