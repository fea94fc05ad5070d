// spanlet: prints the number of days between two calendar dates.
//
// Output, all on standard output: a line feed, each argument followed by a tab,
// then the first date's day number minus the second's, with no line feed.
// Exit status: 0 after a result, --help or --version; 1 after the usage text, a
// bad date, or output that could not be written.

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "date/calendar.h"
#include "date/date_text.h"

#ifndef SPANLET_VERSION
#define SPANLET_VERSION "unknown"
#endif

namespace {

constexpr int EXIT_OK = 0;
constexpr int EXIT_FAILED = 1;

struct date_triple {
    int32_t month, day, year;
};

void print_usage() {
    std::printf("\nProgram operation\n\n");
    std::printf("spanlet   YYYY1-MM1-DD1    YYYY2-MM2-DD2 or\n");
    std::printf("spanlet   MM1-DD1-YYYY1    MM2-DD2-YYYY2 or\n");
    std::printf("prints the difference between the day1, and day2 dates\n");
    std::printf("The YYYY component must be 4 digits, and the MM DD must be 2 digits\n");
}

void print_help() {
    print_usage();
    std::printf(
        "\n"
        "Dates are year first (2010-08-10) or month first (08-10-2010), with any\n"
        "single non-digit between the fields (2010/8/10, 2010.08.10); text after\n"
        "the day is ignored (2010-08-10T12:00). Two-digit years: 51-99 are\n"
        "1951-1999, 00-19 are 2000-2019, 20-50 are not accepted. Four-digit years\n"
        "run from 1400 to 9999 (Gregorian calendar).\n"
        "\n"
        "The result is the first date minus the second, in days:\n"
        "  spanlet 2010-08-10 2010-01-01   prints 221\n"
        "  spanlet 2010-01-01 2010-08-10   prints -221\n"
        "\n"
        "Exit status: 0 with a result, 1 with the usage text or a date that is\n"
        "not valid.\n");
}

// Reads one argument into a date triple. The working text is sized to hold
// the whole argument and then its canonical text.
bool read_date(const char* argument, date_triple& date) {
    const size_t length = std::strlen(argument);
    auto* working_text = static_cast<char*>(std::malloc(working_text_size(length)));
    if (working_text == nullptr) {
        std::printf("out of memory\n");
        return false;
    }
    std::memcpy(working_text, argument, length + 1);
    normalize_date_text(working_text);
    read_date_fields(working_text, date.month, date.day, date.year);
    std::free(working_text);
    return true;
}

bool check_date(const date_triple& date) {
    if (is_valid_date(date.month, date.day, date.year))
        return true;
    std::printf("%d/%d/%d is not a valid date\n", static_cast<int>(date.month),
                static_cast<int>(date.day), static_cast<int>(date.year));
    return false;
}

// Output lost on the way (a closed pipe, a full disk) is a failure too.
int finish(int status) {
    if (std::fflush(stdout) != 0 || std::ferror(stdout))
        return EXIT_FAILED;
    return status;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc >= 2 && (std::strcmp(argv[1], "--help") == 0 || std::strcmp(argv[1], "-h") == 0)) {
        print_help();
        return finish(EXIT_OK);
    }
    if (argc >= 2 && std::strcmp(argv[1], "--version") == 0) {
        std::printf("spanlet %s\n", SPANLET_VERSION);
        return finish(EXIT_OK);
    }
    if (argc < 3) {
        print_usage();
        return finish(EXIT_FAILED);
    }

    // Each argument is echoed before it is read.
    date_triple first{};
    date_triple second{};
    std::printf("\n%s\t", argv[1]);
    if (!read_date(argv[1], first))
        return finish(EXIT_FAILED);
    std::printf("%s\t", argv[2]);
    if (!read_date(argv[2], second))
        return finish(EXIT_FAILED);

    // Only the first bad date is reported.
    if (!check_date(first) || !check_date(second))
        return finish(EXIT_FAILED);

    const long days = days_between(first.month, first.day, first.year,
                                   second.month, second.day, second.year);
    std::printf("%ld", days);
    return finish(EXIT_OK);
}
