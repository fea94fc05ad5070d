#include "cli/dates.h"

#include <ctime>
#include <limits>

namespace spanlet::cli {
namespace {

// The local calendar date of the instant `now`, TZ honoured.
bool local_date(std::time_t now, date& out) {
    if (now == static_cast<std::time_t>(-1))
        return false;
    const std::tm* local = std::localtime(&now);
    if (local == nullptr)
        return false;
    out = {local->tm_year + 1900, local->tm_mon + 1, local->tm_mday};
    return true;
}

// For @SECONDS: where time_t cannot hold the instant, its date is not known.
bool local_date_of(int64_t seconds, date& out) {
    if (seconds < std::numeric_limits<std::time_t>::min() || seconds > std::numeric_limits<std::time_t>::max())
        return false;
    return local_date(static_cast<std::time_t>(seconds), out);
}

}  // namespace

date_reader::date_reader(const options& opts)
    : order_(opts.day_first ? field_order::day_first : field_order::month_first), start_(std::time(nullptr)) {}

date_reading date_reader::read_other(std::string_view text) {
    if (!today_looked_up_ && relative_day(text) != RELATIVE_NONE) {
        today_looked_up_ = true;
        today_known_ = local_date(start_, today_);
    }
    // The options point at today_ only for this call, so that a copy of the
    // reader never points into another.
    reading_options how;
    how.order = order_;
    how.today = today_known_ ? &today_ : nullptr;
    how.local_date_of = local_date_of;
    return read_date_general(text, how);
}

}  // namespace spanlet::cli
