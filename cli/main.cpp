// spanlet: prints the number of days between two calendar dates.
//
// For two dates on the command line, standard output gets a line feed, each
// date argument followed by a tab, then the first date's day number minus the
// second's, with no line feed (with -n, the number alone and a line feed).
// With -f FILE, every line of FILE holds a pair, and gets one line of answer.
// Why a date was refused goes to standard error. Exit status: 0 after a
// result, --help or --version; 1 after the usage text, a refused date, a
// usage error, input that could not be read or output that could not be
// written.

#include "cli/dates.h"
#include "cli/line_stream.h"
#include "cli/options.h"
#include "cli/output.h"
#include "date/calendar.h"
#include "date/date_text.h"

namespace {

constexpr int STANDARD_OUTPUT = 1;  // the descriptor batch mode writes its answers to

using namespace spanlet;
using namespace spanlet::cli;

// Two dates from the command line. Both are read, and each refusal reported,
// before anything is judged; only the first refused date is shown on
// standard output.
int answer_pair(const options& opts) {
    if (!opts.number_only)
        print_echo(opts.dates[0], opts.dates[1]);
    date_reader reader(opts);
    date_reading readings[2];
    bool all_read = true;
    for (int i = 0; i < 2; ++i) {
        readings[i] = reader.read(opts.dates[i]);
        if (readings[i].reason != refusal::none) {
            report_refusal({}, opts.dates[i], readings[i]);
            all_read = false;
        }
    }
    if (!all_read) {
        if (!opts.number_only)
            print_not_valid(readings[readings[0].reason != refusal::none ? 0 : 1].value);
        return EXIT_FAILED;
    }
    print_difference(counted(days_between(readings[0].value, readings[1].value), opts.inclusive),
                     opts.number_only);
    return EXIT_OK;
}

}  // namespace

int main(int argc, char** argv) {
    const options opts = parse_options(argc, argv);
    switch (opts.what) {
    case action::difference:
        return finish(answer_pair(opts));
    case action::batch:
        return run_line_stream(opts, STANDARD_OUTPUT);
    case action::help:
        print_help();
        return finish(EXIT_OK);
    case action::version:
        print_version();
        return finish(EXIT_OK);
    case action::usage:
        print_usage();
        return finish(EXIT_FAILED);
    case action::bad_option:
    case action::bad_value:
    case action::extra_date:
    case action::mixed_modes:
        report_usage_error(opts);
        return finish(EXIT_FAILED);
    }
    return EXIT_FAILED;
}
