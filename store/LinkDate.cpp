#include "store/LinkDate.h"

#include "platform/Translate.h"
#include "store/NaturalCompare.h"

#include <cmath>
#include <cstdio>
#include <ctime>

namespace {

// Days from 1970-01-01 to the given proleptic Gregorian date.
constexpr long long DaysFromCivil(long long y, unsigned m, unsigned d)
{
    y -= m <= 2;
    const long long era = (y >= 0 ? y : y - 399) / 400;
    const unsigned yoe = unsigned(y - era * 400);
    const unsigned doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
    const unsigned doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + (long long)doe - 719468;
}

void CivilFromDays(long long z, int& y, int& m, int& d)
{
    z += 719468;
    const long long era = (z >= 0 ? z : z - 146096) / 146097;
    const unsigned doe = unsigned(z - era * 146097);
    const unsigned yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const unsigned doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const unsigned mp = (5 * doy + 2) / 153;
    d = int(doy - (153 * mp + 2) / 5 + 1);
    m = int(mp < 10 ? mp + 3 : mp - 9);
    y = int(yoe + era * 400 + (m <= 2));
}

constexpr long long kOleEpoch = DaysFromCivil(1899, 12, 30);

bool IsLeap(int y) { return (y % 4 == 0 && y % 100 != 0) || y % 400 == 0; }

int DaysInMonth(int y, int m)
{
    static const int days[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    return m == 2 && IsLeap(y) ? 29 : days[m - 1];
}

const char* const kMonthNames[12] = {TrNoop("Store", "Jan"),  TrNoop("Store", "Feb"),  TrNoop("Store", "March"),
                                     TrNoop("Store", "April"), TrNoop("Store", "May"),  TrNoop("Store", "June"),
                                     TrNoop("Store", "July"), TrNoop("Store", "Aug"),  TrNoop("Store", "Sept"),
                                     TrNoop("Store", "Oct"),  TrNoop("Store", "Nov"),  TrNoop("Store", "Dec")};

}  // namespace

CLinkDate LinkDateFromLocal(const LocalTime& t)
{
    CLinkDate d;
    if (t.year < 100 || t.year > 9999 || t.month < 1 || t.month > 12 || t.day < 1 ||
        t.day > DaysInMonth(t.year, t.month) || t.hour < 0 || t.hour > 23 || t.minute < 0 ||
        t.minute > 59 || t.second < 0 || t.second > 59) {
        d.status = CLinkDate::Invalid;
        return d;
    }
    long long days = DaysFromCivil(t.year, unsigned(t.month), unsigned(t.day)) - kOleEpoch;
    double frac = (t.hour * 3600 + t.minute * 60 + t.second) / 86400.0;
    // Before the epoch the fraction still counts forward from midnight, so it is
    // subtracted: -1.25 is 29 December 1899 06:00.
    d.value = days >= 0 ? double(days) + frac : double(days) - frac;
    return d;
}

bool LinkDateToLocal(const CLinkDate& d, LocalTime& out)
{
    if (d.status != CLinkDate::Valid || !std::isfinite(d.value)) return false;
    // The supported range is years 100 to 9999, as for the original date type.
    if (d.value < -657435.0 || d.value >= 2958466.0) return false;
    double whole = std::trunc(d.value);
    double frac = std::fabs(d.value - whole);
    long long seconds = std::llround(frac * 86400.0);
    long long days = (long long)whole;
    if (seconds >= 86400) {  // rounding carried into the next day
        seconds -= 86400;
        days += 1;
    }
    CivilFromDays(days + kOleEpoch, out.year, out.month, out.day);
    out.hour = int(seconds / 3600);
    out.minute = int(seconds / 60 % 60);
    out.second = int(seconds % 60);
    return out.year >= 100 && out.year <= 9999;
}

std::string FormatLinkDate(const CLinkDate& d, DateStyle style)
{
    LocalTime t;
    if (!LinkDateToLocal(d, t) || t.year == 1899) return {};
    char buf[64];
    if (style == DateStyle::List) {
        int h12 = t.hour % 12 == 0 ? 12 : t.hour % 12;
        std::snprintf(buf, sizeof buf, "%02d-%s-%d  %02d:%02d:%02d %cM", t.day, Tr("Store", kMonthNames[t.month - 1]).c_str(),
                      t.year, h12, t.minute, t.second, t.hour < 12 ? 'A' : 'P');
        return buf;
    }
    return Fill(Tr("Store", "Modified: %1-%2-%3"),
                {std::to_string(t.day), Tr("Store", kMonthNames[t.month - 1]), std::to_string(t.year)});
}

namespace {

constexpr int64_t kQuarter = 900, kQuartersADay = 96;
// A day whose offset changes: its quarter hours are asked about one by one.
constexpr int64_t kChanges = INT64_MIN;

int64_t FloorDiv(int64_t a, int64_t b) { return a >= 0 ? a / b : (a - (b - 1)) / b; }

// What the system gives as the local offset at the start of a quarter hour.
int64_t SystemOffset(int64_t quarter)
{
    const std::time_t moment = std::time_t(quarter * kQuarter);
    std::tm tm{};
#ifdef _WIN32
    const bool ok = localtime_s(&tm, &moment) == 0;
#else
    const bool ok = localtime_r(&moment, &tm) != nullptr;
#endif
    if (!ok) return 0;
    const int64_t local = DaysFromCivil(tm.tm_year + 1900LL, unsigned(tm.tm_mon + 1), unsigned(tm.tm_mday)) * 86400 +
                          tm.tm_hour * 3600 + tm.tm_min * 60 + tm.tm_sec;
    return local - quarter * kQuarter;
}

}  // namespace

int64_t CUnixDates::OffsetAt(int64_t seconds)
{
    const int64_t quarter = FloorDiv(seconds, kQuarter);
    const int64_t day = FloorDiv(quarter, kQuartersADay);
    auto it = m_days.find(day);
    if (it == m_days.end()) {
        const int64_t first = SystemOffset(day * kQuartersADay);
        const int64_t last = SystemOffset(day * kQuartersADay + kQuartersADay - 1);
        it = m_days.emplace(day, first == last ? first : kChanges).first;
    }
    if (it->second != kChanges) return it->second;
    auto q = m_quarters.find(quarter);
    if (q == m_quarters.end()) q = m_quarters.emplace(quarter, SystemOffset(quarter)).first;
    return q->second;
}

CLinkDate CUnixDates::DateOf(int64_t seconds)
{
    // Beyond these the calendar of the data file ends anyway.
    if (seconds < -60000000000LL || seconds > 250000000000LL) return CLinkDate{CLinkDate::Invalid, 0.0};
    const int64_t local = seconds + OffsetAt(seconds);
    const int64_t days = FloorDiv(local, 86400);
    const int64_t rest = local - days * 86400;
    LocalTime t;
    CivilFromDays(days, t.year, t.month, t.day);
    t.hour = int(rest / 3600);
    t.minute = int(rest / 60 % 60);
    t.second = int(rest % 60);
    return LinkDateFromLocal(t);
}

int64_t CUnixDates::SecondsOf(const CLinkDate& date)
{
    LocalTime t;
    if (!LinkDateToLocal(date, t) || t.year < 1970) return 0;
    const int64_t local = DaysFromCivil(t.year, unsigned(t.month), unsigned(t.day)) * 86400 + t.hour * 3600 +
                          t.minute * 60 + t.second;
    // The offset in force at that moment: the one found at the moment it would be with
    // the offset of a moment near it, which differs only around a change of the clocks.
    int64_t seconds = local - OffsetAt(local);
    seconds = local - OffsetAt(seconds);
    return seconds < 0 ? 0 : seconds;
}

namespace {

bool IsoDigits(std::string_view text, size_t at, size_t count, int& value)
{
    if (at + count > text.size()) return false;
    value = 0;
    for (size_t i = at; i < at + count; ++i) {
        if (text[i] < '0' || text[i] > '9') return false;
        value = value * 10 + (text[i] - '0');
    }
    return true;
}

}  // namespace

bool ParseIsoTime(std::string_view text, int64_t& seconds)
{
    text = TrimView(text);
    int year, month, day, hour = 0, minute = 0, second = 0;
    if (!IsoDigits(text, 0, 4, year) || text.size() < 10 || text[4] != '-' || !IsoDigits(text, 5, 2, month) ||
        text[7] != '-' || !IsoDigits(text, 8, 2, day) || month < 1 || month > 12 || day < 1 || day > 31)
        return false;
    size_t at = 10;
    int64_t offset = 0;
    if (at < text.size()) {
        if ((text[at] != 'T' && text[at] != ' ') || !IsoDigits(text, at + 1, 2, hour) || text.size() < at + 6 ||
            text[at + 3] != ':' || !IsoDigits(text, at + 4, 2, minute) || hour > 23 || minute > 59)
            return false;
        at += 6;
        if (at < text.size() && text[at] == ':') {
            if (!IsoDigits(text, at + 1, 2, second) || second > 60) return false;
            at += 3;
        }
        if (at < text.size() && (text[at] == '.' || text[at] == ',')) {
            ++at;
            while (at < text.size() && text[at] >= '0' && text[at] <= '9') ++at;
        }
        if (at < text.size() && text[at] == 'Z') {
            ++at;
        } else if (at < text.size() && (text[at] == '+' || text[at] == '-')) {
            int oh, om = 0;
            const bool colon = at + 3 < text.size() && text[at + 3] == ':';
            if (!IsoDigits(text, at + 1, 2, oh) || (at + 3 < text.size() && !IsoDigits(text, at + (colon ? 4 : 3), 2, om)))
                return false;
            offset = (text[at] == '+' ? 1 : -1) * (int64_t(oh) * 3600 + int64_t(om) * 60);
            at += at + 3 < text.size() ? (colon ? 6 : 5) : 3;
        }
        if (at != text.size()) return false;
    }
    seconds = DaysFromCivil(year, unsigned(month), unsigned(day)) * 86400 + hour * 3600 + minute * 60 + second - offset;
    return true;
}

std::string FormatIsoTime(int64_t seconds)
{
    if (seconds == 0) return {};
    const int64_t days = seconds >= 0 ? seconds / 86400 : (seconds - 86399) / 86400;
    const int64_t rest = seconds - days * 86400;
    int y, m, d;
    CivilFromDays(days, y, m, d);
    char out[40];
    std::snprintf(out, sizeof out, "%04d-%02d-%02dT%02d:%02d:%02dZ", y, m, d, int(rest / 3600), int(rest / 60 % 60),
                  int(rest % 60));
    return out;
}
