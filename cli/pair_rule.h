#pragma once
// The one rule for a pair of date texts, for the command line and for every
// line of -f alike: both texts are read, and either the difference comes out
// or the refusal of each side that was refused, with its reason and the
// numbers found.

#include <cstdint>
#include <string_view>

#include "cli/dates.h"
#include "cli/options.h"
#include "date/date_text.h"

namespace spanlet::cli {

struct pair_verdict {
    date_reading sides[2];
    int32_t days;  // when answered(): first minus second, counted as the options ask

    [[nodiscard]] bool answered() const {
        return sides[0].reason == refusal::none && sides[1].reason == refusal::none;
    }
    [[nodiscard]] bool refused(int side) const { return sides[side].reason != refusal::none; }
    // The refusal that standard output shows: the first side's, if it was refused.
    [[nodiscard]] const date_reading& shown_refusal() const { return refused(0) ? sides[0] : sides[1]; }
};

class pair_rule {
public:
    explicit pair_rule(const options& opts) : reader_(opts), inclusive_(opts.inclusive) {}

    pair_verdict judge(std::string_view first, std::string_view second) {
        pair_verdict verdict{{reader_.read(first), reader_.read(second)}, 0};
        if (verdict.answered())
            verdict.days = difference(verdict.sides[0].value, verdict.sides[1].value);
        return verdict;
    }

    // The answer for two dates already read: what judge() gives for them.
    [[nodiscard]] int32_t difference(const date& first, const date& second) const {
        return counted(days_between(first, second), inclusive_);
    }

private:
    // Counting both ends adds the first day: one more in the direction of the sign.
    static constexpr int32_t counted(int32_t days, bool inclusive) {
        if (!inclusive)
            return days;
        return days >= 0 ? days + 1 : days - 1;
    }

    date_reader reader_;
    bool inclusive_;
};

}  // namespace spanlet::cli
