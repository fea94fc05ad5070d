#pragma once
// Reading date texts as the command line asks: in its field order, with
// "today" as the local date when the program started. The time zone is loaded
// on the first "today" only: it is most of the cost of a short run.

#include <ctime>
#include <string_view>

#include "cli/options.h"
#include "date/date_text.h"

namespace spanlet::cli {

class date_reader {
public:
    explicit date_reader(const options& opts);
    date_reading read(std::string_view text);

private:
    reading_options how_;
    std::time_t start_;
    date today_{};
    bool today_looked_up_ = false;
};

// Counting both ends adds the first day: one more in the direction of the sign.
constexpr int32_t counted(int32_t days, bool inclusive) {
    if (!inclusive)
        return days;
    return days >= 0 ? days + 1 : days - 1;
}

}  // namespace spanlet::cli
