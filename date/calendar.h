#pragma once
// Calendar arithmetic in the proleptic Gregorian calendar, for the years 1 to
// 9999.
//
// A day number counts days on a fixed scale: 1 Jan 1900 is 19001, so only the
// difference of two day numbers means anything. is_valid_date is the only
// check; every other routine takes a date that has passed it.

#include <cstdint>

namespace spanlet {

// The one date type of spanlet. Nothing checks it on the way in: a date read
// from a text that names no real date may hold month 0 or day 40.
struct date {
    int32_t year;
    int32_t month;
    int32_t day;
    bool operator==(const date&) const = default;
};

inline constexpr int32_t FIRST_YEAR = 1;
inline constexpr int32_t LAST_YEAR = 9999;

// Month lengths, row 0 for a common year, row 1 for a leap year; slot 0 is a
// placeholder so that months index from 1.
inline constexpr int32_t month_days[2][13] = {
    {0, 31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31},
    {0, 31, 29, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31},
};

// Bitwise, not short-circuit: no branch to mispredict on random years.
constexpr bool is_leap_year(int32_t year) {
    return (year % 4 == 0) & ((year % 100 != 0) | (year % 400 == 0));
}

// True for month 1-12, day 1 to the month's length, year FIRST_YEAR-LAST_YEAR.
constexpr bool is_valid_date(const date& d) {
    if (d.year < FIRST_YEAR || d.year > LAST_YEAR || d.month < 1 || d.month > 12)
        return false;
    return d.day >= 1 && d.day <= month_days[is_leap_year(d.year)][d.month];
}

namespace calendar_detail {

// Days from 1 March of year 0 to a valid date, counting years from March so
// that a leap day falls at the end of its year (Neri and Schneider's
// Euclidean affine form). Unsigned, because every value is non-negative for
// years 1-9999 and the divisions are then plain shifts and multiplications.
constexpr int32_t days_from_march_of_year_0(const date& d) {
    const uint32_t january_or_february = d.month <= 2 ? 1 : 0;
    const uint32_t y = static_cast<uint32_t>(d.year) - january_or_february;  // [0, 9999]
    const uint32_t m = static_cast<uint32_t>(d.month) + 12 * january_or_february;  // [3, 14], March to February
    const uint32_t century = y / 100;                                      // [0, 99]
    const uint32_t days_before_year = 1461 * y / 4 - century + century / 4;  // [0, 3652059]
    const uint32_t days_before_month = (979 * m - 2919) / 32;              // [0, 337]
    return static_cast<int32_t>(days_before_year + days_before_month) + d.day - 1;  // [306, 3652364]
}

// The extremes of the range above: 1 Jan of year 1 and 31 Dec 9999.
static_assert(days_from_march_of_year_0({FIRST_YEAR, 1, 1}) == 306);
static_assert(days_from_march_of_year_0({LAST_YEAR, 12, 31}) == 3652364);

// The scale of day numbers: 31 Dec 1899 is day 19000, its year times ten.
inline constexpr int32_t SCALE_START = 1900 * 10;
inline constexpr int32_t SCALE_SHIFT = SCALE_START + 1 - days_from_march_of_year_0({1900, 1, 1});

static_assert(days_from_march_of_year_0({2000, 3, 1}) - days_from_march_of_year_0({1600, 3, 1}) ==
              365 * 400 + 97);
static_assert(days_from_march_of_year_0({2001, 3, 1}) - days_from_march_of_year_0({2000, 3, 1}) == 365);
static_assert(days_from_march_of_year_0({2000, 3, 1}) - days_from_march_of_year_0({2000, 2, 28}) == 2);

}  // namespace calendar_detail

// The day number of a valid date.   [-674594, 2977464]
constexpr int32_t day_number(const date& d) {
    return calendar_detail::days_from_march_of_year_0(d) + calendar_detail::SCALE_SHIFT;
}
static_assert(day_number({FIRST_YEAR, 1, 1}) == -674594 && day_number({LAST_YEAR, 12, 31}) == 2977464);

// The first valid date's day number minus the second's.
constexpr int32_t days_between(const date& first, const date& second) {
    return day_number(first) - day_number(second);
}

// The date of a day number: the inverse of day_number, for the day numbers
// of 1 Mar of year 0 to the end of year 10000 (a week date of 9999 may end
// there).   [-674900, 2977830]
constexpr date date_of_day_number(int32_t number) {
    constexpr uint32_t DAYS_IN_400_YEARS = 365 * 400 + 97;
    const auto n = static_cast<uint32_t>(number - calendar_detail::SCALE_SHIFT);  // days from 1 Mar of year 0
    const uint32_t era = n / DAYS_IN_400_YEARS;                                    // [0, 25]
    const uint32_t day_of_era = n - era * DAYS_IN_400_YEARS;                       // [0, 146096]
    const uint32_t year_of_era =
        (day_of_era - day_of_era / 1460 + day_of_era / 36524 - day_of_era / 146096) / 365;  // [0, 399]
    const uint32_t day_from_march = day_of_era - (365 * year_of_era + year_of_era / 4 - year_of_era / 100);  // [0, 365]
    const uint32_t month_from_march = (5 * day_from_march + 2) / 153;              // [0, 11]
    const uint32_t day = day_from_march - (153 * month_from_march + 2) / 5 + 1;    // [1, 31]
    const uint32_t month = month_from_march < 10 ? month_from_march + 3 : month_from_march - 9;  // [1, 12]
    const uint32_t year = era * 400 + year_of_era + (month <= 2 ? 1 : 0);
    return {static_cast<int32_t>(year), static_cast<int32_t>(month), static_cast<int32_t>(day)};
}
static_assert(date_of_day_number(19001) == date{1900, 1, 1});
static_assert(date_of_day_number(day_number({LAST_YEAR, 12, 31}) + 1) == date{LAST_YEAR + 1, 1, 1});
static_assert(date_of_day_number(day_number({FIRST_YEAR, 1, 1})) == date{FIRST_YEAR, 1, 1});

// Days in a week, and the ISO weekday of a day number: Monday is 1, Sunday 7.
// 1 Jan 1900, day 19001, was a Monday.   [1, 7]
inline constexpr int32_t DAYS_IN_WEEK = 7;
constexpr int32_t iso_weekday(int32_t number) {
    // Shifted by whole weeks so that every day number of the range is
    // counted from a Monday before it.
    constexpr int32_t MONDAY_BEFORE_THE_RANGE = 19001 - DAYS_IN_WEEK * 100'000;
    static_assert(MONDAY_BEFORE_THE_RANGE < -674900);
    return (number - MONDAY_BEFORE_THE_RANGE) % DAYS_IN_WEEK + 1;
}
static_assert(iso_weekday(day_number({2026, 12, 10})) == 4);  // a Thursday
static_assert(iso_weekday(day_number({2010, 8, 10})) == 2);   // a Tuesday

// The day number of the Monday of ISO week 1 of `year`: the week that holds
// the year's first Thursday, and so 4 January. 1 <= year <= 10000.
constexpr int32_t iso_week_one(int32_t year) {
    const int32_t fourth_of_january = day_number({year, 1, 4});
    return fourth_of_january - (iso_weekday(fourth_of_january) - 1);
}

// How many ISO weeks `year` has: 52, or 53 when it begins or, in a leap
// year, ends on a Thursday.   [52, 53]
constexpr int32_t iso_weeks_in_year(int32_t year) {
    return (iso_week_one(year + 1) - iso_week_one(year)) / DAYS_IN_WEEK;
}
static_assert(iso_weeks_in_year(2020) == 53 && iso_weeks_in_year(2021) == 52 && iso_weeks_in_year(2026) == 53);

// The day number of weekday `weekday` (1-7) of ISO week `week` (1 to the
// year's count) of `year`.
constexpr int32_t iso_week_date(int32_t year, int32_t week, int32_t weekday) {
    return iso_week_one(year) + (week - 1) * DAYS_IN_WEEK + (weekday - 1);
}
static_assert(iso_week_date(2026, 50, 4) == day_number({2026, 12, 10}));

constexpr int32_t days_in_year(int32_t year) { return is_leap_year(year) ? 366 : 365; }

}  // namespace spanlet
