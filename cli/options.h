#pragma once
// The command line: GNU-style options before or after the dates, "--" ends
// them. Parsing allocates nothing and prints nothing.

#include <cstdint>

namespace spanlet::cli {

enum class action : uint8_t {
    difference,   // the usual run: two dates
    batch,        // -f FILE: a pair of dates on every line
    help,
    version,
    usage,        // fewer than two dates: the usage text
    bad_option,   // an option spanlet does not know, or one without its value
    bad_value,    // a delimiter that is not one character
    extra_date,   // more than two dates
    mixed_modes,  // dates on the command line and -f, or -d without -f
};

struct options {
    action what = action::difference;
    bool number_only = false;  // -n, --number-only
    bool inclusive = false;    // --inclusive
    bool day_first = false;    // --day-first
    const char* dates[2] = {nullptr, nullptr};
    const char* file = nullptr;       // -f, --file: a path, or "-" for standard input
    const char* delimiter = nullptr;  // -d, --delimiter: one character
    const char* offending = nullptr;  // the word a usage error names
};

options parse_options(int argc, char** argv);

}  // namespace spanlet::cli
