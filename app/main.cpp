// spanlet: prints the number of days between two calendar dates.
//
// For two dates on the command line, standard output gets a line feed, each
// date argument followed by a tab, then the first date's day number minus the
// second's, with no line feed (with -n, the number alone and a line feed).
// With -f FILE, every line of FILE holds a pair, and gets one row of answer.
// Why a date was refused goes to standard error. Exit status: 0 after a
// result, --help or --version; 1 after the usage text, a refused date, a
// usage error, input that could not be read or output that could not be
// written.

#include <optional>

#include "modes/csv_stream.h"
#include "io/fd_io.h"
#include "modes/holidays.h"
#include "modes/line_stream.h"
#include "print/messages.h"
#include "options/options.h"
#include "print/output.h"
#include "judge/pair_rule.h"

namespace {

using namespace spanlet::cli;
using spanlet::working_days;

// Two dates from the command line, judged by the rule every line of -f is
// judged by.
int answer_pair(const options& opts, const pair_rule& rule, message_log& messages) {
    const pair_verdict verdict = rule.judge(opts.dates[0], opts.dates[1]);
    say::refusals(messages, {}, opts.dates[0], opts.dates[1], verdict);
    print_pair(opts, verdict);
    return verdict.answered() ? EXIT_OK : EXIT_FAILED;
}

}  // namespace

int main(int argc, char** argv) {
    const options opts = parse_options(argc, argv);
    fd_sink standard_error(STANDARD_ERROR);
    message_log messages(standard_error);
    // One clock and one judge for the run: every date, every holiday and
    // every worker's line read by them.
    const run_clock clock = clock_of_this_run();
    // The holidays of -b are read before any answer is given.
    std::optional<working_days> calendar;
    if (opts.business_days && (opts.what == action::difference || opts.what == action::batch)) {
        calendar = load_working_days(opts, clock, messages);
        if (!calendar)
            return finish(EXIT_FAILED, messages);
    }
    const pair_rule rule(opts, clock, calendar ? &*calendar : nullptr);
    switch (opts.what) {
    case action::difference:
        return finish(answer_pair(opts, rule, messages), messages);
    case action::batch:
        if (opts.csv)
            return run_csv_stream(opts, STANDARD_OUTPUT, messages, rule);
        return run_line_stream(opts, STANDARD_OUTPUT, messages, rule);
    case action::help:
        print_help();
        return finish(EXIT_OK, messages);
    case action::version:
        print_version();
        return finish(EXIT_OK, messages);
    case action::usage:
        // With -n, standard output holds a number or nothing.
        print_usage(opts.number_only ? stderr : stdout);
        return finish(EXIT_FAILED, messages);
    default:
        say::usage_error(messages, opts);
        return finish(EXIT_FAILED, messages);
    }
}
