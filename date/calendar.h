#pragma once
// Calendar arithmetic on date triples (month, day, year), always in that order,
// in the proleptic Gregorian calendar for the years 1 to 9999.
//
// A day number counts days on a fixed scale: 1 Jan 1900 is 19001, so only the
// difference of two day numbers means anything. is_valid_date is the only check;
// every other routine takes a date that has passed it.

#include <cstdint>

static_assert(sizeof(int32_t) == 4, "date integers are signed 32-bit");

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
bool is_valid_date(int32_t month, int32_t day, int32_t year);

// The ordinal of a valid date within its year, 1 Jan being 1.   [1, 366]
int32_t day_of_year(int32_t month, int32_t day, int32_t year);

// The day number of 31 Dec of the year before `year` (1 <= year <= 9999):
// 19000 for 1900, 55524 for 2000.
int32_t year_start(int32_t year);

// The day number of a valid date.
int32_t day_number(int32_t month, int32_t day, int32_t year);

// The first valid date's day number minus the second's.
int32_t days_between(int32_t month1, int32_t day1, int32_t year1,
                     int32_t month2, int32_t day2, int32_t year2);
