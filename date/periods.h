#pragma once
// Whole years, months and weeks between two dates.
//
// Months are counted from the earlier date forward: the largest N for which
// the earlier date plus N months is on or before the later date, where adding
// months keeps the day of the month or, in a shorter month, takes its last
// day. What is left is counted in days from that date. A year is twelve
// months. So 31 Jan to 1 Mar 2010 is 1 month (to 28 Feb) and 1 day, and
// 29 Feb 2012 to 28 Feb 2013 is a whole year.

#include <algorithm>
#include <cstdint>

#include "date/calendar.h"

namespace spanlet {

inline constexpr int32_t MONTHS_IN_YEAR = 12;

constexpr int32_t days_in_month(int32_t year, int32_t month) {
    return month_days[is_leap_year(year)][month];
}

// `d` plus `months` (>= 0) whole months, the day cut to the last day of a
// shorter month. The year may pass LAST_YEAR by one, for the day after
// 31 Dec 9999.
constexpr date add_months(const date& d, int32_t months) {
    const int32_t from_year_0 = d.year * MONTHS_IN_YEAR + (d.month - 1) + months;  // [12, 120011]
    const int32_t year = from_year_0 / MONTHS_IN_YEAR;
    const int32_t month = from_year_0 % MONTHS_IN_YEAR + 1;  // [1, 12]
    const int32_t last = days_in_month(year, month);
    return {year, month, d.day < last ? d.day : last};
}
static_assert(add_months({2010, 1, 31}, 1) == date{2010, 2, 28});
static_assert(add_months({2012, 2, 29}, 12) == date{2013, 2, 28});
static_assert(add_months({2010, 12, 15}, 1) == date{2011, 1, 15});

constexpr bool on_or_before(const date& a, const date& b) {
    if (a.year != b.year)
        return a.year < b.year;
    if (a.month != b.month)
        return a.month < b.month;
    return a.day <= b.day;
}

// The whole months from `earlier` to `later` (earlier on or before later),
// and the days from the date they reach to later.
struct months_and_days {
    int32_t months;  // [0, 120000]
    int32_t days;    // [0, 30]
    bool operator==(const months_and_days&) const = default;
};
constexpr months_and_days months_then_days(const date& earlier, const date& later) {
    // Counted to later's month, the earlier date's day (or that month's
    // last) may still lie after later's day: then the months reach the month
    // before. Both are worked out, and one is chosen without a branch.
    const int32_t to_its_month = (later.year - earlier.year) * MONTHS_IN_YEAR + (later.month - earlier.month);
    const int32_t day_in_its_month = std::min(earlier.day, days_in_month(later.year, later.month));
    const int32_t year_before = later.month == 1 ? later.year - 1 : later.year;
    const int32_t month_before = later.month == 1 ? MONTHS_IN_YEAR : later.month - 1;
    const int32_t length_before = days_in_month(year_before, month_before);
    const int32_t day_in_month_before = std::min(earlier.day, length_before);
    const bool short_of_it = day_in_its_month > later.day;
    return {to_its_month - (short_of_it ? 1 : 0),
            short_of_it ? length_before - day_in_month_before + later.day : later.day - day_in_its_month};
}
static_assert(months_then_days({2010, 1, 31}, {2010, 3, 1}) == months_and_days{1, 1});
static_assert(months_then_days({2010, 1, 31}, {2010, 2, 28}) == months_and_days{1, 0});
static_assert(months_then_days({2010, 1, 31}, {2010, 2, 27}) == months_and_days{0, 27});
static_assert(months_then_days({2009, 12, 31}, {2010, 1, 30}) == months_and_days{0, 30});

// The units an answer may be given in, as bits: any combination but none.
using unit_set = uint8_t;
inline constexpr unit_set UNIT_DAYS = 1;
inline constexpr unit_set UNIT_WEEKS = 2;
inline constexpr unit_set UNIT_MONTHS = 4;
inline constexpr unit_set UNIT_YEARS = 8;

// A span in the units asked for, largest first, each what is left after the
// larger ones; a unit not asked for is 0, and days not asked for are dropped.
// Every part is >= 0: the sign belongs to the whole span.
struct period {
    int32_t years = 0;   // [0, 9999]
    int32_t months = 0;  // [0, 120000]
    int32_t weeks = 0;   // [0, 521775]
    int32_t days = 0;    // [0, 3652425]
    bool operator==(const period&) const = default;
};

// From `earlier` to `later`, valid dates with earlier on or before later
// (later may be the day after 31 Dec 9999).
constexpr period period_between(const date& earlier, const date& later, unit_set units) {
    period p;
    int32_t days = 0;
    if ((units & UNIT_MONTHS) != 0) {
        const months_and_days whole = months_then_days(earlier, later);
        p.years = (units & UNIT_YEARS) != 0 ? whole.months / MONTHS_IN_YEAR : 0;
        p.months = whole.months - p.years * MONTHS_IN_YEAR;
        days = whole.days;
    } else if ((units & UNIT_YEARS) != 0) {
        p.years = months_then_days(earlier, later).months / MONTHS_IN_YEAR;
        days = days_between(later, add_months(earlier, p.years * MONTHS_IN_YEAR));
    } else {
        days = days_between(later, earlier);
    }
    if ((units & UNIT_WEEKS) != 0) {
        p.weeks = days / DAYS_IN_WEEK;
        days %= DAYS_IN_WEEK;
    }
    if ((units & UNIT_DAYS) != 0)
        p.days = days;
    return p;
}
static_assert(period_between({2010, 1, 31}, {2010, 3, 1}, UNIT_MONTHS | UNIT_DAYS) == period{0, 1, 0, 1});
static_assert(period_between({2012, 2, 29}, {2013, 2, 28}, UNIT_YEARS | UNIT_MONTHS | UNIT_DAYS) == period{1, 0, 0, 0});
static_assert(period_between({2010, 1, 1}, {2010, 8, 10}, UNIT_WEEKS | UNIT_DAYS) == period{0, 0, 31, 4});

}  // namespace spanlet
