#include "date/calendar.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

namespace {

struct dated_value {
    int32_t month, day, year;
    int32_t value;
};

TEST(DayNumber, KeepsItsScale) {
    const std::vector<dated_value> cases = {
        {1, 1, 1900, 19001},   {12, 31, 1900, 19365}, {1, 1, 2000, 55525},
        {3, 1, 2000, 55585},   {12, 31, 2020, 63195}, {1, 1, 2021, 63196},
        {12, 31, 1899, 19000}, {1, 1, 1, -674594},    {12, 31, 9999, 2977464},
        {1, 1, 1400, -163620}, {1, 1, 2022, 63561},   {12, 9, 2026, 65364},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(day_number(c.month, c.day, c.year), c.value)
            << c.month << "/" << c.day << "/" << c.year;
    }
}

TEST(YearStart, IsTheDayNumberOfTheLastDayOfThePreviousYear) {
    const std::vector<std::pair<int32_t, int32_t>> cases = {
        {1900, 19000}, {1901, 19365}, {1902, 19730}, {2000, 55524},
        {2020, 62829}, {2021, 63195}, {1, -674595},  {1601, -90207},
    };
    for (const auto& [year, start] : cases)
        EXPECT_EQ(year_start(year), start) << "year " << year;
}

TEST(IsValidDate, OnlyRealCalendarDates) {
    struct validity {
        int32_t month, day, year;
        bool valid;
    };
    const std::vector<validity> cases = {
        {2, 29, 1900, false}, {2, 29, 2000, true},   {2, 29, 2004, true},
        {2, 29, 2100, false}, {2, 28, 2100, true},   {2, 30, 2010, false},
        {4, 31, 2010, false}, {4, 30, 2010, true},   {12, 31, 2010, true},
        {1, 32, 2010, false}, {13, 1, 2010, false},  {0, 1, 1900, false},
        {0, 0, 1900, false},  {0, 10, 1900, false},  {1, 0, 2010, false},
        {3, -1, 2010, false}, {-1, 10, 2010, false}, {INT32_MIN, 1, 2010, false},
        {1, INT32_MIN, 2010, false}, {1, INT32_MAX, 2010, false},
        {1, 1, 1, true},      {12, 31, 9999, true},  {1, 1, 0, false},
        {1, 1, 10000, false}, {1, 1, -4, false},     {2, 29, INT32_MIN, false},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(is_valid_date(c.month, c.day, c.year), c.valid)
            << c.month << "/" << c.day << "/" << c.year;
    }
}

TEST(DaysBetween, IsFirstMinusSecond) {
    struct difference {
        int32_t month1, day1, year1, month2, day2, year2;
        int32_t days;
    };
    const std::vector<difference> cases = {
        {8, 10, 2010, 8, 1, 2010, 9},      {8, 1, 2010, 8, 10, 2010, -9},
        {12, 31, 1999, 1, 1, 2000, -1},    {12, 31, 2020, 12, 31, 2021, -365},
        {8, 10, 2010, 1, 1, 2010, 221},    {12, 9, 2026, 1, 1, 2010, 6186},
        {1, 1, 1850, 1, 1, 1900, -18262},  {12, 31, 9999, 1, 1, 1, 3652058},
        {3, 1, 1900, 2, 28, 1900, 1},      {3, 1, 2000, 2, 28, 2000, 2},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(days_between(c.month1, c.day1, c.year1, c.month2, c.day2, c.year2), c.days)
            << c.month1 << "/" << c.day1 << "/" << c.year1 << " - " << c.month2 << "/"
            << c.day2 << "/" << c.year2;
    }
}

}  // namespace
