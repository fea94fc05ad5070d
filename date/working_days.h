#pragma once
// Working days: every day but the weekend days and the holidays.
//
// A count covers the half-open span [from, to) of day numbers, as a plain
// difference of days does: the first day counted, the last not. Whole weeks
// are counted by arithmetic, the days left from a table, and the holidays by
// binary search in a sorted array built once, so a count takes the same
// short time whatever the span.

#include <cstddef>
#include <cstdint>
#include <vector>

#include "date/calendar.h"

namespace spanlet {

// A set of weekdays as bits: bit 0 Monday to bit 6 Sunday.
using weekday_set = uint8_t;
inline constexpr weekday_set EVERY_WEEKDAY = (1U << DAYS_IN_WEEK) - 1;
inline constexpr weekday_set SATURDAY_AND_SUNDAY = (1U << 5) | (1U << 6);
constexpr weekday_set weekday_bit(int32_t iso_weekday) { return static_cast<weekday_set>(1U << (iso_weekday - 1)); }

class working_days {
public:
    // `weekend` must leave at least one working day in the week. The
    // holidays are day numbers in any order; those listed twice or falling
    // on a weekend day count once or not at all.
    working_days(weekday_set weekend, std::vector<int32_t> holidays);

    // The working days of [from, to), from <= to.   [0, to - from]
    [[nodiscard]] int32_t count(int32_t from, int32_t to) const {
        const int32_t span = to - from;
        const int32_t start = iso_weekday(from) - 1;  // [0, 6]
        const int32_t rest = span % DAYS_IN_WEEK;     // [0, 6]
        return span / DAYS_IN_WEEK * per_week_ + (before_[start + rest] - before_[start]) -
               (holidays_before(to) - holidays_before(from));
    }

    // First minus second in working days: the span from the earlier to the
    // later date, signed; with `inclusive`, the later date counts too.
    [[nodiscard]] int32_t between(int32_t first, int32_t second, bool inclusive) const {
        const int32_t far_end = inclusive ? 1 : 0;
        return first >= second ? count(second, first + far_end) : -count(first, second + far_end);
    }

private:
    // How many holidays come before day number `day`: a binary search with
    // no branch to mispredict, its steps halving the span.
    [[nodiscard]] int32_t holidays_before(int32_t day) const {
        const int32_t* base = holidays_.data();
        size_t size = holidays_.size();
        if (size == 0)
            return 0;
        while (size > 1) {
            const size_t half = size / 2;
            base = base[half - 1] < day ? base + half : base;
            size -= half;
        }
        return static_cast<int32_t>(base - holidays_.data()) + (*base < day ? 1 : 0);
    }

    // before_[k]: the working days among the k weekdays from a Monday, over
    // two weeks so that any start and up to six more days can be read.
    int32_t before_[2 * DAYS_IN_WEEK + 1] = {};
    int32_t per_week_ = 0;               // [1, 7]
    std::vector<int32_t> holidays_;      // on working weekdays, sorted, each once
};

}  // namespace spanlet
