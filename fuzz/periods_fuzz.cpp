// Years, months, weeks and working days for any pair of dates, any units,
// any weekend and any holidays, checked against the standard library's civil
// calendar: the months taken are the most that fit and the rest is what is
// left; working days agree with a walk over the span (kept short enough to
// walk), and swapping the dates negates them.

#include "date/calendar.h"
#include "date/periods.h"
#include "date/working_days.h"

#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "../tests/period_oracle.h"

namespace {

using spanlet::date;
using std::chrono::sys_days;

constexpr int32_t FIRST_DAY = spanlet::day_number({1400, 1, 1});
constexpr int32_t LAST_DAY = spanlet::day_number({9999, 12, 31});
constexpr int32_t LONGEST_WALK = 3000;  // days

uint32_t take(const uint8_t*& data, size_t& size) {
    uint32_t value = 0;
    const size_t n = size < sizeof value ? size : sizeof value;
    std::memcpy(&value, data, n);
    data += n;
    size -= n;
    return value;
}

std::chrono::year_month_day civil(const date& d) {
    return {std::chrono::year{d.year}, std::chrono::month{static_cast<unsigned>(d.month)},
            std::chrono::day{static_cast<unsigned>(d.day)}};
}

sys_days oracle_day(int32_t number) {
    return sys_days{civil(spanlet::date_of_day_number(number))};
}

void require(bool property, const char* what, int32_t a, int32_t b) {
    if (!property) {
        std::fprintf(stderr, "property broken: %s, for day numbers %d and %d\n", what, static_cast<int>(a),
                     static_cast<int>(b));
        std::abort();
    }
}

void check_period(int32_t a, int32_t b, spanlet::unit_set units) {
    const date earlier = spanlet::date_of_day_number(a);
    const date later = spanlet::date_of_day_number(b);
    const spanlet::period p = spanlet::period_between(earlier, later, units);
    const bool years = (units & spanlet::UNIT_YEARS) != 0;
    const bool months = (units & spanlet::UNIT_MONTHS) != 0;
    const int taken = p.years * 12 + p.months;
    const sys_days anchor{period_oracle::plus_months(civil(earlier), taken)};
    require(anchor <= sys_days{civil(later)}, "the months taken fit", a, b);
    const int step = months ? 1 : years ? 12 : 0;
    require(step == 0 || sys_days{period_oracle::plus_months(civil(earlier), taken + step)} > sys_days{civil(later)},
            "one more month or year does not fit", a, b);
    require((years || p.years == 0) && (months || p.months == 0) && (!years || !months || p.months < 12),
            "only the units asked for", a, b);
    const int rest = static_cast<int>((sys_days{civil(later)} - anchor).count());
    const bool weeks = (units & spanlet::UNIT_WEEKS) != 0;
    const bool days = (units & spanlet::UNIT_DAYS) != 0;
    require(p.weeks == (weeks ? rest / 7 : 0), "the weeks are what is left", a, b);
    require(p.days == (days ? (weeks ? rest % 7 : rest) : 0), "the days are what is left", a, b);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 12)
        return 0;
    const int32_t span = LAST_DAY - FIRST_DAY + 1;
    int32_t a = FIRST_DAY + static_cast<int32_t>(take(data, size) % static_cast<uint32_t>(span));
    const uint32_t second = take(data, size);
    const uint32_t choices = take(data, size);
    // Half the pairs are near each other, so that the walk can check them.
    int32_t b = (choices & 1U) != 0 ? FIRST_DAY + static_cast<int32_t>(second % static_cast<uint32_t>(span))
                                    : a + static_cast<int32_t>(second % (2 * LONGEST_WALK + 1)) - LONGEST_WALK;
    b = b < FIRST_DAY ? FIRST_DAY : b > LAST_DAY ? LAST_DAY : b;
    if (a > b)
        std::swap(a, b);
    check_period(a, b, static_cast<spanlet::unit_set>((choices >> 1) % 15 + 1));

    if (b - a > LONGEST_WALK)
        return 0;
    const auto weekend = static_cast<spanlet::weekday_set>((choices >> 5) % 127);
    std::vector<int32_t> holidays;
    std::vector<sys_days> oracle_holidays;
    while (size >= 2) {
        const auto offset = static_cast<int32_t>(take(data, size) % static_cast<uint32_t>(b - a + 3)) - 1;
        const int32_t day = a + offset < LAST_DAY ? a + offset : LAST_DAY;
        holidays.push_back(day);
        oracle_holidays.push_back(oracle_day(day));
    }
    std::vector<unsigned> weekend_days;
    for (unsigned d = 1; d <= 7; ++d) {
        if ((weekend >> (d - 1) & 1U) != 0)
            weekend_days.push_back(d);
    }
    const spanlet::working_days calendar(weekend, holidays);
    const int expected = period_oracle::working_days(oracle_day(a), oracle_day(b), weekend_days, oracle_holidays);
    require(calendar.between(b, a, false) == expected, "working days agree with the walk", a, b);
    require(calendar.between(a, b, false) == -expected, "swapped, working days are negated", a, b);
    const int closed =
        period_oracle::working_days(oracle_day(a), oracle_day(b) + std::chrono::days{1}, weekend_days, oracle_holidays);
    require(calendar.between(b, a, true) == closed, "counting both ends adds the far end", a, b);
    return 0;
}
