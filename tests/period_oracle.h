#pragma once
// Independent counts for years, months and working days, by the standard
// library's civil calendar and nothing of spanlet's: months by stepping a
// month at a time, working days by walking a day at a time. Slow and plain
// on purpose.

#include <chrono>
#include <cstdint>
#include <vector>

namespace period_oracle {

using std::chrono::days;
using std::chrono::sys_days;
using std::chrono::year_month_day;
using std::chrono::year_month_day_last;

// `from` plus `count` months, the day cut to the last day of a shorter month.
inline year_month_day plus_months(const year_month_day& from, int count) {
    const std::chrono::year_month month = std::chrono::year_month{from.year(), from.month()} + std::chrono::months{count};
    const std::chrono::day last = year_month_day_last{month.year(), std::chrono::month_day_last{month.month()}}.day();
    return {month.year(), month.month(), from.day() < last ? from.day() : last};
}

struct months_and_days {
    int months;
    int days;
};

// From `earlier` to `later` (not before it): months while one more still
// fits, then the days left.
inline months_and_days months_then_days(const year_month_day& earlier, const year_month_day& later) {
    int months = 0;
    while (sys_days{plus_months(earlier, months + 1)} <= sys_days{later})
        ++months;
    return {months, static_cast<int>((sys_days{later} - sys_days{plus_months(earlier, months)}).count())};
}

// The working days of [from, to): every day walked, weekend days (ISO
// weekday 1-7 in `weekend`) and the listed holidays skipped.
inline int working_days(sys_days from, sys_days to, const std::vector<unsigned>& weekend,
                        const std::vector<sys_days>& holidays) {
    int count = 0;
    for (sys_days d = from; d < to; d += days{1}) {
        const unsigned weekday = std::chrono::weekday{d}.iso_encoding();
        bool rest = false;
        for (const unsigned w : weekend)
            rest = rest || w == weekday;
        for (const sys_days h : holidays)
            rest = rest || h == d;
        count += rest ? 0 : 1;
    }
    return count;
}

}  // namespace period_oracle
