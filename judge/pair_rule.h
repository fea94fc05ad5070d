#pragma once
// The one rule for a pair of date texts, for the command line and for every
// line of -f alike: both texts are read, and either the answer comes out or
// the refusal of each side that was refused, with its reason and the numbers
// found.

#include <cstdint>
#include <string_view>

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

// Room write_answer needs at `out`.
inline constexpr size_t ANSWER_ROOM = PERIOD_ROOM;
static_assert(ANSWER_ROOM >= INT32_ROOM);

// The answer's text at `out`; returns its end.
inline char* write_answer(char* out, const answer& a) {
    return a.units == 0 ? write_int32(out, a.number) : write_period(out, a.parts, a.units, a.negative);
}

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

// One rule a run, shared read-only by every worker: judging changes nothing.
class pair_rule {
public:
    // `calendar` is what -b counts, and is needed with it.
    pair_rule(const options& opts, const run_clock& clock, const working_days* calendar = nullptr)
        : reader_(opts, clock), calendar_(calendar), working_count_(calendar != nullptr ? pick_working_count() : nullptr), units_(opts.units), inclusive_(opts.inclusive),
          how_(opts.business_days ? how::working_days : opts.units == UNIT_DAYS ? how::days
                                                       : (opts.units & (opts.units - 1)) == 0 ? how::one_unit
                                                                                              : how::several_units) {}

    [[nodiscard]] pair_verdict judge(std::string_view first, std::string_view second) const {
        pair_verdict verdict{{reader_.read(first), reader_.read(second)}, {}};
        if (verdict.answered())
            verdict.result = difference(verdict.sides[0].value, verdict.sides[1].value);
        return verdict;
    }

    // Both texts read by the fast paths alone, when they can be: then
    // judge() accepts them as the same dates.
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

    // Whether difference() answers in plain days, the one number.
    [[nodiscard]] bool plain_days() const { return how_ == how::days; }

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
};

}  // namespace spanlet::cli
