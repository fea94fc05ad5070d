#pragma once
// The options of the stream fuzz targets, asked for as a user asks for them:
// a command line assembled from option bytes and read by the program's own
// parse_options, so that what is fuzzed is what `spanlet -f NAME ...` can
// ask. One byte, the answer byte, says in what the answers are given:
//
//   bits 0-1  0: days (bits 2-3: no -u, "-u d", "--units=Day" or "-ud")
//             1, 2: "-u LIST" (1) or "--units=LIST" (2), the units
//                   1 + (bits 2-5) % 15 (y, m, w, d as bits), spelled as
//                   bits 6-7 say (letters, letters smallest first, words,
//                   singular words of mixed case smallest first)
//             3: -b, the weekend of bits 2-4, the fixed holidays when bit 5
//                is set, "-u d" too when bit 6 is, "--business-days" for
//                "-b" when bit 7 is
//
// -b needs a calendar: the parsed weekend, less a small fixed list of
// holidays (or none), built once for each weekend and kept. Every run of
// one command judges by its one rule, with one clock: "today" is the same
// day for all of them.

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <iterator>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "date/calendar.h"
#include "date/working_days.h"
#include "options/options.h"
#include "io/message_log.h"
#include "judge/dates.h"
#include "judge/pair_rule.h"
#include "modes/csv_stream.h"
#include "modes/line_stream.h"
#include "../tests/memory_io.h"

namespace fuzz_options {

inline void require(bool property, const char* what) {
    if (!property) {
        std::fprintf(stderr, "property broken: %s\n", what);
        std::abort();
    }
}

// Holidays near the dates the seeds and the targets make: leap days, month
// and year ends, the ends of the range, one on a Saturday (2026-12-12), one
// listed twice.
constexpr spanlet::date HOLIDAYS[] = {
    {2024, 2, 29}, {2023, 2, 28}, {2000, 2, 29}, {1400, 1, 1},   {9999, 12, 31}, {2010, 8, 10}, {2010, 1, 1},
    {1999, 12, 31}, {2026, 12, 10}, {2026, 12, 25}, {2026, 12, 24}, {2026, 12, 12}, {2010, 4, 30}, {2026, 12, 25},
};

// The working days of `weekend`, with or without the fixed holidays: built
// the first time it is asked for, then kept.
inline const spanlet::working_days& fixed_calendar(spanlet::weekday_set weekend, bool holidays) {
    static std::optional<spanlet::working_days> built[2][spanlet::EVERY_WEEKDAY + 1];
    std::optional<spanlet::working_days>& calendar = built[holidays ? 1 : 0][weekend & spanlet::EVERY_WEEKDAY];
    if (!calendar) {
        std::vector<int32_t> days;
        if (holidays)
            std::transform(std::begin(HOLIDAYS), std::end(HOLIDAYS), std::back_inserter(days),
                           [](const spanlet::date& d) { return spanlet::day_number(d); });
        calendar.emplace(weekend, std::move(days));
    }
    return *calendar;
}

// The units of -u as written, for a set of them (bits of spanlet's UNIT_*),
// in one of four spellings.
inline std::string units_text(spanlet::unit_set units, unsigned spelling) {
    struct unit_names {
        spanlet::unit_set unit;
        const char* letter;
        const char* plural;
        const char* singular;
    };
    constexpr unit_names NAMES[] = {{spanlet::UNIT_YEARS, "y", "years", "Year"},
                                    {spanlet::UNIT_MONTHS, "m", "months", "MONTH"},
                                    {spanlet::UNIT_WEEKS, "w", "weeks", "wEEk"},
                                    {spanlet::UNIT_DAYS, "d", "days", "Day"}};
    std::string text;
    for (size_t i = 0; i < std::size(NAMES); ++i) {
        // Largest first, or smallest first for spellings 1 and 3.
        const unit_names& name = NAMES[(spelling & 1) != 0 ? std::size(NAMES) - 1 - i : i];
        if ((units & name.unit) == 0)
            continue;
        if (spelling < 2) {
            text += name.letter;
        } else {
            text += text.empty() ? "" : ",";
            text += spelling == 2 ? name.plural : name.singular;
        }
    }
    return text;
}

// spanlet -f NAME and the options added, read by parse_options. The options
// point into the words: nothing is added after parse().
class command {
public:
    command() : words_{"spanlet", "-f", "NAME"} {}
    ~command() = default;
    command(const command&) = delete;
    command& operator=(const command&) = delete;
    command(command&&) = delete;
    command& operator=(command&&) = delete;

