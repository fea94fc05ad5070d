#include "options/options.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <iterator>
#include <string_view>

#include "date/names.h"
#include "options/units.h"

namespace spanlet::cli {
namespace {

bool is(const char* arg, const char* name) { return std::strcmp(arg, name) == 0; }

// The words of the command line, one at a time.
class words {
public:
    words(int argc, char** argv) : argc_(argc), argv_(argv) {}
    const char* next() { return index_ < argc_ ? argv_[index_++] : nullptr; }

private:
    int argc_;
    char** argv_;
    int index_ = 1;
};

// An option: a flag, or an option that takes a value (and then its name in
// the usage errors).
struct option_spec {
    const char* short_name = nullptr;  // "-n", or nullptr
    const char* long_name = nullptr;   // "--number-only"
    bool options::*flag = nullptr;
    const char* options::*value = nullptr;
    const char* value_name = nullptr;
    std::vector<const char*> options::*values = nullptr;  // for an option that may be given again
};

// --help and --version are flags of the parser itself; the table names them
// as it names the rest.
struct parser_flags {
    bool help = false;
    bool version = false;
};

constexpr option_spec OPTION_SPECS[] = {
    {"-n", "--number-only", &options::number_only, nullptr, nullptr},
    {nullptr, "--inclusive", &options::inclusive, nullptr, nullptr},
    {nullptr, "--day-first", &options::day_first, nullptr, nullptr},
    {"-b", "--business-days", &options::business_days, nullptr, nullptr},
    {nullptr, "--csv", &options::csv, nullptr, nullptr},
    {nullptr, "--header", &options::header, nullptr, nullptr},
    {"-h", "--help", nullptr, nullptr, nullptr},
    {nullptr, "--version", nullptr, nullptr, nullptr},
    {"-f", "--file", nullptr, &options::file, "FILE"},
    {"-d", "--delimiter", nullptr, &options::delimiter, "CHAR"},
    {nullptr, "--line-limit", nullptr, &options::line_limit_text, "SIZE"},
    {"-j", "--jobs", nullptr, &options::jobs_text, "N"},
    {"-u", "--units", nullptr, &options::units_text, "LIST"},
    {nullptr, "--weekend", nullptr, &options::weekend_text, "LIST"},
    {nullptr, "--holidays", nullptr, nullptr, "FILE", &options::holiday_files},
    {"-k", "--columns", nullptr, &options::columns_text, "A,B"},
    {nullptr, "--name", nullptr, &options::answer_name, "TEXT"},
};

const option_spec* find_short(char letter) {
    const auto* found = std::find_if(std::begin(OPTION_SPECS), std::end(OPTION_SPECS), [letter](const option_spec& spec) {
        return spec.short_name != nullptr && spec.short_name[1] == letter;
    });
    return found == std::end(OPTION_SPECS) ? nullptr : found;
}

class parser {
public:
    parser(int argc, char** argv) : words_(argc, argv) {}

    options run() {
        bool options_ended = false;
        for (const char* arg = words_.next(); arg != nullptr; arg = words_.next()) {
            // A date never begins with '-' (a negative number is no date), so
            // "-" followed by anything is an option; "-" alone is a date text.
            if (options_ended || arg[0] != '-' || arg[1] == '\0')
                add_date(arg);
            else if (is(arg, "--"))
                options_ended = true;
            else if (arg[1] == '-')
                long_option(arg);
            else
                short_options(arg);
        }
        return finish();
    }

private:
    void add_date(const char* arg) {
        if (date_count_ < 2)
            opts_.dates[date_count_] = arg;
        else if (extra_ == nullptr)
            extra_ = arg;
        ++date_count_;
    }

    // The first usage error of the command line wins. `name` is the option
    // as it was written: "-f" or "--file".
    void wrong(action what, const char* word, const option_spec* spec = nullptr, const char* name = nullptr) {
        if (error_ != action::difference)
            return;
        error_ = what;
        opts_.offending = word;
        if (spec != nullptr) {
            opts_.offending_option = name;
            opts_.offending_value_name = spec->value_name;
        }
    }

