#pragma once
// The one rule for a pair of date texts, for the command line and for every
// line of -f alike: both texts are read, and either the answer comes out or
// the refusal of each side that was refused, with its reason and the numbers
// found.

#include <cstdint>
#include <string_view>

#include "judge/common_lines.h"
#include "judge/dates.h"
#include "judge/working_count.h"
#include "io/numbers.h"
#include "options/options.h"
#include "date/calendar.h"
#include "date/date_text.h"
#include "date/periods.h"
#include "date/working_days.h"

namespace spanlet::cli {

// An answer: a whole number of one unit, or a span in several units.
struct answer {
    int32_t number = 0;     // one unit: first minus second in it, cut toward zero
    period parts{};         // several units: the size of each, all >= 0
    unit_set units = 0;     // several units: those asked for; 0 for a number
    bool negative = false;  // several units: the first date before the second
};

struct pair_verdict {
    date_reading sides[2];
    answer result;  // when answered(): first minus second, counted as the options ask

    [[nodiscard]] bool answered() const {
        return sides[0].reason == refusal::none && sides[1].reason == refusal::none;
    }
    [[nodiscard]] bool refused(int side) const { return sides[side].reason != refusal::none; }
    // The refusal that standard output shows: the first side's, if it was refused.
    [[nodiscard]] const date_reading& shown_refusal() const { return refused(0) ? sides[0] : sides[1]; }
};

// The run's one judge, shared read-only by every worker: judging changes
// nothing. It owns the order in which a line of -f is tried, and the guards
// that decide which of the fast paths may run for the run's options:
//   1. batches of eight common lines (YYYY-MM-DD<TAB>YYYY-MM-DD), counted in
//      vector lanes: plain days only, lines split at a tab, a limit that
//      holds the common line;
//   2. the common line alone, unsplit: lines split at a tab, the limit;
//   3. a pair of texts the strict readers read (read_fast);
//   4. the general rule (judge).
// Each later path answers what an earlier one answers, the same.
class pair_rule {
public:
    // `calendar` is what -b counts, and is needed with it.
    pair_rule(const options& opts, const run_clock& clock, const working_days* calendar = nullptr)
        : reader_(opts, clock), calendar_(calendar),
          working_count_(calendar != nullptr ? pick_working_count() : nullptr), units_(opts.units),
          inclusive_(opts.inclusive),
          how_(opts.business_days ? how::working_days : opts.units == UNIT_DAYS ? how::days
                                                       : (opts.units & (opts.units - 1)) == 0 ? how::one_unit
                                                                                              : how::several_units),
          common_lines_(!opts.csv && (opts.delimiter == nullptr || opts.delimiter[0] == '\t') &&
                        opts.line_limit >= COMMON_LINE - 1),
          batches_(common_lines_ && how_ == how::days ? pick_batch_answerer() : nullptr) {}

    // 1. The batch answerer, where batches may run; else nullptr.
    [[nodiscard]] batch_answerer batches() const { return batches_; }

    // 2. The common line at the head of `unread`, ended by LF or CR LF,
    // read without a search for its end: its length with the line end and
    // its two dates, or 0 where it is not the common line or may not be
    // taken unsplit.
    size_t read_common_line(std::string_view unread, date (&dates)[2]) const {
        constexpr size_t TEXT = COMMON_LINE - 1;  // without the line feed
        if (!common_lines_ || unread.size() <= TEXT + 1)
            return 0;
        const size_t feed = unread[TEXT] == '\r' ? TEXT + 1 : TEXT;
        if (unread[feed] != '\n' || unread[COMMON_DATE] != '\t' ||
            !read_canonical_spelling(unread.substr(0, COMMON_DATE), dates[0]) ||
            !read_canonical_spelling(unread.substr(COMMON_DATE + 1, COMMON_DATE), dates[1]))
            return 0;
        return feed + 1;
    }

    // 4. The general rule: both texts read, and the answer or each side's refusal.
    [[nodiscard]] pair_verdict judge(std::string_view first, std::string_view second) const {
        pair_verdict verdict{{reader_.read(first), reader_.read(second)}, {}};
        if (verdict.answered())
            verdict.result = difference(verdict.sides[0].value, verdict.sides[1].value);
        return verdict;
    }

    // 3. Both texts read by the strict readers alone, when they can be:
    // then judge() accepts them as the same dates.
    bool read_fast(std::string_view first, std::string_view second, date (&dates)[2]) const {
        return reader_.read_fast(first, dates[0]) && reader_.read_fast(second, dates[1]);
    }

    // The answer for two dates already read: what judge() gives for them.
    // Plain days, the common answer, are worked out here; the rest apart,
    // so that this stays small enough to be inlined into every loop.
    [[nodiscard, gnu::always_inline]] answer difference(const date& first, const date& second) const {
        if (how_ == how::days)
            return {counted(days_between(first, second), inclusive_)};
        return other_difference(first, second);
    }

private:
    enum class how : uint8_t { days, working_days, one_unit, several_units };

    [[nodiscard]] answer other_difference(const date& first, const date& second) const {
        if (how_ == how::working_days)
            return {working_count_(*calendar_, day_number(first), day_number(second), inclusive_)};
        return in_units(first, second);
    }

    // Counting both ends adds the first day: one more in the direction of the sign.
    static constexpr int32_t counted(int32_t days, bool inclusive) {
        if (!inclusive)
            return days;
        return days >= 0 ? days + 1 : days - 1;
    }

    // Years, months and weeks are counted from the earlier date to the later,
    // which, counting both ends, is a day further on.
    [[nodiscard]] answer in_units(const date& first, const date& second) const {
        const bool negative = !on_or_before(second, first);
        const date& earlier = negative ? first : second;
        date later = negative ? second : first;
        if (inclusive_)
            later = date_of_day_number(day_number(later) + 1);
        const period parts = period_between(earlier, later, units_);
        if (how_ == how::several_units)
            return {0, parts, units_, negative};
        const int32_t size = parts.years + parts.months + parts.weeks + parts.days;  // the one asked for
        return {negative ? -size : size};
    }

    date_reader reader_;
    const working_days* calendar_;
    working_count working_count_;  // with a calendar
    unit_set units_;
    bool inclusive_;
    how how_;
    bool common_lines_;  // 2 may run
    batch_answerer batches_;  // 1 may run: with plain days, where common lines may come
};

}  // namespace spanlet::cli