    void add(std::string word) { words_.push_back(std::move(word)); }
    void add_if(bool wanted, const char* word) {
        if (wanted)
            add(word);
    }

    // The words of -u or -b that the answer byte asks for.
    void answer_in(uint8_t byte) {
        const unsigned kind = byte & 3U;
        if (kind == 0) {
            constexpr const char* DAYS[] = {nullptr, "-u d", "--units=Day", "-ud"};
            const char* days = DAYS[(byte >> 2) & 3U];
            if (days == nullptr)
                return;
            if (days[2] == ' ') {
                add("-u");
                add("d");
            } else {
                add(days);
            }
            units_ = spanlet::UNIT_DAYS;
            return;
        }
        if (kind < 3) {
            units_ = static_cast<spanlet::unit_set>(1 + ((byte >> 2) & 15U) % 15);
            if (kind == 1) {
                add("-u");
                add(units_text(units_, byte >> 6));
            } else {
                add("--units=" + units_text(units_, byte >> 6));
            }
            return;
        }
        // A weekend of each size but seven, in several spellings; the first
        // is the default, no --weekend at all.
        constexpr const char* WEEKENDS[] = {nullptr,  "--weekend=sat,sun", "--weekend=none", "--weekend=fri,sat",
                                            "--weekend=Sunday", "--weekend=mon,tue,wed,thu,fri,sat",
                                            "--weekend=thu", "--weekend=SAT,sun,Wednesday"};
        add((byte & 0x80U) != 0 ? "--business-days" : "-b");
        const char* weekend = WEEKENDS[(byte >> 2) & 7U];
        if (weekend != nullptr)
            add(weekend);
        business_days_ = true;
        holidays_ = (byte & 0x20U) != 0;
        if ((byte & 0x40U) != 0) {
            add("-u");
            add("days");
            units_ = spanlet::UNIT_DAYS;
        }
    }

    // The options of the words added, which must be a run of batch mode;
    // valid as long as this command is.
    const spanlet::cli::options& parse() {
        argv_.clear();
        std::transform(words_.begin(), words_.end(), std::back_inserter(argv_),
                       [](std::string& word) { return word.data(); });
        argv_.push_back(nullptr);
        opts_ = spanlet::cli::parse_options(static_cast<int>(words_.size()), argv_.data());
        require(opts_.what == spanlet::cli::action::batch, "the options assembled are a run of batch mode");
        require(opts_.business_days == business_days_, "-b is read as asked");
        require(opts_.units == units_, "the units are read as asked");
        calendar_ = business_days_ ? &fixed_calendar(opts_.weekend, holidays_) : nullptr;
        rule_.emplace(opts_, clock_, calendar_);
        return opts_;
    }

    [[nodiscard]] const spanlet::cli::options& options() const { return opts_; }
    // What -b counts, or nullptr without it.
    [[nodiscard]] const spanlet::working_days* calendar() const { return calendar_; }
    // The run's one judge, after parse().
    [[nodiscard]] const spanlet::cli::pair_rule& rule() const { return *rule_; }

private:
    std::vector<std::string> words_;
    std::vector<char*> argv_;
    spanlet::cli::options opts_;
    spanlet::unit_set units_ = spanlet::UNIT_DAYS;
    bool business_days_ = false;
    bool holidays_ = false;
    const spanlet::working_days* calendar_ = nullptr;
    spanlet::cli::run_clock clock_{spanlet::cli::clock_of_this_run()};
    std::optional<spanlet::cli::pair_rule> rule_;
};

// As memory_io::run, with the command's rule (and so the calendar of -b):
// batch mode (or CSV mode) with one worker over `input` read in `chunks`
// (whole reads when empty).
inline memory_io::result run(const command& cmd, std::string_view input, std::vector<size_t> chunks = {},
                             bool pipe = false) {
    const spanlet::cli::options& opts = cmd.options();
    memory_io::source in(input, std::move(chunks), pipe);
    memory_io::sink out;
    memory_io::sink err;
    int status = 0;
    {
        spanlet::cli::message_log messages(err);
        status = opts.csv ? spanlet::cli::run_csv_stream(opts, "NAME", in, out, messages, cmd.rule())
                          : spanlet::cli::run_line_stream(opts, "NAME", in, out, messages, cmd.rule());
    }
    return {out.text, err.text, err.writes, status};
}

}  // namespace fuzz_options