    // --name, --name VALUE or --name=VALUE.
    void long_option(const char* arg) {
        for (const option_spec& spec : OPTION_SPECS) {
            const size_t length = std::strlen(spec.long_name);
            if (std::strncmp(arg, spec.long_name, length) != 0)
                continue;
            const bool takes_value = spec.value != nullptr || spec.values != nullptr;
            if (!takes_value && arg[length] == '\0') {
                set_flag(spec);
                return;
            }
            if (takes_value && (arg[length] == '\0' || arg[length] == '=')) {
                take_value(spec, arg, spec.long_name, arg[length] == '=' ? arg + length + 1 : nullptr);
                return;
            }
        }
        wrong(action::bad_option, arg);
    }

    // -n, -h, bundles such as -nh, and -f FILE, -fFILE, -d, or -d,.
    void short_options(const char* arg) {
        for (const char* letter = arg + 1; *letter != '\0'; ++letter) {
            const option_spec* spec = find_short(*letter);
            if (spec == nullptr) {
                wrong(action::bad_option, arg);
                return;
            }
            if (spec->value == nullptr && spec->values == nullptr) {
                set_flag(*spec);
                continue;
            }
            take_value(*spec, arg, spec->short_name, letter[1] != '\0' ? letter + 1 : nullptr);
            return;
        }
    }

    void set_flag(const option_spec& spec) {
        if (spec.flag != nullptr)
            opts_.*spec.flag = true;
        else if (is(spec.long_name, "--help"))
            flags_.help = true;
        else
            flags_.version = true;
    }

    // The value is what follows '=' or the letter, or else the next word.
    // `name` is the option as it was written: "-f" or "--file".
    void take_value(const option_spec& spec, const char* arg, const char* name, const char* attached) {
        const char* value = attached != nullptr ? attached : words_.next();
        if (value == nullptr)
            wrong(action::missing_value, arg, &spec, name);
        else if (spec.values != nullptr)
            (opts_.*spec.values).push_back(value);
        else if (opts_.*spec.value != nullptr)
            wrong(action::repeated, arg, &spec, name);
        else
            opts_.*spec.value = value;
    }

    options finish() {
        // --help and --version win over everything else, then a usage error,
        // then the dates.
        if (flags_.help || flags_.version) {
            opts_.what = flags_.help ? action::help : action::version;
        } else if (error_ != action::difference) {
            opts_.what = error_;
        } else if (!values_hold()) {
            return opts_;
        } else if (opts_.file != nullptr) {
            opts_.what = date_count_ > 0 ? action::mixed_modes : action::batch;
        } else if (opts_.delimiter != nullptr || opts_.line_limit_text != nullptr || opts_.jobs_text != nullptr) {
            opts_.what = action::mixed_modes;
        } else if (extra_ != nullptr) {
            fail(action::extra_date, extra_);
        } else if (date_count_ < 2) {
            opts_.what = action::usage;
        }
        return opts_;
    }

