#pragma once
// Working days: every day but the weekend days and the holidays.
//
// A count covers the half-open span [from, to) of day numbers, as a plain
// difference of days does: the first day counted, the last not. Whole weeks
// are counted by arithmetic, the days left from a table, and the holidays
// from a table of 64-day blocks built once, each with its holidays as bits
// and the count of those before it, so a count takes the same short time
// whatever the span and however many the holidays.

#include <algorithm>
#include <bit>
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
    // How many holidays come before day number `day`: the count before its
    // block of 64 days, and the bits of the block's holidays before it. A
    // day before the first block is read as its first day, one after the
    // last as the last block's last day, where every holiday is behind.
    [[nodiscard]] int32_t holidays_before(int32_t day) const {
        if (blocks_.empty())
            return 0;
        const int64_t offset = std::clamp<int64_t>(int64_t{day} - first_, 0, last_offset_);
        const block& b = blocks_[static_cast<size_t>(offset / DAYS_IN_BLOCK)];
        const uint64_t earlier = (uint64_t{1} << (offset % DAYS_IN_BLOCK)) - 1;
        return b.before + std::popcount(b.holidays & earlier);
    }

    static constexpr int64_t DAYS_IN_BLOCK = 64;
    struct block {
        uint64_t holidays;  // bit k: the block's day k is a holiday
        int32_t before;     // the holidays before the block
    };

    // before_[k]: the working days among the k weekdays from a Monday, over
    // two weeks so that any start and up to six more days can be read.
    int32_t before_[2 * DAYS_IN_WEEK + 1] = {};
    int32_t per_week_ = 0;  // [1, 7]
    // The holidays on working weekdays, from the block of the first to one
    // block past the last's: at most (3652059 / 64 + 2) blocks.
    std::vector<block> blocks_;
    int32_t first_ = 0;        // the day number of the first block's first day
    int64_t last_offset_ = 0;  // the last day of the last block, from first_
};

}  // namespace spanlet
