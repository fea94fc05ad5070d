// The answer in units and in working days as the program gives it: the
// options that choose it, the sign of the whole, and the text written.

#include <gtest/gtest.h>

#include <cstdint>
#include <random>
#include <string>
#include <vector>

#include "options/options.h"
#include "judge/pair_rule.h"
#include "print/answer_text.h"
#include "date/periods.h"

namespace {

using spanlet::date;
using spanlet::cli::answer;
using spanlet::cli::options;
using spanlet::cli::pair_rule;

std::string text_of(const answer& a) {
    char out[spanlet::cli::ANSWER_ROOM];
    return {out, spanlet::cli::write_answer(out, a)};
}

options with_units(const char* units, bool inclusive = false) {
    options opts;
    EXPECT_TRUE(spanlet::cli::parse_units(units, opts.units)) << units;
    opts.inclusive = inclusive;
    return opts;
}

struct answer_case {
    const char* units;
    bool inclusive;
    const char* first;
    const char* second;
    const char* expected;
};

TEST(Answers, InUnits) {
    const answer_case cases[] = {
        // First minus second: 1 Mar minus 31 Jan is one month and a day; a
        // peer wrote "-0 1 62" for it.
        {"ymd", false, "2010-03-01", "2010-01-31", "P1M1D"},
        {"ymd", false, "2010-01-31", "2010-03-01", "-P1M1D"},
        {"md", false, "2013-02-28", "2012-02-29", "P12M"},
        {"years,months,days", false, "2013-02-28", "2012-02-29", "P1Y"},
        {"y", false, "2026-12-10", "1990-05-31", "36"},
        {"y", false, "1990-05-31", "2026-12-10", "-36"},
        {"Year", false, "2026-05-30", "1990-05-31", "35"},
        {"m", false, "2010-01-05", "2010-01-01", "0"},
        {"w", false, "2010-08-10", "2010-01-01", "31"},
        {"wd", false, "2010-08-10", "2010-01-01", "P31W4D"},
        {"dwmy", false, "2010-08-10", "2010-08-10", "P0D"},
        {"ym", false, "2010-01-05", "2010-01-01", "P0M"},
        {"ym", false, "2010-01-01", "2010-01-05", "P0M"},  // never "-P0M"
        {"yw", false, "2010-01-01", "2010-01-05", "P0W"},
        {"d", false, "2010-08-10", "2010-01-01", "221"},
        {"d", true, "2010-08-10", "2010-01-01", "222"},
        // Counting both ends: the later date's day is in the span.
        {"m", true, "2010-01-31", "2010-01-01", "1"},
        {"md", true, "2010-01-01", "2010-01-31", "-P1M"},
        {"ymwd", false, "9999-12-31", "1400-01-01", "P8599Y11M4W2D"},
        {"ymd", false, "2010-11-11", "2010-01-01", "P10M10D"},
        {"yd", false, "2110-01-10", "2010-01-01", "P100Y9D"},
        {"ymd", true, "9999-12-31", "1400-01-01", "P8600Y"},
    };
    for (const answer_case& c : cases) {
        const spanlet::cli::run_clock clock(0);
        const pair_rule rule(with_units(c.units, c.inclusive), clock);
        const auto verdict = rule.judge(c.first, c.second);
        ASSERT_TRUE(verdict.answered()) << c.first << " " << c.second;
        EXPECT_EQ(text_of(verdict.result), c.expected)
            << c.first << " minus " << c.second << " in " << c.units << (c.inclusive ? " counting both ends" : "");
    }
}

TEST(Answers, UnitAndWeekendWords) {
    struct words {
        const char* text;
        bool read;
        spanlet::unit_set units;
    };
    for (const words& w : std::vector<words>{{"ymd", true, 13}, {"dmy", true, 13}, {"y", true, 8}, {"years", true, 8},
                                             {"Days", true, 1}, {"week,day", true, 3}, {"years,months,days", true, 13},
                                             {"yy", false, 0}, {"year,years", false, 0}, {"", false, 0},
                                             {"y,", false, 0}, {",y", false, 0}, {"ymx", false, 0}, {"fortnight", false, 0}}) {
        spanlet::unit_set units = 0;
        EXPECT_EQ(spanlet::cli::parse_units(w.text, units), w.read) << '"' << w.text << '"';
        if (w.read) {
            EXPECT_EQ(units, w.units) << w.text;
        }
    }
    struct weekend {
        const char* text;
        bool read;
        spanlet::weekday_set days;
    };
    for (const weekend& w : std::vector<weekend>{{"sat,sun", true, 0x60}, {"Friday,SAT", true, 0x30}, {"none", true, 0},
                                                 {"sun,sun", true, 0x40}, {"mon,tue,wed,thu,fri,sat,sun", false, 0},
                                                 {"", false, 0}, {"sa", false, 0}, {"sat,", false, 0}, {"satur", false, 0}}) {
        spanlet::weekday_set days = 0xFF;
        EXPECT_EQ(spanlet::cli::parse_weekend(w.text, days), w.read) << '"' << w.text << '"';
        if (w.read) {
            EXPECT_EQ(days, w.days) << w.text;
        }
    }
}

// Swapping the dates negates the whole answer, in every unit, counting both
// ends or not.
TEST(Answers, SwappingTheDatesNegatesTheAnswer) {
    std::mt19937 random(31);
    std::uniform_int_distribution<int32_t> any_day(spanlet::day_number({1400, 1, 1}), spanlet::day_number({9999, 12, 31}));
    for (const char* units : {"y", "m", "w", "d", "ymd", "ymwd", "wd", "yd"}) {
        for (const bool inclusive : {false, true}) {
            const spanlet::cli::run_clock clock(0);
            const pair_rule rule(with_units(units, inclusive), clock);
            for (int i = 0; i < 20'000; ++i) {
                const date a = spanlet::date_of_day_number(any_day(random));
                const date b = spanlet::date_of_day_number(i % 3 == 0 ? spanlet::day_number(a) + static_cast<int32_t>(random() % 400) - 200 : any_day(random));
                // The same date twice, counting both ends, is 1 either way.
                if (!spanlet::is_valid_date(b) || b.year < 1400 || a == b)
                    continue;
                const answer there = rule.difference(a, b);
                const answer back = rule.difference(b, a);
                ASSERT_EQ(there.number, -back.number) << units << " " << a.year << "-" << a.month << "-" << a.day;
                ASSERT_EQ(there.parts, back.parts) << units;
                // A span in several units carries its sign apart.
                ASSERT_EQ(there.negative != back.negative, there.units != 0) << units;
            }
        }
    }
}

}  // namespace
