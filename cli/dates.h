#pragma once
// Reading date texts as the command line asks: in its field order, with
// "today" (and "yesterday", "tomorrow") as the local date when the program
// started, and @SECONDS as the local date of that instant. The time zone is
// loaded on the first of these only: it is most of the cost of a short run.

#include <ctime>
#include <string_view>

#include "cli/options.h"
#include "date/date_text.h"

namespace spanlet::cli {

class date_reader {
public:
    explicit date_reader(const options& opts);
    date_reading read(std::string_view text) {
        date found{};
        if (read_fast(text, found))
            return {refusal::none, found, found};
        return read_other(text);
    }
    // The fast paths alone: true and the date for the spellings most dates
    // come in, which read() reads the same; false for the rest.
    bool read_fast(std::string_view text, date& found) const {
        return read_canonical_spelling(text, found) || read_numeric_spelling(text, order_, found);
    }

private:
    date_reading read_other(std::string_view text);

    field_order order_;
    std::time_t start_;
    date today_{};
    bool today_looked_up_ = false;
    bool today_known_ = false;
};

}  // namespace spanlet::cli
