// Years, months, weeks and working days against the independent counts of
// period_oracle.h.

#include "date/periods.h"
#include "date/working_days.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdint>
#include <random>
#include <string>
#include <vector>

#include "period_oracle.h"
#include "printing.h"

namespace {

using spanlet::date;
using spanlet::period;
using std::chrono::sys_days;
using std::chrono::year_month_day;

year_month_day civil(const date& d) {
    return {std::chrono::year{d.year}, std::chrono::month{static_cast<unsigned>(d.month)},
            std::chrono::day{static_cast<unsigned>(d.day)}};
}

date date_of(sys_days d) {
    const year_month_day ymd{d};
    return {int{ymd.year()}, static_cast<int32_t>(unsigned{ymd.month()}), static_cast<int32_t>(unsigned{ymd.day()})};
}

constexpr spanlet::unit_set YMD = spanlet::UNIT_YEARS | spanlet::UNIT_MONTHS | spanlet::UNIT_DAYS;

std::string shown(const date& earlier, const date& later) {
    return testing::PrintToString(earlier) + " to " + testing::PrintToString(later);
}

struct period_case {
    date earlier, later;
    spanlet::unit_set units;
    period expected;
};

// The rows peers get wrong, and the month ends.
TEST(Periods, Rows) {
    constexpr spanlet::unit_set MD = spanlet::UNIT_MONTHS | spanlet::UNIT_DAYS;
    const period_case cases[] = {
        // 31 Jan to 1 Mar is one month to 28 Feb and a day, never "1 62".
        {{2010, 1, 31}, {2010, 3, 1}, MD, {0, 1, 0, 1}},
        {{2010, 1, 31}, {2010, 3, 1}, YMD, {0, 1, 0, 1}},
        {{2012, 2, 29}, {2013, 2, 28}, YMD, {1, 0, 0, 0}},
        {{2012, 2, 29}, {2013, 2, 27}, YMD, {0, 11, 0, 29}},
        {{2012, 2, 29}, {2016, 2, 29}, YMD, {4, 0, 0, 0}},
        {{1990, 5, 31}, {2026, 12, 10}, spanlet::UNIT_YEARS, {36, 0, 0, 0}},
        {{2010, 1, 1}, {2010, 8, 10}, spanlet::UNIT_WEEKS | spanlet::UNIT_DAYS, {0, 0, 31, 4}},
        {{2010, 1, 1}, {2010, 8, 10}, spanlet::UNIT_YEARS | spanlet::UNIT_DAYS, {0, 0, 0, 221}},
        {{2010, 1, 1}, {2011, 8, 10}, spanlet::UNIT_YEARS | spanlet::UNIT_DAYS, {1, 0, 0, 221}},
        {{2010, 1, 1}, {2011, 8, 10}, spanlet::UNIT_MONTHS | spanlet::UNIT_WEEKS, {0, 19, 1, 0}},
        {{2010, 1, 1}, {2010, 1, 31}, spanlet::UNIT_MONTHS, {0, 0, 0, 0}},
        {{1400, 1, 1}, {9999, 12, 31}, YMD, {8599, 11, 0, 30}},
        {{2010, 8, 10}, {2010, 8, 10}, YMD, {0, 0, 0, 0}},
    };
    for (const period_case& c : cases)
        EXPECT_EQ(spanlet::period_between(c.earlier, c.later, c.units), c.expected)
            << shown(c.earlier, c.later) << " in units " << int{c.units};
}

// Every later date within three years of a hundred starts around month
// ends, 29 February and year ends: months and days as the oracle steps them,
// and the earlier date plus the answer is the later date.
TEST(Periods, EveryPairNearMonthEndsAgreesWithTheOracle) {
    std::vector<date> starts;
    for (const int32_t year : {1400, 1900, 1999, 2000, 2011, 2012, 2100, 9996}) {
        for (const int32_t month : {1, 2, 3, 11, 12}) {
            const int32_t last = spanlet::days_in_month(year, month);
            for (int32_t day = last - 2; day <= last; ++day)
                starts.push_back({year, month, day});
        }
    }
    ASSERT_GE(starts.size(), 100U);
    for (const date& start : starts) {
        const sys_days from{civil(start)};
        for (int offset = 0; offset <= 3 * 366; ++offset) {
            const date later = date_of(from + std::chrono::days{offset});
            const period p = spanlet::period_between(start, later, YMD);
            const period_oracle::months_and_days expected = period_oracle::months_then_days(civil(start), civil(later));
            ASSERT_EQ(p.years * 12 + p.months, expected.months) << shown(start, later);
            ASSERT_EQ(p.days, expected.days) << shown(start, later);
            ASSERT_LT(p.months, 12) << shown(start, later);
            const sys_days back =
                sys_days{period_oracle::plus_months(civil(start), expected.months)} + std::chrono::days{p.days};
            ASSERT_EQ(back, sys_days{civil(later)}) << shown(start, later);
        }
    }
}

// Random pairs over 1400-9999 in random units: the months taken are the most
// that fit (the oracle adds them, and one more overshoots), the weeks and
// days are what is left, and a unit not asked for is 0.
TEST(Periods, RandomPairsInEveryUnitAreTheLargestThatFit) {
    std::mt19937 random(20261210);
    const int first = static_cast<int>(sys_days{year_month_day{std::chrono::year{1400} / 1 / 1}}.time_since_epoch().count());
    const int last = static_cast<int>(sys_days{year_month_day{std::chrono::year{9999} / 12 / 31}}.time_since_epoch().count());
    std::uniform_int_distribution<int> any_day(first, last);
    std::uniform_int_distribution<int> any_units(1, 15);
    for (int i = 0; i < 2'000'000; ++i) {
        int a = any_day(random);
        int b = i % 2 == 0 ? any_day(random) : std::min(last, a + any_day(random) % 2000);
        if (a > b)
            std::swap(a, b);
        const sys_days from{std::chrono::days{a}};
        const sys_days to{std::chrono::days{b}};
        const date earlier = date_of(from);
        const date later = date_of(to);
        const auto units = static_cast<spanlet::unit_set>(any_units(random));
        const period p = spanlet::period_between(earlier, later, units);
        const bool years = (units & spanlet::UNIT_YEARS) != 0;
        const bool months = (units & spanlet::UNIT_MONTHS) != 0;
        const int taken = p.years * 12 + p.months;
        const sys_days anchor{period_oracle::plus_months(civil(earlier), taken)};
        ASSERT_LE(anchor, to) << shown(earlier, later) << " units " << int{units};
        const int step = months ? 1 : years ? 12 : 0;
        if (step != 0) {
            ASSERT_GT(sys_days{period_oracle::plus_months(civil(earlier), taken + step)}, to)
                << shown(earlier, later) << " units " << int{units};
        }
        ASSERT_TRUE((years || p.years == 0) && (months || p.months == 0) && (!years || !months || p.months < 12))
            << shown(earlier, later) << " units " << int{units};
        const int rest = static_cast<int>((to - anchor).count());
        const bool weeks = (units & spanlet::UNIT_WEEKS) != 0;
        const bool days = (units & spanlet::UNIT_DAYS) != 0;
        ASSERT_EQ(p.weeks, weeks ? rest / 7 : 0) << shown(earlier, later) << " units " << int{units};
        ASSERT_EQ(p.days, days ? (weeks ? rest % 7 : rest) : 0) << shown(earlier, later) << " units " << int{units};
    }
}

// ---- working days ---------------------------------------------------------

std::vector<unsigned> weekdays_of(spanlet::weekday_set weekend) {
    std::vector<unsigned> days;
    for (unsigned d = 1; d <= 7; ++d) {
        if ((weekend >> (d - 1) & 1U) != 0)
            days.push_back(d);
    }
    return days;
}

TEST(WorkingDays, Rows) {
    const spanlet::working_days monday_to_friday(spanlet::SATURDAY_AND_SUNDAY, {});
    const int32_t monday = spanlet::day_number({2026, 12, 14});
    const int32_t friday = spanlet::day_number({2026, 12, 11});
    EXPECT_EQ(monday_to_friday.between(monday, friday, false), 1);
    EXPECT_EQ(monday_to_friday.between(friday, monday, false), -1);
    EXPECT_EQ(monday_to_friday.between(friday, friday, false), 0);
    // Counting both ends adds the far end only where it is a working day.
    EXPECT_EQ(monday_to_friday.between(monday, friday, true), 2);
    EXPECT_EQ(monday_to_friday.between(friday, friday, true), 1);
    EXPECT_EQ(monday_to_friday.between(monday - 1, friday, true), 1);  // to Sunday
    // Christmas twice, and on a Saturday: one working day less, not two.
    const spanlet::working_days christmas(spanlet::SATURDAY_AND_SUNDAY,
                                          {spanlet::day_number({2026, 12, 25}), spanlet::day_number({2026, 12, 25}),
                                           spanlet::day_number({2027, 12, 25})});
    const int32_t new_year = spanlet::day_number({2027, 1, 1});
    const int32_t december = spanlet::day_number({2026, 12, 1});
    EXPECT_EQ(christmas.between(new_year, december, false), monday_to_friday.between(new_year, december, false) - 1);
}

// Random spans, all 127 weekends that leave a working day, and random
// holidays (some twice, some on the weekend, some at either end of the span)
// against the day-by-day walk.
TEST(WorkingDays, AgreeWithTheWalkForEveryWeekend) {
    std::mt19937 random(1210);
    const int first = static_cast<int>(sys_days{year_month_day{std::chrono::year{1400} / 1 / 1}}.time_since_epoch().count());
    const int last = static_cast<int>(sys_days{year_month_day{std::chrono::year{9999} / 12 / 31}}.time_since_epoch().count());
    std::uniform_int_distribution<int> any_day(first, last - 1500);
    std::uniform_int_distribution<int> any_span(0, 1400);
    std::uniform_int_distribution<int> holiday_count(0, 40);
    for (unsigned mask = 0; mask < 127; ++mask) {
        const auto weekend = static_cast<spanlet::weekday_set>(mask);
        for (int round = 0; round < 60; ++round) {
            const int a = any_day(random);
            const int b = a + any_span(random);
            std::vector<sys_days> holidays;
            std::vector<int32_t> numbers;
            const int count = holiday_count(random);
            for (int h = 0; h < count; ++h) {
                const int pick = h == 0 ? a : h == 1 ? b : h == 2 ? b - 1 : a - 10 + static_cast<int>(random() % static_cast<unsigned>(b - a + 21));
                const sys_days day{std::chrono::days{pick}};
                for (int twice = 0; twice < (h % 5 == 0 ? 2 : 1); ++twice) {
                    holidays.push_back(day);
                    numbers.push_back(spanlet::day_number(date_of(day)));
                }
            }
            const spanlet::working_days calendar(weekend, numbers);
            const sys_days from{std::chrono::days{a}};
            const sys_days to{std::chrono::days{b}};
            const int expected = period_oracle::working_days(from, to, weekdays_of(weekend), holidays);
            const int32_t later = spanlet::day_number(date_of(to));
            const int32_t earlier = spanlet::day_number(date_of(from));
            ASSERT_EQ(calendar.between(later, earlier, false), expected)
                << shown(date_of(from), date_of(to)) << " weekend " << mask;
            ASSERT_EQ(calendar.between(earlier, later, false), -expected)
                << shown(date_of(from), date_of(to)) << " weekend " << mask;
            const int closed = period_oracle::working_days(from, to + std::chrono::days{1}, weekdays_of(weekend), holidays);
            ASSERT_EQ(calendar.between(later, earlier, true), closed)
                << shown(date_of(from), date_of(to)) << " weekend " << mask;
        }
    }
}

}  // namespace
