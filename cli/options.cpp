#include "cli/options.h"

#include <algorithm>
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

// The option a word names, and where its value goes if it takes one.
struct option_spec {
    const char* short_name;  // "-n", or nullptr
    const char* long_name;   // "--number-only"
    const char* options::*value;
    bool options::*flag;
};

constexpr option_spec OPTION_SPECS[] = {
    {"-n", "--number-only", nullptr, &options::number_only},
    {nullptr, "--inclusive", nullptr, &options::inclusive},
    {nullptr, "--day-first", nullptr, &options::day_first},
    {"-f", "--file", &options::file, nullptr},
    {"-d", "--delimiter", &options::delimiter, nullptr},
};

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

    void wrong(const char* arg) {
        if (unknown_ == nullptr)
            unknown_ = arg;
    }

    // --name, --name VALUE or --name=VALUE.
    void long_option(const char* arg) {
        if (is(arg, "--help") || is(arg, "--version")) {
            (is(arg, "--help") ? help_ : version_) = true;
            return;
        }
        for (const option_spec& spec : OPTION_SPECS) {
            const size_t length = std::strlen(spec.long_name);
            if (std::strncmp(arg, spec.long_name, length) != 0)
                continue;
            if (spec.flag != nullptr && arg[length] == '\0') {
                opts_.*spec.flag = true;
                return;
            }
            if (spec.value != nullptr && (arg[length] == '\0' || arg[length] == '=')) {
                take_value(spec, arg, arg[length] == '=' ? arg + length + 1 : nullptr);
                return;
            }
        }
        wrong(arg);
    }

    // -n, -h, bundles such as -nh, and -f FILE, -fFILE, -d, or -d,.
    void short_options(const char* arg) {
        for (const char* letter = arg + 1; *letter != '\0'; ++letter) {
            if (*letter == 'h') {
                help_ = true;
                continue;
            }
            const option_spec* found =
                std::find_if(std::begin(OPTION_SPECS), std::end(OPTION_SPECS), [letter](const option_spec& spec) {
                    return spec.short_name != nullptr && spec.short_name[1] == *letter;
                });
            if (found == std::end(OPTION_SPECS)) {
                wrong(arg);
                return;
            }
            if (found->flag != nullptr) {
                opts_.*found->flag = true;
                continue;
            }
            take_value(*found, arg, letter[1] != '\0' ? letter + 1 : nullptr);
            return;
        }
    }

    // The value is what follows '=' or the letter, or else the next word.
    void take_value(const option_spec& spec, const char* arg, const char* attached) {
        const char* value = attached != nullptr ? attached : words_.next();
        if (value == nullptr)
            wrong(arg);
        else
            opts_.*spec.value = value;
    }

    options finish() {
        // --help and --version win over everything else, then a wrong option,
        // then the dates.
        if (help_ || version_) {
            opts_.what = help_ ? action::help : action::version;
        } else if (unknown_ != nullptr) {
            fail(action::bad_option, unknown_);
        } else if (opts_.delimiter != nullptr && std::strlen(opts_.delimiter) != 1) {
            fail(action::bad_value, opts_.delimiter);
        } else if (opts_.file != nullptr) {
            opts_.what = date_count_ > 0 ? action::mixed_modes : action::batch;
        } else if (opts_.delimiter != nullptr) {
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
    int date_count_ = 0;
    const char* extra_ = nullptr;
    const char* unknown_ = nullptr;
    bool help_ = false;
    bool version_ = false;
};

}  // namespace

options parse_options(int argc, char** argv) {
    return parser(argc, argv).run();
}

}  // namespace spanlet::cli
