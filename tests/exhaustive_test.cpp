// Every date of the supported range against an oracle that is not this
// project's code: the standard library's civil calendar.

#include "date/calendar.h"
#include "date/date_text.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdint>
#include <cstdio>
#include <string>

#include "reading.h"

namespace {

using std::chrono::day;
using std::chrono::month;
using std::chrono::sys_days;
using std::chrono::year;
using std::chrono::year_month_day;

constexpr int32_t FIRST_READABLE_YEAR = 1400;

int32_t oracle_days_since_1900(const year_month_day& date) {
    constexpr sys_days origin{year{1900} / 1 / 1};
    return static_cast<int32_t>((sys_days{date} - origin).count());
}

// Runs `check` on every date from 1 Jan 1400 to 31 Dec 9999; returns how many.
template <typename Check>
int32_t for_each_readable_date(Check check) {
    const sys_days last{year{LAST_YEAR} / 12 / 31};
    int32_t count = 0;
    for (sys_days d{year{FIRST_READABLE_YEAR} / 1 / 1}; d <= last; d += std::chrono::days{1}) {
        const year_month_day ymd{d};
        check(ymd, static_cast<int32_t>(unsigned{ymd.month()}),
              static_cast<int32_t>(unsigned{ymd.day()}), static_cast<int32_t>(int{ymd.year()}));
        ++count;
    }
    return count;
}

TEST(Exhaustive, DayNumbersAgreeWithTheOracle) {
    int32_t previous = day_number(12, 31, FIRST_READABLE_YEAR - 1);
    const int32_t count = for_each_readable_date(
        [&](const year_month_day& ymd, int32_t m, int32_t d, int32_t y) {
            const int32_t number = day_number(m, d, y);
            ASSERT_EQ(number - 19001, oracle_days_since_1900(ymd)) << m << "/" << d << "/" << y;
            ASSERT_EQ(number - previous, 1) << m << "/" << d << "/" << y;
            previous = number;
        });
    EXPECT_EQ(count, 3'141'085);
}

// Validity over every month of every year 1-9999: the last day is valid, the
// day after it is not, and neither is day 0.
TEST(Exhaustive, ValidityAgreesWithTheOracle) {
    for (int32_t y = FIRST_YEAR; y <= LAST_YEAR; ++y) {
        for (int32_t m = 1; m <= 12; ++m) {
            const year_month_day last_day{year{y} / month{static_cast<unsigned>(m)} / std::chrono::last};
            const auto length = static_cast<int32_t>(unsigned{last_day.day()});
            ASSERT_TRUE(is_valid_date(m, length, y)) << m << "/" << length << "/" << y;
            ASSERT_FALSE(is_valid_date(m, length + 1, y)) << m << "/" << length + 1 << "/" << y;
            ASSERT_FALSE(is_valid_date(m, 0, y)) << m << "/0/" << y;
            ASSERT_FALSE(year_month_day(year{y}, month{static_cast<unsigned>(m)},
                                        day{static_cast<unsigned>(length + 1)}).ok());
        }
        ASSERT_FALSE(is_valid_date(0, 1, y)) << "0/1/" << y;
        ASSERT_FALSE(is_valid_date(13, 1, y)) << "13/1/" << y;
    }
}

// Each date written year first and month first, with and without leading
// zeros, reads back as itself.
TEST(Exhaustive, EveryDateReadsBackInEverySpelling) {
    for_each_readable_date([](const year_month_day&, int32_t m, int32_t d, int32_t y) {
        const triple expected{m, d, y};
        char text[4][32];
        std::snprintf(text[0], sizeof text[0], "%04d-%02d-%02d", int{y}, int{m}, int{d});
        std::snprintf(text[1], sizeof text[1], "%02d/%02d/%04d", int{m}, int{d}, int{y});
        std::snprintf(text[2], sizeof text[2], "%d/%d/%d", int{m}, int{d}, int{y});
        std::snprintf(text[3], sizeof text[3], "%d.%d.%d", int{y}, int{m}, int{d});
        for (const char* t : text)
            ASSERT_EQ(read_date_text(t), expected) << "text \"" << t << "\"";
    });
}

// Two-digit years follow the windows, written last or (above 50) first.
TEST(Exhaustive, TwoDigitYearsFollowTheWindows) {
    for (int32_t yy = 0; yy <= 99; ++yy) {
        const int32_t widened = yy >= 51 ? 1900 + yy : 2000 + yy;
        const bool accepted = yy <= 19 || yy >= 51;
        char text[16];
        std::snprintf(text, sizeof text, "03/04/%02d", int{yy});
        const triple last = read_date_text(text);
        EXPECT_EQ(is_valid_date(last.month, last.day, last.year), accepted) << text;
        if (accepted) {
            EXPECT_EQ(last, (triple{3, 4, widened})) << text;
        }
        if (yy >= 51) {
            std::snprintf(text, sizeof text, "%02d/03/04", int{yy});
            EXPECT_EQ(read_date_text(text), (triple{3, 4, widened})) << text;
        }
    }
}

// Every month of a sample of years refuses day 0, the day after its last,
// month 0 and month 13 when they come as text.
TEST(Exhaustive, ImpossibleFieldsAreRefusedAsText) {
    for (int32_t y = FIRST_READABLE_YEAR; y <= LAST_YEAR; y += 37) {
        for (int32_t m = 1; m <= 12; ++m) {
            const int32_t length = month_days[is_leap_year(y)][m];
            const triple bad[] = {{m, 0, y}, {m, length + 1, y}, {0, 1, y}, {13, 1, y}};
            for (const triple& b : bad) {
                char text[32];
                std::snprintf(text, sizeof text, "%04d-%02d-%02d", int{b.year}, int{b.month}, int{b.day});
                const triple read = read_date_text(text);
                ASSERT_FALSE(is_valid_date(read.month, read.day, read.year)) << text;
            }
        }
    }
}

}  // namespace
