#pragma once
// The units of an answer, and every name each goes by: the one table that
// --units reads, ISO 8601 durations are written with, and CSV mode names
// its answer column from. Adding a unit is a row here and its arithmetic in
// date/periods.h.

#include <cstdint>
#include <string_view>

#include "date/periods.h"

namespace spanlet::cli {

struct unit_names {
    unit_set unit;
    int32_t period::*size;   // the unit's part of a period
    std::string_view letter;  // in letters together: -u ymd
    std::string_view singular;
    std::string_view plural;  // also the answer column's name
    char designator;          // of ISO 8601: P1Y2M3W4D
};

// Largest first: the order of the parts of a duration and of the words of a
// column name.
inline constexpr unit_names UNITS[] = {
    {UNIT_YEARS, &period::years, "y", "year", "years", 'Y'},
    {UNIT_MONTHS, &period::months, "m", "month", "months", 'M'},
    {UNIT_WEEKS, &period::weeks, "w", "week", "weeks", 'W'},
    {UNIT_DAYS, &period::days, "d", "day", "days", 'D'},
};

}  // namespace spanlet::cli
