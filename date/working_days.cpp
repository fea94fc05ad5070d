#include "date/working_days.h"

#include <algorithm>
#include <bit>
#include <utility>

namespace spanlet {

working_days::working_days(weekday_set weekend, std::vector<int32_t> holidays) {
    for (int32_t k = 0; k < 2 * DAYS_IN_WEEK; ++k) {
        const bool works = (weekend & weekday_bit(k % DAYS_IN_WEEK + 1)) == 0;
        before_[k + 1] = before_[k] + (works ? 1 : 0);
    }
    per_week_ = before_[DAYS_IN_WEEK];
    // A holiday on a weekend day takes no working day away.
    std::erase_if(holidays, [weekend](int32_t day) { return (weekend & weekday_bit(iso_weekday(day))) != 0; });
    std::sort(holidays.begin(), holidays.end());
    holidays.erase(std::unique(holidays.begin(), holidays.end()), holidays.end());
    if (holidays.empty())
        return;
    first_ = holidays.front();
    // One block past the last holiday's, so that a day after every holiday
    // is read where all of them are before it.
    const auto blocks = static_cast<size_t>((int64_t{holidays.back()} - first_) / DAYS_IN_BLOCK + 2);
    blocks_.assign(blocks, block{0, 0});
    last_offset_ = static_cast<int64_t>(blocks) * DAYS_IN_BLOCK - 1;
    for (const int32_t day : holidays) {
        const int64_t offset = int64_t{day} - first_;
        blocks_[static_cast<size_t>(offset / DAYS_IN_BLOCK)].holidays |= uint64_t{1} << (offset % DAYS_IN_BLOCK);
    }
    int32_t before = 0;
    for (block& b : blocks_) {
        b.before = before;
        before += std::popcount(b.holidays);
    }
}

}  // namespace spanlet
