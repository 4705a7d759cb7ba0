#pragma once
#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_map>

#include "platform/Clock.h"

// A date and time as the data file stores it: an OLE Automation date (days since
// 30 December 1899 00:00, local time, the fraction being the time of day) with a status.
struct CLinkDate {
    enum Status : int32_t { Valid = 0, Invalid = 1, Null = 2 };
    int32_t status = Valid;
    double value = 0.0;

    bool operator==(const CLinkDate&) const = default;
};

// Builds a valid date from a local time; out-of-range fields give an invalid date.
CLinkDate LinkDateFromLocal(const LocalTime& t);

// The date and time it is now, by the clock.
inline CLinkDate NowDate(Clock& clock) { return LinkDateFromLocal(clock.Now()); }

// Splits a valid date into local time, rounded to the nearest second. Returns false
// for an invalid or null date and for values outside years 100 to 9999.
bool LinkDateToLocal(const CLinkDate& d, LocalTime& out);

enum class DateStyle { List, Record };

// "2024-03-05T10:20:30Z", with a fraction or an offset ("+02:00", "+0200") or without
// either (UTC), or a date alone, as seconds since 1970; false for anything else.
bool ParseIsoTime(std::string_view text, int64_t& seconds);
// Seconds since 1970 as "2024-03-05T10:20:30Z"; empty for 0.
std::string FormatIsoTime(int64_t seconds);


// "05-June-2009  02:07:09 PM" (list) or "Modified: 5-June-2009" (record); empty for
// an invalid or null date and for the never-set year 1899.
std::string FormatLinkDate(const CLinkDate& d, DateStyle style);

// Dates of other programs, which count seconds since 1970 in UTC, and ours, kept in local
// time. Asking the system for the local offset is slow, and offsets change only at quarter
// hours, a few times a year: a day whose first and last quarter hours have one offset has
// it throughout and is asked about once; a day with a change, once a quarter hour.
class CUnixDates {
public:
    // The local date of a moment; invalid outside years 100 to 9999.
    CLinkDate DateOf(int64_t seconds);
    // The moment of a local date; 0 for one never set, invalid or before 1970.
    int64_t SecondsOf(const CLinkDate& date);

private:
    int64_t OffsetAt(int64_t seconds);
    std::unordered_map<int64_t, int64_t> m_days;      // day since 1970 (UTC) -> offset, or a mark of a change
    std::unordered_map<int64_t, int64_t> m_quarters;  // quarter hour of a day with a change -> offset
};
