#pragma once
// The command line: GNU-style options before or after the dates, "--" ends
// them. Parsing allocates nothing and prints nothing.

#include <cstdint>

namespace spanlet::cli {

enum class action : uint8_t {
    difference,  // the usual run: two dates
    help,
    version,
    usage,       // fewer than two dates: the usage text
    bad_option,  // an option spanlet does not know
    extra_date,  // more than two dates
};

struct options {
    action what = action::difference;
    bool number_only = false;  // -n, --number-only
    bool inclusive = false;    // --inclusive
    bool day_first = false;    // --day-first
    const char* dates[2] = {nullptr, nullptr};
    const char* offending = nullptr;  // the unknown option or the extra date
};

options parse_options(int argc, char** argv);

}  // namespace spanlet::cli
