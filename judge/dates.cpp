#include "judge/dates.h"

#include <ctime>
#include <limits>

namespace spanlet::cli {

bool local_date_of(int64_t seconds, date& out) {
    // Where time_t cannot hold the instant, its date is not known.
    if (seconds < std::numeric_limits<std::time_t>::min() || seconds > std::numeric_limits<std::time_t>::max())
        return false;
    const auto instant = static_cast<std::time_t>(seconds);
    std::tm local{};
#ifdef _WIN32
    if (localtime_s(&local, &instant) != 0)
        return false;
#else
    if (localtime_r(&instant, &local) == nullptr)
        return false;
#endif
    out = {local.tm_year + 1900, local.tm_mon + 1, local.tm_mday};
    return true;
}

run_clock clock_of_this_run() { return run_clock(std::time(nullptr)); }

date_reading date_reader::read_other(std::string_view text) const {
    reading_options how;
    how.order = order_;
    if (relative_day(text) != RELATIVE_NONE)
        how.today = clock_.today();
    how.local_date_of = local_date_of;
    return read_date_general(text, how);
}

}  // namespace spanlet::cli
