#include "date/calendar.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "printing.h"

namespace {

using spanlet::date;

TEST(DayNumber, KeepsItsScale) {
    const std::vector<std::pair<date, int32_t>> cases = {
        {{1900, 1, 1}, 19001},  {{1900, 12, 31}, 19365}, {{2000, 1, 1}, 55525},
        {{2000, 3, 1}, 55585},  {{2020, 12, 31}, 63195}, {{2021, 1, 1}, 63196},
        {{1899, 12, 31}, 19000}, {{1, 1, 1}, -674594},   {{9999, 12, 31}, 2977464},
        {{1400, 1, 1}, -163620}, {{2022, 1, 1}, 63561},  {{2026, 12, 9}, 65364},
    };
    for (const auto& [d, value] : cases)
        EXPECT_EQ(spanlet::day_number(d), value) << testing::PrintToString(d);
}

TEST(IsValidDate, OnlyRealCalendarDates) {
    const std::vector<std::pair<date, bool>> cases = {
        {{1900, 2, 29}, false}, {{2000, 2, 29}, true},   {{2004, 2, 29}, true},
        {{2100, 2, 29}, false}, {{2100, 2, 28}, true},   {{2010, 2, 30}, false},
        {{2010, 4, 31}, false}, {{2010, 4, 30}, true},   {{2010, 12, 31}, true},
        {{2010, 1, 32}, false}, {{2010, 13, 1}, false},  {{1900, 0, 1}, false},
        {{1900, 0, 0}, false},  {{1900, 0, 10}, false},  {{2010, 1, 0}, false},
        {{2010, 3, -1}, false}, {{2010, -1, 10}, false}, {{2010, INT32_MIN, 1}, false},
        {{2010, 1, INT32_MIN}, false}, {{2010, 1, INT32_MAX}, false},
        {{1, 1, 1}, true},      {{9999, 12, 31}, true},  {{0, 1, 1}, false},
        {{10000, 1, 1}, false}, {{-4, 1, 1}, false},     {{INT32_MIN, 2, 29}, false},
    };
    for (const auto& [d, valid] : cases)
        EXPECT_EQ(spanlet::is_valid_date(d), valid) << testing::PrintToString(d);
}

TEST(DaysBetween, IsFirstMinusSecond) {
    struct difference {
        date first, second;
        int32_t days;
    };
    const std::vector<difference> cases = {
        {{2010, 8, 10}, {2010, 8, 1}, 9},      {{2010, 8, 1}, {2010, 8, 10}, -9},
        {{1999, 12, 31}, {2000, 1, 1}, -1},    {{2020, 12, 31}, {2021, 12, 31}, -365},
        {{2010, 8, 10}, {2010, 1, 1}, 221},    {{2026, 12, 9}, {2010, 1, 1}, 6186},
        {{1850, 1, 1}, {1900, 1, 1}, -18262},  {{9999, 12, 31}, {1, 1, 1}, 3652058},
        {{1900, 3, 1}, {1900, 2, 28}, 1},      {{2000, 3, 1}, {2000, 2, 28}, 2},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(spanlet::days_between(c.first, c.second), c.days)
            << testing::PrintToString(c.first) << " minus " << testing::PrintToString(c.second);
    }
}

}  // namespace
