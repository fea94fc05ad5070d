#include "cli/options.h"

#include <cstring>

namespace spanlet::cli {
namespace {

bool is(const char* arg, const char* name) { return std::strcmp(arg, name) == 0; }

// Sets what a long option or a lone short option asks for; false when it is
// not one of spanlet's.
bool apply_option(const char* arg, options& opts) {
    if (is(arg, "-n") || is(arg, "--number-only"))
        opts.number_only = true;
    else if (is(arg, "--inclusive"))
        opts.inclusive = true;
    else if (is(arg, "--day-first"))
        opts.day_first = true;
    else if (is(arg, "-h") || is(arg, "--help"))
        opts.what = action::help;
    else if (is(arg, "--version"))
        opts.what = action::version;
    else
        return false;
    return true;
}

// Bundled short options, as in -nh.
bool apply_short_options(const char* arg, options& opts) {
    for (const char* letter = arg + 1; *letter != '\0'; ++letter) {
        const char single[] = {'-', *letter, '\0'};
        if (!apply_option(single, opts))
            return false;
    }
    return true;
}

}  // namespace

options parse_options(int argc, char** argv) {
    options opts;
    const char* unknown = nullptr;
    const char* extra = nullptr;
    int date_count = 0;
    bool options_ended = false;
    for (int i = 1; i < argc; ++i) {
        const char* arg = argv[i];
        // A date never begins with '-' (a negative number is no date), so
        // "-" followed by anything is an option; "-" alone is a date text.
        if (!options_ended && arg[0] == '-' && arg[1] != '\0') {
            if (is(arg, "--"))
                options_ended = true;
            else if (!(arg[1] == '-' ? apply_option(arg, opts) : apply_short_options(arg, opts)))
                unknown = unknown != nullptr ? unknown : arg;
        } else if (date_count < 2) {
            opts.dates[date_count++] = arg;
        } else {
            extra = extra != nullptr ? extra : arg;
        }
    }

    // --help and --version win over everything else, then a wrong option,
    // then the number of dates.
    if (opts.what != action::difference)
        return opts;
    if (unknown != nullptr) {
        opts.what = action::bad_option;
        opts.offending = unknown;
    } else if (extra != nullptr) {
        opts.what = action::extra_date;
        opts.offending = extra;
    } else if (date_count < 2) {
        opts.what = action::usage;
    }
    return opts;
}

}  // namespace spanlet::cli
