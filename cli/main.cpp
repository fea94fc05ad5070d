// spanlet: prints the number of days between two calendar dates.
//
// Output on standard output: a line feed, each date argument followed by a
// tab, then the first date's day number minus the second's, with no line feed
// (with -n, the number alone and a line feed). Why a date was refused goes to
// standard error. Exit status: 0 after a result, --help or --version; 1 after
// the usage text, a refused date, a wrong option or date count, or output that
// could not be written.

#include <ctime>

#include "cli/options.h"
#include "cli/output.h"
#include "date/calendar.h"
#include "date/date_text.h"

namespace {

using namespace spanlet;
using namespace spanlet::cli;

// The local calendar date now, TZ honoured. Asked for only when a date
// argument is "today": loading the time zone is most of the cost of a run.
bool local_date(date& today) {
    const std::time_t now = std::time(nullptr);
    const std::tm* local = std::localtime(&now);
    if (now == static_cast<std::time_t>(-1) || local == nullptr)
        return false;
    today = {local->tm_year + 1900, local->tm_mon + 1, local->tm_mday};
    return true;
}

// Both dates are read (and each refusal reported) before anything is judged.
bool read_dates(const options& opts, date_reading (&readings)[2]) {
    date today{};
    reading_options how;
    how.order = opts.day_first ? field_order::day_first : field_order::month_first;
    if ((names_today(opts.dates[0]) || names_today(opts.dates[1])) && local_date(today))
        how.today = &today;

    bool all_read = true;
    for (int i = 0; i < 2; ++i) {
        readings[i] = read_date(opts.dates[i], how);
        if (readings[i].reason != refusal::none) {
            report_refusal(opts.dates[i], readings[i]);
            all_read = false;
        }
    }
    return all_read;
}

// Counting both ends adds the first day: one more in the direction of the sign.
int32_t counted(int32_t days, bool inclusive) {
    if (!inclusive)
        return days;
    return days >= 0 ? days + 1 : days - 1;
}

}  // namespace

int main(int argc, char** argv) {
    const options opts = parse_options(argc, argv);
    switch (opts.what) {
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
        report_bad_option(opts.offending);
        return finish(EXIT_FAILED);
    case action::extra_date:
        report_extra_date(opts.offending);
        return finish(EXIT_FAILED);
    case action::difference:
        break;
    }

    if (!opts.number_only)
        print_echo(opts.dates[0], opts.dates[1]);
    date_reading readings[2];
    if (!read_dates(opts, readings)) {
        // Only the first refused date is shown on standard output.
        if (!opts.number_only)
            print_not_valid(readings[readings[0].reason != refusal::none ? 0 : 1].value);
        return finish(EXIT_FAILED);
    }
    print_difference(counted(days_between(readings[0].value, readings[1].value), opts.inclusive),
                     opts.number_only);
    return finish(EXIT_OK);
}