    // The values of the options, read and checked together: false after a
    // usage error.
    bool values_hold() {
        if (opts_.delimiter != nullptr && std::strlen(opts_.delimiter) != 1)
            fail(action::bad_delimiter, opts_.delimiter);
        else if (opts_.delimiter != nullptr && !delimiter_usable(opts_.delimiter[0], opts_.csv))
            fail(action::unusable_delimiter, opts_.delimiter);
        else if (standard_input_count() > 1)
            fail(action::standard_input_twice, "-");
        else if (opts_.line_limit_text != nullptr && !parse_size(opts_.line_limit_text, opts_.line_limit))
            fail(action::bad_size, opts_.line_limit_text);
        else if (opts_.jobs_text != nullptr && !parse_jobs(opts_.jobs_text, opts_.jobs))
            fail(action::bad_jobs, opts_.jobs_text);
        else if (opts_.units_text != nullptr && !parse_units(opts_.units_text, opts_.units))
            fail(action::bad_units, opts_.units_text);
        else if (opts_.weekend_text != nullptr && !parse_weekend(opts_.weekend_text, opts_.weekend))
            fail(action::bad_weekend, opts_.weekend_text);
        else if (opts_.business_days && opts_.units != UNIT_DAYS)
            fail(action::units_with_business_days, opts_.units_text);
        else if (!opts_.business_days && (opts_.weekend_text != nullptr || !opts_.holiday_files.empty()))
            fail(action::needs_business_days, opts_.weekend_text != nullptr ? "--weekend" : "--holidays");
        else
            return csv_values_hold();
        return false;
    }

    bool csv_values_hold() {
        const char* without_csv = opts_.columns_text != nullptr ? "--columns"
                                  : opts_.header                ? "--header"
                                  : opts_.answer_name != nullptr ? "--name"
                                                                 : nullptr;
        if (!opts_.csv && without_csv != nullptr)
            fail(action::needs_csv, without_csv);
        else if (opts_.csv && opts_.file == nullptr)
            fail(action::needs_csv, "--csv");
        else if (opts_.answer_name != nullptr && !opts_.header)
            fail(action::needs_header, "--name");
        else if (opts_.columns_text != nullptr &&
                 (!parse_columns(opts_.columns_text, opts_.columns) ||
                  (!opts_.header && (opts_.columns.numbers[0] == 0 || opts_.columns.numbers[1] == 0))))
            fail(action::bad_columns, opts_.columns_text);
        else
            return true;
        return false;
    }

    // A line feed ends a line; in a CSV record, a quote starts a quoted field
    // and a CR ends a record with the line feed after it.
    static bool delimiter_usable(char delimiter, bool csv) {
        return delimiter != '\n' && !(csv && (delimiter == '"' || delimiter == '\r'));
    }

    // How many of -f and the --holidays files are standard input ("-").
    [[nodiscard]] size_t standard_input_count() const {
        const auto holidays = std::count_if(opts_.holiday_files.begin(), opts_.holiday_files.end(), is_standard_input);
        return (opts_.file != nullptr && is_standard_input(opts_.file) ? 1 : 0) + static_cast<size_t>(holidays);
    }

    void fail(action what, const char* offending) {
        opts_.what = what;
        opts_.offending = offending;
    }

