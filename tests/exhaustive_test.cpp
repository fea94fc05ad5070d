// Every date of the calendar's range against an oracle that is not this
// project's code: the standard library's civil calendar.

#include "date/calendar.h"
#include "date/date_text.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdint>
#include <cstdio>
#include <string>

#include "printing.h"
#include "spelling_oracle.h"

namespace {

using spanlet::date;
using std::chrono::sys_days;
using std::chrono::year_month_day;

constexpr int32_t FIRST_READ_YEAR = 1400;

int32_t oracle_days_since_1900(const year_month_day& ymd) {
    constexpr sys_days origin{std::chrono::year{1900} / 1 / 1};
    return static_cast<int32_t>((sys_days{ymd} - origin).count());
}

date date_of(const year_month_day& ymd) {
    return {static_cast<int32_t>(int{ymd.year()}), static_cast<int32_t>(unsigned{ymd.month()}),
            static_cast<int32_t>(unsigned{ymd.day()})};
}

// Runs `check` on every date from 1 Jan of `first_year` to 31 Dec 9999;
// returns how many.
template <typename Check>
int32_t for_each_date_from(int32_t first_year, Check check) {
    const sys_days last{std::chrono::year{spanlet::LAST_YEAR} / 12 / 31};
    int32_t count = 0;
    for (sys_days d{std::chrono::year{first_year} / 1 / 1}; d <= last; d += std::chrono::days{1}) {
        const year_month_day ymd{d};
        check(ymd, date_of(ymd));
        ++count;
    }
    return count;
}

// Every date of years 1-9999: the oracle's day count, and one day after the
// date before it.
TEST(Exhaustive, DayNumbersAgreeWithTheOracle) {
    int32_t previous = spanlet::day_number({1, 1, 1}) - 1;
    const int32_t count = for_each_date_from(spanlet::FIRST_YEAR, [&](const year_month_day& ymd, const date& d) {
        const int32_t number = spanlet::day_number(d);
        ASSERT_EQ(number - 19001, oracle_days_since_1900(ymd)) << testing::PrintToString(d);
        ASSERT_EQ(number - previous, 1) << testing::PrintToString(d);
        previous = number;
    });
    EXPECT_EQ(count, 3'652'059);
}

// Validity over every month of every year 1-9999: the last day is valid, the
// day after it is not, and neither is day 0.
TEST(Exhaustive, ValidityAgreesWithTheOracle) {
    for (int32_t y = spanlet::FIRST_YEAR; y <= spanlet::LAST_YEAR; ++y) {
        for (int32_t m = 1; m <= 12; ++m) {
            const year_month_day last_day{std::chrono::year{y} / std::chrono::month{static_cast<unsigned>(m)} /
                                          std::chrono::last};
            const auto length = static_cast<int32_t>(unsigned{last_day.day()});
            ASSERT_TRUE(spanlet::is_valid_date({y, m, length})) << y << "-" << m << "-" << length;
            ASSERT_FALSE(spanlet::is_valid_date({y, m, length + 1})) << y << "-" << m << "-" << length + 1;
            ASSERT_FALSE(spanlet::is_valid_date({y, m, 0})) << y << "-" << m << "-0";
        }
        ASSERT_FALSE(spanlet::is_valid_date({y, 0, 1})) << y;
        ASSERT_FALSE(spanlet::is_valid_date({y, 13, 1})) << y;
    }
}

// Each date of 1400-9999 written in five spellings reads back as itself, by
// the fast path and by the general reader alike.
TEST(Exhaustive, EveryDateReadsBackInEverySpelling) {
    for_each_date_from(FIRST_READ_YEAR, [](const year_month_day&, const date& d) {
        char text[5][32];
        std::snprintf(text[0], sizeof text[0], "%04d-%02d-%02d", int{d.year}, int{d.month}, int{d.day});
        std::snprintf(text[1], sizeof text[1], "%02d/%02d/%04d", int{d.month}, int{d.day}, int{d.year});
        std::snprintf(text[2], sizeof text[2], "%d/%d/%d", int{d.month}, int{d.day}, int{d.year});
        std::snprintf(text[3], sizeof text[3], "%d.%d.%d", int{d.year}, int{d.month}, int{d.day});
        std::snprintf(text[4], sizeof text[4], "%04d%02d%02d", int{d.year}, int{d.month}, int{d.day});
        // read_date takes all five by its fast paths: the general reader is
        // asked for each too, since those fast paths keep most texts from it.
        for (const char* t : text) {
            const spanlet::date_reading r = spanlet::read_date(t);
            ASSERT_EQ(r.reason, spanlet::refusal::none) << "text \"" << t << "\"";
            ASSERT_EQ(r.value, d) << "text \"" << t << "\"";
            const spanlet::date_reading general = spanlet::read_date_general(t);
            ASSERT_EQ(general.reason, spanlet::refusal::none) << "text \"" << t << "\"";
            ASSERT_EQ(general.value, d) << "text \"" << t << "\"";
        }
    });
}

// Each date of 1400-9999 reads back as itself in the spellings with names,
// programs' forms, and as an ISO week date and an ordinal date, both made
// from std::chrono: the week by its definition (week 1 holds the year's first
// Thursday, year_month_weekday finds it), the ordinal by counting from 1 Jan.
TEST(Exhaustive, EveryDateReadsBackInNamedWeekAndOrdinalSpellings) {
    using namespace std::chrono;
    constexpr const char* MONTHS[] = {"", "Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                      "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
    constexpr const char* WEEKDAYS[] = {"Sun", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat"};
    const auto week_one = [](int of) { return sys_days{year_month_weekday{year{of} / January / Thursday[1]}} - days{3}; };
    for_each_date_from(FIRST_READ_YEAR, [&](const year_month_day& ymd, const date& d) {
        const sys_days day{ymd};
        const char* weekday = WEEKDAYS[std::chrono::weekday{day}.c_encoding()];
        int week_year = int{ymd.year()};
        if (day < week_one(week_year))
            --week_year;
        else if (day >= week_one(week_year + 1))
            ++week_year;
        const auto week = (day - week_one(week_year)).count() / 7 + 1;
        const unsigned iso_day = std::chrono::weekday{day}.iso_encoding();
        const auto ordinal = (day - sys_days{ymd.year() / January / 1}).count() + 1;
        char text[7][64];
        std::snprintf(text[0], sizeof text[0], "%d %s %d", int{d.day}, MONTHS[d.month], int{d.year});
        std::snprintf(text[1], sizeof text[1], "%s %d, %d", MONTHS[d.month], int{d.day}, int{d.year});
        std::snprintf(text[2], sizeof text[2], "%s, %02d %s %d 00:00:00 +0000", weekday, int{d.day}, MONTHS[d.month],
                      int{d.year});
        std::snprintf(text[3], sizeof text[3], "%s %s %d 00:00:00 UTC %d", weekday, MONTHS[d.month], int{d.day},
                      int{d.year});
        std::snprintf(text[4], sizeof text[4], "%04d-W%02d-%u", week_year, static_cast<int>(week), iso_day);
        std::snprintf(text[5], sizeof text[5], "%04d%03d", int{d.year}, static_cast<int>(ordinal));
        std::snprintf(text[6], sizeof text[6], "%04d-%03d", int{d.year}, static_cast<int>(ordinal));
        for (const char* t : text) {
            const spanlet::date_reading r = spanlet::read_date(t);
            // 1400-W01 begins in 1399, 9999-W52 may end in 10000: years the
            // reader refuses.
            if (week_year != int{ymd.year()} && t == text[4])
                continue;
            ASSERT_EQ(r.reason, spanlet::refusal::none) << "text \"" << t << "\"";
            ASSERT_EQ(r.value, d) << "text \"" << t << "\"";
        }
    });
}

// The first days of 1400's week 1 lie in 1399, the last of 9999's week 52 in
// 10000: refused, never read as another date.
TEST(Exhaustive, WeekDatesOutsideTheYearsAreRefused) {
    EXPECT_EQ(spanlet::read_date("1400-W01-1").reason, spanlet::refusal::year_before_range);
    EXPECT_EQ(spanlet::read_date("9999-W52-7").reason, spanlet::refusal::year_after_range);
    EXPECT_EQ(spanlet::read_date("9999-W52-5").value, (date{9999, 12, 31}));
}

// Every year 0000-1399 written with four digits, year first and year last,
// and with eight digits, is refused; so is 10000 in both places.
TEST(Exhaustive, EveryYearBefore1400IsRefused) {
    for (int32_t y = 0; y < FIRST_READ_YEAR; ++y) {
        char text[3][32];
        std::snprintf(text[0], sizeof text[0], "%04d-06-15", int{y});
        std::snprintf(text[1], sizeof text[1], "06/15/%04d", int{y});
        std::snprintf(text[2], sizeof text[2], "%04d0615", int{y});
        for (const char* t : text) {
            EXPECT_EQ(spanlet::read_date(t).reason, spanlet::refusal::year_before_range) << t;
            EXPECT_FALSE(oracle::read(t, false).has_value()) << t;
        }
    }
    EXPECT_EQ(spanlet::read_date("10000-06-15").reason, spanlet::refusal::year_after_range);
    EXPECT_EQ(spanlet::read_date("06/15/10000").reason, spanlet::refusal::year_after_range);
}

// Two-digit years follow the window, written last or (above 50) first.
TEST(Exhaustive, TwoDigitYearsFollowTheWindow) {
    for (int32_t yy = 0; yy <= 99; ++yy) {
        const int32_t widened = yy <= 50 ? 2000 + yy : 1900 + yy;
        char text[16];
        std::snprintf(text, sizeof text, "03/04/%02d", int{yy});
        EXPECT_EQ(spanlet::read_date(text).value, (date{widened, 3, 4})) << text;
        std::snprintf(text, sizeof text, "03/04/%d", int{yy});
        EXPECT_EQ(spanlet::read_date(text).value, (date{widened, 3, 4})) << text;
        if (yy > 50) {
            std::snprintf(text, sizeof text, "%02d/03/04", int{yy});
            EXPECT_EQ(spanlet::read_date(text).value, (date{widened, 3, 4})) << text;
        }
    }
}

// Every month of a sample of years refuses day 0, the day after its last,
// month 0 and month 13 when they come as text.
TEST(Exhaustive, ImpossibleFieldsAreRefusedAsText) {
    for (int32_t y = FIRST_READ_YEAR; y <= spanlet::LAST_YEAR; y += 37) {
        for (int32_t m = 1; m <= 12; ++m) {
            const int32_t length = spanlet::month_days[spanlet::is_leap_year(y)][m];
            const date bad[] = {{y, m, 0}, {y, m, length + 1}, {y, 0, 1}, {y, 13, 1}};
            for (const date& b : bad) {
                char text[32];
                std::snprintf(text, sizeof text, "%04d-%02d-%02d", int{b.year}, int{b.month}, int{b.day});
                ASSERT_NE(spanlet::read_date(text).reason, spanlet::refusal::none) << text;
            }
        }
    }
}

}  // namespace
