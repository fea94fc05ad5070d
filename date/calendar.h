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

constexpr bool is_leap_year(int32_t year) {
    return year % 4 == 0 && (year % 100 != 0 || year % 400 == 0);
}

// True for month 1-12, day 1 to the month's length, year FIRST_YEAR-LAST_YEAR.
constexpr bool is_valid_date(const date& d) {
    if (d.year < FIRST_YEAR || d.year > LAST_YEAR || d.month < 1 || d.month > 12)
        return false;
    return d.day >= 1 && d.day <= month_days[is_leap_year(d.year)][d.month];
}

// The ordinal of a valid date within its year, 1 Jan being 1.   [1, 366]
int32_t day_of_year(const date& d);

// Not the first day of `year` but the day number of the day before it,
// 31 Dec of the previous year (19000 for 1900, 55524 for 2000), so that a
// date's day number is year_start(year) + day_of_year. 1 <= year <= 9999.
int32_t year_start(int32_t year);

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

}  // namespace spanlet
