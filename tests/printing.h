#pragma once
// How GoogleTest shows spanlet's values when a case fails.

#include <iterator>
#include <ostream>

#include "date/date_text.h"

namespace spanlet {

inline void PrintTo(const date& d, std::ostream* out) {
    *out << d.year << "-" << d.month << "-" << d.day;
}

inline void PrintTo(refusal r, std::ostream* out) {
    constexpr const char* NAMES[] = {
        "none", "not_a_date", "missing_digits", "negative_number", "not_a_time_after",
        "year_before_range", "year_after_range", "no_such_month", "no_such_day", "today_unknown",
        "no_year", "wrong_weekday", "week_not_day", "no_such_week", "no_such_weekday",
        "no_such_year_day", "instant_unknown",
    };
    static_assert(std::size(NAMES) == REFUSAL_COUNT, "a name for every refusal");
    *out << NAMES[static_cast<int>(r)];
}

}  // namespace spanlet
