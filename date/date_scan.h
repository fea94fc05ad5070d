#pragma once
// Finding the date in a text, in every spelling spanlet reads: the work of
// the first stage, before the canonical text is written. Internal to the
// date library.

#include <cstdint>
#include <string_view>

#include "date/date_text.h"

namespace spanlet::scan {

// The date a text spells: its year (widened), month and day as written, or
// the reason it spells none. The numbers are not checked against the
// calendar here, but a week or ordinal date is turned into its month and
// day, which is.
// `weekday` gets the weekday the text names (1-7), or 0.
normalized find_date(std::string_view text, field_order order, int32_t& weekday);

}  // namespace spanlet::scan
