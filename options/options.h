#pragma once
// The command line: GNU-style options before or after the dates, "--" ends
// them. Parsing prints nothing, and allocates only for --holidays.

#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

#include "date/periods.h"
#include "date/working_days.h"

namespace spanlet::cli {

enum class action : uint8_t {
    difference,     // the usual run: two dates
    batch,          // -f FILE: a pair of dates on every line
    help,
    version,
    usage,          // fewer than two dates: the usage text
    bad_option,     // an option spanlet does not know
    missing_value,  // an option without the value it takes
    repeated,       // an option that takes a value, given twice
    bad_delimiter,  // a delimiter that is not one byte
    unusable_delimiter,  // a line feed, or with --csv a quote or a CR: bytes that mean something else
    bad_size,       // a line limit that is no size
    bad_jobs,       // --jobs that is not a number of workers
    bad_units,      // --units with a word that names no unit, or one twice
    bad_weekend,    // --weekend with a word that names no weekday, or all seven
    units_with_business_days,  // -b and --units other than d
    needs_business_days,       // --weekend or --holidays without -b
    bad_columns,    // --columns that are not two columns, or names without --header
    needs_csv,      // --columns, --header or --name without --csv, or --csv without -f
    needs_header,   // --name without --header: no header record to name the column in
    standard_input_twice,  // "-" for more than one of -f and --holidays
    extra_date,     // more than two dates
    mixed_modes,    // dates on the command line and -f, or -d, --line-limit or --jobs without -f
};

// The two date columns of --csv, first minus second: each a 1-based number,
// or 0 and a name to look up in the header.
struct csv_columns {
    size_t numbers[2] = {1, 2};
    std::string_view names[2];
};

// How long a line of -f may be unless --line-limit says otherwise.
inline constexpr size_t DEFAULT_LINE_LIMIT = size_t{1} << 20;

struct options {
    action what = action::difference;
    bool number_only = false;  // -n, --number-only
    bool inclusive = false;    // --inclusive
    bool day_first = false;    // --day-first
    bool business_days = false;  // -b, --business-days
    const char* dates[2] = {nullptr, nullptr};
    const char* file = nullptr;        // -f, --file: a path, or "-" for standard input
    const char* delimiter = nullptr;   // -d, --delimiter: one byte
    const char* line_limit_text = nullptr;  // --line-limit, as written
    size_t line_limit = DEFAULT_LINE_LIMIT;  // in bytes, the line feed not counted
    const char* jobs_text = nullptr;  // -j, --jobs, as written
    unsigned jobs = 1;                // workers for -f; 0 for one a processor
    const char* units_text = nullptr;    // -u, --units, as written
    unit_set units = UNIT_DAYS;
    const char* weekend_text = nullptr;  // --weekend, as written
    weekday_set weekend = SATURDAY_AND_SUNDAY;
    std::vector<const char*> holiday_files;  // --holidays, each time it is given
    bool csv = false;     // --csv: -f reads CSV records
    bool header = false;  // --header: the first record names the columns
    const char* columns_text = nullptr;  // -k, --columns, as written
    csv_columns columns;
    const char* answer_name = nullptr;  // --name: the answer column's name
    // What a usage error names: the word, and the option as the table spells
    // it with the name of its value ("-f" and "FILE").
    const char* offending = nullptr;
    const char* offending_option = nullptr;
    const char* offending_value_name = nullptr;
};

options parse_options(int argc, char** argv);

// Whether a path of -f or --holidays names standard input: "-".
constexpr bool is_standard_input(const char* path) { return path[0] == '-' && path[1] == '\0'; }

// A size as --line-limit takes it: a whole number of bytes, or of KiB, MiB or
// GiB with K, M or G after it; at least 1 and small enough to hold. False
// for anything else.
bool parse_size(const char* text, size_t& out);

// The workers of --jobs: a whole number from 0 to MOST_JOBS. False for
// anything else.
inline constexpr unsigned MOST_JOBS = 1024;
bool parse_jobs(const char* text, unsigned& out);

// The units of --units: letters together ("ymd") or words separated by
// commas ("years,months,days", singular or plural, any case), each unit
// once. False for anything else.
bool parse_units(const char* text, unit_set& out);

// The weekend of --weekend: weekday names of three letters or whole, any
// case, separated by commas, or "none"; never all seven. False for anything
// else.
bool parse_weekend(const char* text, weekday_set& out);

// The columns of --columns: two, separated by a comma, each a number from 1
// or a name. False for anything else.
bool parse_columns(const char* text, csv_columns& out);

}  // namespace spanlet::cli
