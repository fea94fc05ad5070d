#include "date/working_days.h"

#include <algorithm>
#include <utility>

namespace spanlet {

working_days::working_days(weekday_set weekend, std::vector<int32_t> holidays) : holidays_(std::move(holidays)) {
    for (int32_t k = 0; k < 2 * DAYS_IN_WEEK; ++k) {
        const bool works = (weekend & weekday_bit(k % DAYS_IN_WEEK + 1)) == 0;
        before_[k + 1] = before_[k] + (works ? 1 : 0);
    }
    per_week_ = before_[DAYS_IN_WEEK];
    // A holiday on a weekend day takes no working day away.
    std::erase_if(holidays_, [weekend](int32_t day) { return (weekend & weekday_bit(iso_weekday(day))) != 0; });
    std::sort(holidays_.begin(), holidays_.end());
    holidays_.erase(std::unique(holidays_.begin(), holidays_.end()), holidays_.end());
}

}  // namespace spanlet
