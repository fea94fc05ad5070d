#include "print/output.h"

#include <cerrno>
#include <cstdint>
#include <cstring>
#include <string_view>

#include "io/numbers.h"
#include "print/answer_text.h"

#ifndef SPANLET_VERSION
#define SPANLET_VERSION "unknown"
#endif

namespace spanlet::cli {
namespace {

// Whether the reading's fields are the three numbers as the text has them:
// refused for their values, and none cut short at the largest 32-bit value.
bool fields_as_written(const date_reading& reading) {
    switch (reading.reason) {
    case refusal::year_before_range:
    case refusal::year_after_range:
    case refusal::no_such_month:
    case refusal::no_such_day:
    case refusal::wrong_weekday: {
        const date& f = reading.fields;
        return f.year != INT32_MAX && f.month != INT32_MAX && f.day != INT32_MAX;
    }
    default:
        return false;
    }
}

}  // namespace

void print_usage(std::FILE* stream) {
    std::fputs("\nProgram operation\n\n"
               "spanlet   YYYY1-MM1-DD1    YYYY2-MM2-DD2 or\n"
               "spanlet   MM1-DD1-YYYY1    MM2-DD2-YYYY2 or\n"
               "prints the difference between the day1, and day2 dates\n"
               "The YYYY component must be 4 digits, and the MM DD must be 2 digits\n"
               "Run spanlet --help for the other spellings spanlet reads, and its options.\n",
               stream);
}

void print_help() {
    std::fputs(
        "Usage: spanlet [OPTION]... DATE1 DATE2\n"
        "   or: spanlet [OPTION]... -f FILE\n"
        "   or: spanlet [OPTION]... --csv -f FILE\n"
        "Print the number of days from DATE2 to DATE1: DATE1 minus DATE2. With -f,\n"
        "do so for every line of FILE (- for standard input), each holding two dates\n"
        "separated by a tab or, in a line without one, by blanks.\n"
        "\n"
        "  -f, --file=FILE        read the pairs of dates from FILE, one pair a line\n"
        "  -d, --delimiter=CHAR   with -f, split each line at the byte CHAR instead\n"
        "                         (with --csv, the field delimiter, default ,)\n"
        "      --csv              with -f, FILE is CSV: every record is written back\n"
        "                         with the delimiter and the answer appended\n"
        "  -k, --columns=A,B      with --csv, the two date columns, by number from 1\n"
        "                         or, with --header, by name (default 1,2)\n"
        "      --header           with --csv, the first record names the columns\n"
        "      --name=TEXT        with --header, the answer column's name (days)\n"
        "      --line-limit=SIZE  with -f, the longest line read, in bytes (K, M or G\n"
        "                         after the number: KiB, MiB, GiB; default 1M); a\n"
        "                         longer line is refused\n"
        "  -j, --jobs=N           with -f, answer with N workers, one a processor for\n"
        "                         0 (default 1); the rows come in the order of the lines\n"
        "  -n, --number-only      print only the number and a line feed\n"
        "      --inclusive        count both ends: 221 becomes 222, -221 becomes -222,\n"
        "                         the same day twice gives 1\n"
        "      --day-first        read dates whose year comes last day first\n"
        "                         (10.08.2010 is 10 August)\n"
        "  -u, --units=LIST       answer in whole units: y, m, w, d together (ymd) or\n"
        "                         words separated by commas (years,months,days); one\n"
        "                         unit gives a number, several an ISO 8601 duration\n"
        "                         (P1M1D); without d the days left over are dropped\n"
        "  -b, --business-days    answer in working days: the earlier date counted,\n"
        "                         the later not\n"
        "      --weekend=LIST     with -b, the days off: weekday names separated by\n"
        "                         commas (default sat,sun), or none\n"
        "      --holidays=FILE    with -b, a file of holidays, a date a line, a tab\n"
        "                         and a name after it if wanted, # for comments;\n"
        "                         may be given more than once\n"
        "  -h, --help             print this help and exit\n"
        "      --version          print the version and exit\n"
        "  --                     end the options\n"
        "\n"
        "Dates:\n"
        "  2010-08-10  2010/8/10  2010.08.10    year first\n"
        "  08-10-2010  8/10/10                  month first (day first with --day-first)\n"
        "  20100810                             eight digits: year, month, day\n"
        "  10 Aug 2010  10-AUG-10  10AUG2010    day, month name, year\n"
        "  Aug 10, 2010  August 10 2010         month name, day, year\n"
        "  2010-Aug-10                          year, month name, day\n"
        "  Thu Dec 10 02:56:35 UTC 2026         date, ctime, certificates, git\n"
        "  Thu, 10 Dec 2026 02:56:35 +0000      date -R, e-mail\n"
        "  2026-W50-4  2026W504                 ISO week date (weekday 1 is Monday)\n"
        "  2026-344  2026344                    ISO ordinal date\n"
        "  today  yesterday  tomorrow           the local date (TZ is honoured)\n"
        "  @1281441600                          Unix time: the local date of it\n"
        "The numbers of a numeric date have the same separator twice: one character\n"
        "that is not a digit, a letter or ':', or an en dash. The year comes first\n"
        "when it is written with three or more digits or is above 50. A year of\n"
        "three or more digits is taken as written and must be 1400 to 9999; two-digit\n"
        "years 00-50 are 2000-2050 and 51-99 are 1951-1999. Negative numbers are\n"
        "refused. Month names are English, whole or of three letters, any case. A\n"
        "weekday may lead any date, and must be its weekday. After the date may come\n"
        "a time (T12:34, 12:34 after blanks, :12), a zone (Z, UTC, GMT, +HHMM,\n"
        "-HH:MM) or blanks; anything else is refused, and so is a date with no year.\n"
        "\n"
        "Months are counted from the earlier date: the most whole months that fit, a\n"
        "month on from the 31st being the month's last day, then the days left:\n"
        "  spanlet -n -u md 2010-03-01 2010-01-31   prints P1M1D\n"
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
        "A byte order mark at the start of the input is skipped.\n"
        "\n"
        "Exit status: 0 when every number was printed; 1 when a date or a line was\n"
        "refused, the command line was wrong, the input could not be read or the\n"
        "output could not be written.\n",
        stdout);
}

void print_version() { std::fputs("spanlet " SPANLET_VERSION "\n", stdout); }

void print_pair(const options& opts, const pair_verdict& verdict) {
    char text[NOT_VALID_ROOM + ANSWER_ROOM] = {};
    size_t length = 0;
    if (verdict.answered()) {
        char* end = write_answer(text, verdict.result);
        if (opts.number_only)
            *end++ = '\n';
        length = static_cast<size_t>(end - text);
    } else if (!opts.number_only) {
        length = not_valid_text(text, verdict.shown_refusal());
    }
    if (!opts.number_only)
        std::printf("\n%s\t%s\t", opts.dates[0], opts.dates[1]);
    std::fwrite(text, 1, length, stdout);
}

int finish(int status, message_log& messages) {
    if (std::fflush(stdout) != 0 || std::ferror(stdout)) {
        say::write_error(messages, errno);
        status = EXIT_FAILED;
    }
    messages.flush();
    return status;
}

size_t not_valid_text(char* out, const date_reading& refused) {
    constexpr date NO_DATE = {1900, 0, 0};
    const date& shown = fields_as_written(refused) ? refused.fields : NO_DATE;
    constexpr std::string_view WORDS = " is not a valid date\n";
    char* at = write_int32(out, shown.month);
    *at++ = '/';
    at = write_int32(at, shown.day);
    *at++ = '/';
    at = write_int32(at, shown.year);
    std::memcpy(at, WORDS.data(), WORDS.size());
    return static_cast<size_t>(at - out) + WORDS.size();
}

}  // namespace spanlet::cli
