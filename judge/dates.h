#pragma once
// Reading date texts as the command line asks: in its field order, with
// "today" (and "yesterday", "tomorrow") as the local date when the run
// started, and @SECONDS as the local date of that instant.
//
// A run has one clock and one reader, shared read-only by every worker: the
// clock is read once, when the run starts, and today's date is worked out
// from it the first time a text asks for it, once for all threads. The time
// zone is loaded only then: it is most of the cost of a short run.

#include <cstdint>
#include <ctime>
#include <mutex>
#include <string_view>

#include "options/options.h"
#include "date/date_text.h"

namespace spanlet::cli {

// The local calendar date of `seconds` since 1970 (TZ honoured), through the
// system's reentrant conversion; false where the system cannot say.
bool local_date_of(int64_t seconds, date& out);

class run_clock {
public:
    // The instant the run started.
    explicit run_clock(std::time_t start) : start_(start) {}
    // Today's local date, the same for every caller of one run; nullptr when
    // the system cannot say. Safe to call from several threads.
    [[nodiscard]] const date* today() const {
        std::call_once(looked_up_, [this] {
            known_ = start_ != static_cast<std::time_t>(-1) && local_date_of(static_cast<int64_t>(start_), today_);
        });
        return known_ ? &today_ : nullptr;
    }

private:
    std::time_t start_;
    mutable std::once_flag looked_up_;
    mutable date today_{};
    mutable bool known_ = false;
};

// The clock of a run that starts now.
run_clock clock_of_this_run();

class date_reader {
public:
    date_reader(const options& opts, const run_clock& clock)
        : order_(opts.day_first ? field_order::day_first : field_order::month_first), clock_(clock) {}
    [[nodiscard]] date_reading read(std::string_view text) const {
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
    [[nodiscard]] date_reading read_other(std::string_view text) const;

    field_order order_;
    const run_clock& clock_;
};

}  // namespace spanlet::cli
