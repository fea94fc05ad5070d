#include "cli/dates.h"

#include <ctime>

namespace spanlet::cli {
namespace {

// The local calendar date at `now`, TZ honoured.
bool local_date(std::time_t now, date& today) {
    if (now == static_cast<std::time_t>(-1))
        return false;
    const std::tm* local = std::localtime(&now);
    if (local == nullptr)
        return false;
    today = {local->tm_year + 1900, local->tm_mon + 1, local->tm_mday};
    return true;
}

}  // namespace

date_reader::date_reader(const options& opts)
    : order_(opts.day_first ? field_order::day_first : field_order::month_first), start_(std::time(nullptr)) {}

date_reading date_reader::read_other(std::string_view text) {
    if (!today_looked_up_ && names_today(text)) {
        today_looked_up_ = true;
        today_known_ = local_date(start_, today_);
    }
    // The options point at today_ only for this call, so that a copy of the
    // reader never points into another.
    reading_options how;
    how.order = order_;
    how.today = today_known_ ? &today_ : nullptr;
    return read_date_general(text, how);
}

}  // namespace spanlet::cli
