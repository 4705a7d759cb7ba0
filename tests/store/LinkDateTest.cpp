#include <gtest/gtest.h>

#include "store/LinkDate.h"

#include <cstdlib>
#include <ctime>

TEST(LinkDate, ConvertsLocalTimeBothWays)
{
    EXPECT_EQ(LinkDateFromLocal({2009, 1, 1, 0, 0, 0}).value, 39814.0);
    EXPECT_EQ(LinkDateFromLocal({1899, 12, 30, 0, 0, 0}).value, 0.0);
    EXPECT_EQ(LinkDateFromLocal({1899, 12, 29, 6, 0, 0}).value, -1.25);  // time counts forward
    EXPECT_DOUBLE_EQ(LinkDateFromLocal({2009, 6, 5, 14, 7, 9}).value, 39969.0 + (14 * 3600 + 7 * 60 + 9) / 86400.0);
    EXPECT_EQ(LinkDateFromLocal({2009, 2, 29, 0, 0, 0}).status, CLinkDate::Invalid);
    EXPECT_EQ(LinkDateFromLocal({2009, 1, 1, 24, 0, 0}).status, CLinkDate::Invalid);

    for (LocalTime t : {LocalTime{2009, 6, 5, 14, 7, 9}, LocalTime{1899, 12, 29, 6, 0, 0}, LocalTime{2000, 2, 29, 23, 59, 59},
                        LocalTime{100, 1, 1, 0, 0, 1}, LocalTime{9999, 12, 31, 23, 59, 59}}) {
        LocalTime back;
        ASSERT_TRUE(LinkDateToLocal(LinkDateFromLocal(t), back));
        EXPECT_EQ(back, t);
    }
    // Values just short of a whole second round to it, also across midnight.
    LocalTime t;
    ASSERT_TRUE(LinkDateToLocal({0, 39814.0 - 1e-9}, t));
    EXPECT_EQ(t, (LocalTime{2009, 1, 1, 0, 0, 0}));
    EXPECT_FALSE(LinkDateToLocal({CLinkDate::Null, 1.0}, t));
    EXPECT_FALSE(LinkDateToLocal({0, 1e300}, t));
}

TEST(LinkDate, FormatsListAndRecordStyles)
{
    auto list = [](LocalTime t) { return FormatLinkDate(LinkDateFromLocal(t), DateStyle::List); };
    EXPECT_EQ(list({2009, 6, 5, 14, 7, 9}), "05-June-2009  02:07:09 PM");
    EXPECT_EQ(list({2009, 6, 5, 0, 0, 0}), "05-June-2009  12:00:00 AM");
    EXPECT_EQ(list({2009, 6, 5, 12, 0, 0}), "05-June-2009  12:00:00 PM");
    EXPECT_EQ(list({2009, 9, 15, 11, 59, 59}), "15-Sept-2009  11:59:59 AM");
    EXPECT_EQ(FormatLinkDate(LinkDateFromLocal({2009, 3, 5, 1, 0, 0}), DateStyle::Record), "Modified: 5-March-2009");

    const char* months[] = {"Jan", "Feb", "March", "April", "May", "June", "July", "Aug", "Sept", "Oct", "Nov", "Dec"};
    for (int m = 1; m <= 12; ++m)
        EXPECT_EQ(FormatLinkDate(LinkDateFromLocal({2020, m, 10, 0, 0, 0}), DateStyle::Record),
                  std::string("Modified: 10-") + months[m - 1] + "-2020");

    // Never set, invalid and null dates are empty in both styles.
    for (CLinkDate d : {CLinkDate{}, CLinkDate{0, 0.5}, CLinkDate{CLinkDate::Invalid, 39814.0}, CLinkDate{CLinkDate::Null, 39814.0}}) {
        EXPECT_EQ(FormatLinkDate(d, DateStyle::List), "");
        EXPECT_EQ(FormatLinkDate(d, DateStyle::Record), "");
    }
}

#if defined(__unix__)
TEST(LinkDate, OtherProgramsDatesTakeTheOffsetInForceEveryQuarterHour)
{
    // Zones that change by an hour (either hemisphere), by half an hour, and once by a
    // quarter: every quarter hour of the year of a change, and a moment inside it, as the
    // system reads it. (Each test runs in a process of its own.)
    const struct {
        const char* zone;
        int year;
    } cases[] = {{"Europe/Berlin", 2024}, {"America/Sao_Paulo", 2018}, {"Australia/Lord_Howe", 2024},
                 {"Asia/Kathmandu", 1986}};
    for (const auto& c : cases) {
        setenv("TZ", c.zone, 1);
        tzset();
        CUnixDates dates;
        std::tm start{};
        start.tm_year = c.year - 1900;
        start.tm_mday = 1;
        const int64_t first = int64_t(timegm(&start));
        for (int64_t at = first; at < first + 366 * 86400; at += 900) {
            for (int64_t moment : {at, at + 899}) {
                const std::time_t t = std::time_t(moment);
                std::tm local{};
                ASSERT_TRUE(localtime_r(&t, &local));
                const CLinkDate expected = LinkDateFromLocal({local.tm_year + 1900, local.tm_mon + 1, local.tm_mday,
                                                              local.tm_hour, local.tm_min, local.tm_sec});
                ASSERT_EQ(dates.DateOf(moment), expected) << c.zone << ' ' << moment;
            }
        }
    }
}
#endif
