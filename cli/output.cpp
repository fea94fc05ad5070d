#include "cli/output.h"

#include <cerrno>
#include <cstdio>
#include <cstring>

#ifndef SPANLET_VERSION
#define SPANLET_VERSION "unknown"
#endif

namespace spanlet::cli {
namespace {

constexpr const char* MONTH_NAMES[13] = {
    "", "January", "February", "March", "April", "May", "June", "July",
    "August", "September", "October", "November", "December",
};

constexpr const char* WRITE_LIKE_THIS = "(write 2010-08-10 or 08-10-2010)";

// The words after the quoted text. `buffer` holds them when they carry numbers.
const char* reason_words(const date_reading& reading, char (&buffer)[96]) {
    const date& f = reading.fields;
    switch (reading.reason) {
    case refusal::none:
        return "";
    case refusal::not_a_date:
        std::snprintf(buffer, sizeof buffer, "not a date spanlet reads %s", WRITE_LIKE_THIS);
        return buffer;
    case refusal::missing_digits:
        std::snprintf(buffer, sizeof buffer, "a date needs three numbers, each with digits %s",
                      WRITE_LIKE_THIS);
        return buffer;
    case refusal::negative_number:
        return "a date has no negative numbers";
    case refusal::letter_after_date:
        return "a letter right after the date; only a time (T12:34) may follow it directly";
    case refusal::year_before_range:
        return "years before 1400 are not read";
    case refusal::year_after_range:
        return "years after 9999 are not read";
    // A number of more than two digits is named no more: it may have been
    // cut short at the largest 32-bit value.
    case refusal::no_such_month:
        if (f.month > 99)
            return "there is no such month";
        std::snprintf(buffer, sizeof buffer, "there is no month %d", static_cast<int>(f.month));
        return buffer;
    case refusal::no_such_day:
        if (f.day < 1) {
            std::snprintf(buffer, sizeof buffer, "there is no day %d in a month", static_cast<int>(f.day));
        } else if (f.day > 99) {
            std::snprintf(buffer, sizeof buffer, "%s %d has no such day", MONTH_NAMES[f.month],
                          static_cast<int>(f.year));
        } else {
            std::snprintf(buffer, sizeof buffer, "%d %s %d does not exist", static_cast<int>(f.day),
                          MONTH_NAMES[f.month], static_cast<int>(f.year));
        }
        return buffer;
    case refusal::today_unknown:
        return "the local date is not known";
    }
    return "not a date";
}

}  // namespace

void print_usage() {
    std::printf("\nProgram operation\n\n");
    std::printf("spanlet   YYYY1-MM1-DD1    YYYY2-MM2-DD2 or\n");
    std::printf("spanlet   MM1-DD1-YYYY1    MM2-DD2-YYYY2 or\n");
    std::printf("prints the difference between the day1, and day2 dates\n");
    std::printf("The YYYY component must be 4 digits, and the MM DD must be 2 digits\n");
}

void print_help() {
    std::fputs(
        "Usage: spanlet [OPTION]... DATE1 DATE2\n"
        "   or: spanlet [OPTION]... -f FILE\n"
        "Print the number of days from DATE2 to DATE1: DATE1 minus DATE2. With -f,\n"
        "do so for every line of FILE (- for standard input), each holding two dates\n"
        "separated by a tab or, in a line without one, by blanks.\n"
        "\n"
        "  -f, --file=FILE    read the pairs of dates from FILE, one pair a line\n"
        "  -d, --delimiter=C  with -f, split each line at the character C instead\n"
        "  -n, --number-only  print only the number and a line feed\n"
        "      --inclusive    count both ends: 221 becomes 222, -221 becomes -222,\n"
        "                     the same day twice gives 1\n"
        "      --day-first    read dates whose year comes last day first (10.08.2010\n"
        "                     is 10 August)\n"
        "  -h, --help         print this help and exit\n"
        "      --version      print the version and exit\n"
        "  --                 end the options\n"
        "\n"
        "Dates, with any one character that is not a digit between the numbers:\n"
        "  2010-08-10  2010/8/10  2010.08.10    year first\n"
        "  08-10-2010  8/10/10                  month first (day first with --day-first)\n"
        "  20100810  20100810T1234              eight digits: year, month, day\n"
        "  2010-08-10T12:34  2010-08-10 12:34   what follows a date is ignored, but\n"
        "                                       a letter right after it is refused\n"
        "  today                                the local date (TZ is honoured)\n"
        "The year comes first when it is written with three or more digits or is\n"
        "above 50. A year of three or more digits is taken as written and must be\n"
        "1400 to 9999; two-digit years 00-50 are 2000-2050 and 51-99 are 1951-1999.\n"
        "Negative numbers are refused.\n"
        "\n"
        "Output: a line feed, DATE1, a tab, DATE2, a tab and the number, with no\n"
        "line feed after it:\n"
        "  spanlet 2010-08-10 2010-01-01   prints 221\n"
        "  spanlet 2010-01-01 2010-08-10   prints -221\n"
        "A text that is not a date is refused: \"M/D/Y is not a valid date\" follows\n"
        "the echo on standard output, and standard error says why.\n"
        "With -f, every line gets one line of output, DATE1, a tab, DATE2, a tab and\n"
        "the number or the refusal (with -n, the number alone, or an empty line),\n"
        "and every refused line one line on standard error, with its line number.\n"
        "\n"
        "Exit status: 0 when every number was printed; 1 when a date or a line was\n"
        "refused, the command line was wrong, the input could not be read or the\n"
        "output could not be written.\n",
        stdout);
}

void print_version() { std::fputs("spanlet " SPANLET_VERSION "\n", stdout); }

void print_echo(const char* first, const char* second) {
    std::printf("\n%s\t%s\t", first, second);
}

void print_not_valid(const date& read) {
    char text[64];
    const size_t length = not_valid_text(text, read);
    std::fwrite(text, 1, length, stdout);
}

size_t not_valid_text(char* out, const date& read) {
    const int length = std::snprintf(out, 64, "%d/%d/%d is not a valid date\n", static_cast<int>(read.month),
                                     static_cast<int>(read.day), static_cast<int>(read.year));
    return static_cast<size_t>(length);
}

void print_difference(int32_t days, bool number_only) {
    if (number_only)
        std::printf("%ld\n", static_cast<long>(days));
    else
        std::printf("%ld", static_cast<long>(days));
}

namespace {

void print_place(const place& where) {
    std::fputs("spanlet: ", stderr);
    if (where.name != nullptr)
        std::fprintf(stderr, "%s:%llu: ", where.name, static_cast<unsigned long long>(where.line));
}

}  // namespace

void report_refusal(const place& where, std::string_view text, const date_reading& reading) {
    char buffer[96];
    print_place(where);
    std::fputc('"', stderr);
    std::fwrite(text.data(), 1, text.size(), stderr);
    std::fprintf(stderr, "\": %s\n", reason_words(reading, buffer));
}

void report_line(const place& where, const char* why) {
    print_place(where);
    std::fprintf(stderr, "%s\n", why);
}

void report_fields(const place& where, size_t fields) {
    char why[96];
    if (fields == 0)
        std::snprintf(why, sizeof why, "an empty line, where two dates were expected");
    else
        std::snprintf(why, sizeof why, "%zu field%s, where two dates were expected", fields,
                      fields == 1 ? "" : "s");
    report_line(where, why);
}

void report_file_error(const char* name, const char* what, int error) {
    std::fprintf(stderr, "spanlet: %s: %s%s\n", name, what, std::strerror(error));
}

void report_usage_error(const options& opts) {
    switch (opts.what) {
    case action::bad_option:
        std::fprintf(stderr, "spanlet: unknown option \"%s\" (see spanlet --help)\n", opts.offending);
        break;
    case action::bad_value:
        std::fprintf(stderr, "spanlet: \"%s\": a delimiter is one character (see spanlet --help)\n",
                     opts.offending);
        break;
    case action::extra_date:
        std::fprintf(stderr, "spanlet: \"%s\": a third date; spanlet takes two (see spanlet --help)\n",
                     opts.offending);
        break;
    case action::mixed_modes:
        std::fputs(opts.file != nullptr
                       ? "spanlet: dates on the command line and -f do not go together (see spanlet --help)\n"
                       : "spanlet: -d goes with -f (see spanlet --help)\n",
                   stderr);
        break;
    default:
        break;
    }
}

void report_write_error(int error) {
    std::fprintf(stderr, "spanlet: write error: %s\n", std::strerror(error));
}

int finish(int status) {
    if (std::fflush(stdout) != 0 || std::ferror(stdout)) {
        report_write_error(errno);
        return EXIT_FAILED;
    }
    return status;
}

}  // namespace spanlet::cli
