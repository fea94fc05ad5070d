#pragma once
// The English names of the months and the weekdays, in lower case: the one
// table that the reader, --weekend and the messages take them from.

#include <cstddef>
#include <string_view>

namespace spanlet {

inline constexpr std::string_view MONTH_NAMES[12] = {
    "january", "february", "march", "april", "may", "june",
    "july", "august", "september", "october", "november", "december",
};
// Monday first, as ISO 8601 numbers them: weekday n is WEEKDAY_NAMES[n - 1].
inline constexpr std::string_view WEEKDAY_NAMES[7] = {
    "monday", "tuesday", "wednesday", "thursday", "friday", "saturday", "sunday",
};
// A name may be written by its first three letters: they tell every name of
// a table from the others.
inline constexpr size_t NAME_ABBREVIATION = 3;

}  // namespace spanlet
