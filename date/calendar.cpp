#include "date/calendar.h"

#include <array>
#include <cstddef>

namespace {

// days_before_month[leap][m]: days in the months before month m.   [0, 335]
constexpr auto days_before_month = [] {
    std::array<std::array<int32_t, 13>, 2> table{};
    for (size_t leap = 0; leap < 2; ++leap)
        for (size_t m = 2; m <= 12; ++m)
            table[leap][m] = table[leap][m - 1] + month_days[leap][m - 1];
    return table;
}();

constexpr int32_t DAYS_IN_COMMON_YEAR = 365;

// Days from 1 Jan of year 1 to 1 Jan of `year`, for year >= 1.
constexpr int32_t days_before_year(int32_t year) {
    const int32_t y = year - 1;                        // [0, 9998]
    return DAYS_IN_COMMON_YEAR * y + y / 4 - y / 100 + y / 400;  // [0, 3651694]
}

// The scale of day numbers: 31 Dec 1899 is day 19000, its year times ten.
constexpr int32_t SCALE_YEAR = 1900;
constexpr int32_t SCALE_YEAR_START = SCALE_YEAR * 10;

static_assert(days_before_year(1) == 0);
static_assert(days_before_year(2001) - days_before_year(1601) == 365 * 400 + 97);
static_assert(days_before_year(LAST_YEAR + 1) < INT32_MAX - SCALE_YEAR_START);

}  // namespace

bool is_valid_date(int32_t month, int32_t day, int32_t year) {
    if (year < FIRST_YEAR || year > LAST_YEAR || month < 1 || month > 12)
        return false;
    return day >= 1 && day <= month_days[is_leap_year(year)][month];
}

int32_t day_of_year(int32_t month, int32_t day, int32_t year) {
    return days_before_month[is_leap_year(year)][static_cast<size_t>(month)] + day;  // [1, 366]
}

int32_t year_start(int32_t year) {
    // [-674595, 2977099]
    return SCALE_YEAR_START + days_before_year(year) - days_before_year(SCALE_YEAR);
}

int32_t day_number(int32_t month, int32_t day, int32_t year) {
    return year_start(year) + day_of_year(month, day, year);  // [-674594, 2977463]
}

int32_t days_between(int32_t month1, int32_t day1, int32_t year1,
                     int32_t month2, int32_t day2, int32_t year2) {
    return day_number(month1, day1, year1) - day_number(month2, day2, year2);
}
