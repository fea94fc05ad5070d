#include "cli/options.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <iterator>

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
    const char* short_name;  // "-n", or nullptr
    const char* long_name;  // "--number-only"
    bool options::*flag;
    const char* options::*value;
    const char* value_name;
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
    {"-h", "--help", nullptr, nullptr, nullptr},
    {nullptr, "--version", nullptr, nullptr, nullptr},
    {"-f", "--file", nullptr, &options::file, "FILE"},
    {"-d", "--delimiter", nullptr, &options::delimiter, "CHAR"},
    {nullptr, "--line-limit", nullptr, &options::line_limit_text, "SIZE"},
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
            if (spec.value == nullptr && arg[length] == '\0') {
                set_flag(spec);
                return;
            }
            if (spec.value != nullptr && (arg[length] == '\0' || arg[length] == '=')) {
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
            if (spec->value == nullptr) {
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
        } else if (opts_.delimiter != nullptr && std::strlen(opts_.delimiter) != 1) {
            fail(action::bad_delimiter, opts_.delimiter);
        } else if (opts_.line_limit_text != nullptr && !parse_size(opts_.line_limit_text, opts_.line_limit)) {
            fail(action::bad_size, opts_.line_limit_text);
        } else if (opts_.file != nullptr) {
            opts_.what = date_count_ > 0 ? action::mixed_modes : action::batch;
        } else if (opts_.delimiter != nullptr || opts_.line_limit_text != nullptr) {
            opts_.what = action::mixed_modes;
        } else if (extra_ != nullptr) {
            fail(action::extra_date, extra_);
        } else if (date_count_ < 2) {
            opts_.what = action::usage;
        }
        return opts_;
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

bool parse_size(const char* text, size_t& out) {
    // Lines are held in memory with a block behind them: the largest limit
    // leaves room for that on 32-bit systems too.
    constexpr auto LARGEST = uint64_t{SIZE_MAX / 4};
    uint64_t value = 0;
    const char* at = text;
    for (; *at >= '0' && *at <= '9'; ++at) {
        value = value * 10 + static_cast<uint64_t>(*at - '0');
        if (value > LARGEST)
            return false;
    }
    if (at == text)
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

}  // namespace spanlet::cli