    words words_;
    options opts_;
    parser_flags flags_;
    action error_ = action::difference;  // none yet
    int date_count_ = 0;
    const char* extra_ = nullptr;
};

}  // namespace

options parse_options(int argc, char** argv) {
    return parser(argc, argv).run();
}

namespace {

// The digits at `at`, moving `at` past them: false when there are none, or
// when their number is above `most`.
bool read_number(const char*& at, uint64_t most, uint64_t& value) {
    const char* const start = at;
    value = 0;
    for (; *at >= '0' && *at <= '9'; ++at) {
        value = value * 10 + static_cast<uint64_t>(*at - '0');
        if (value > most)
            return false;
    }
    return at != start;
}

}  // namespace

bool parse_size(const char* text, size_t& out) {
    // Lines are held in memory with a block behind them: the largest limit,
    // 1 GiB on 32-bit systems, leaves room for that.
    constexpr auto LARGEST = uint64_t{SIZE_MAX / 4 + 1};
    uint64_t value = 0;
    const char* at = text;
    if (!read_number(at, LARGEST, value))
        return false;
    int shift = 0;
    if (*at == 'K' || *at == 'k')
        shift = 10;
    else if (*at == 'M' || *at == 'm')
        shift = 20;
    else if (*at == 'G' || *at == 'g')
        shift = 30;
    if (shift != 0)
        ++at;
    if (*at != '\0' || value == 0 || value > (LARGEST >> shift))
        return false;
    out = static_cast<size_t>(value << shift);
    return true;
}

bool parse_jobs(const char* text, unsigned& out) {
    uint64_t value = 0;
    const char* at = text;
    if (!read_number(at, MOST_JOBS, value) || *at != '\0')
        return false;
    out = static_cast<unsigned>(value);
    return true;
}

namespace {

// Hands every comma-separated item of `list` to `take`; false at an empty
// item or when `take` gives false.
template <typename take_item>
bool each_item(std::string_view list, take_item take) {
    while (true) {
        const size_t comma = list.find(',');
        const std::string_view item = list.substr(0, comma);
        if (item.empty() || !take(item))
            return false;
        if (comma == std::string_view::npos)
            return true;
        list.remove_prefix(comma + 1);
    }
}

bool same_letters(std::string_view a, std::string_view b) {
    if (a.size() != b.size())
        return false;
    for (size_t i = 0; i < a.size(); ++i) {
        const auto lowered = static_cast<char>(a[i] >= 'A' && a[i] <= 'Z' ? a[i] - 'A' + 'a' : a[i]);
        if (lowered != b[i])
            return false;
    }
    return true;
}

// Adds `unit` to `units`; false when it is there already.
bool add_unit(unit_set& units, unit_set unit) {
    if ((units & unit) != 0)
        return false;
    units = static_cast<unit_set>(units | unit);
    return true;
}

unit_set unit_named(std::string_view word) {
    const auto* found = std::find_if(std::begin(UNITS), std::end(UNITS), [word](const unit_names& u) {
        return same_letters(word, u.letter) || same_letters(word, u.singular) || same_letters(word, u.plural);
    });
    return found == std::end(UNITS) ? 0 : found->unit;
}

}  // namespace

bool parse_units(const char* text, unit_set& out) {
    unit_set units = 0;
    const auto take = [&units](std::string_view word) {
        const unit_set unit = unit_named(word);
        return unit != 0 && add_unit(units, unit);
    };
    const std::string_view list(text);
    const bool letters = list.find(',') == std::string_view::npos && unit_named(list) == 0;
    bool ok = !list.empty();
    if (letters) {
        for (size_t i = 0; ok && i < list.size(); ++i)
            ok = take(list.substr(i, 1));
    } else {
        ok = each_item(list, take);
    }
    if (ok)
        out = units;
    return ok;
}

bool parse_columns(const char* text, csv_columns& out) {
    csv_columns columns;
    int count = 0;
    const bool ok = each_item(text, [&columns, &count](std::string_view item) {
        if (count == 2)
            return false;
        // A number too large for any record is a name.
        constexpr size_t LARGEST = 100'000'000;
        size_t number = 0;
        for (const char c : item) {
            if (c < '0' || c > '9' || number > LARGEST) {
                number = 0;
                break;
            }
            number = number * 10 + static_cast<size_t>(c - '0');
        }
        columns.numbers[count] = number;
        columns.names[count] = item;
        ++count;
        return true;
    });
    if (!ok || count != 2)
        return false;
    out = columns;
    return true;
}

bool parse_weekend(const char* text, weekday_set& out) {
    if (same_letters(text, "none")) {
        out = 0;
        return true;
    }
    weekday_set weekend = 0;
    const bool ok = each_item(text, [&weekend](std::string_view word) {
        for (int32_t day = 1; day <= DAYS_IN_WEEK; ++day) {
            const std::string_view name = WEEKDAY_NAMES[day - 1];
            if (same_letters(word, name) || same_letters(word, name.substr(0, NAME_ABBREVIATION))) {
                weekend = static_cast<weekday_set>(weekend | weekday_bit(day));
                return true;
            }
        }
        return false;
    });
    if (!ok || weekend == EVERY_WEEKDAY)
        return false;
    out = weekend;
    return true;
}

}  // namespace spanlet::cli
