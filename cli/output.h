#pragma once
// Everything spanlet says: results and the usage text on standard output, the
// reasons for a refusal and other errors on standard error.

#include <cstddef>
#include <cstdint>
#include <string_view>

#include "cli/options.h"
#include "date/date_text.h"

namespace spanlet::cli {

inline constexpr int EXIT_OK = 0;
inline constexpr int EXIT_FAILED = 1;

void print_usage();
void print_help();
void print_version();

// The echo of a date argument that a full-form result begins with.
void print_echo(const char* first, const char* second);
// "M/D/Y is not a valid date" and a line feed, for the date as it was read:
// printed, or written to `out` (64 bytes) with its length returned.
void print_not_valid(const date& read);
size_t not_valid_text(char* out, const date& read);
// The difference, with no line feed after it; or, number-only, with one.
void print_difference(int32_t days, bool number_only);

// Where a text came from: nothing for an argument, a file's name and line
// number in batch mode.
struct place {
    const char* name = nullptr;
    uint64_t line = 0;
};

// One line on standard error: spanlet: [FILE:LINE: ]"TEXT": why it was refused.
void report_refusal(const place& where, std::string_view text, const date_reading& reading);
// spanlet: FILE:LINE: why, for a line that holds no pair of dates.
void report_line(const place& where, const char* why);
void report_fields(const place& where, size_t fields);
// spanlet: NAME: [what]the system's words for `error`.
void report_file_error(const char* name, const char* what, int error);
// The usage errors: spanlet: what went wrong (see spanlet --help).
void report_usage_error(const options& opts);

// spanlet: write error: the system's words for `error`.
void report_write_error(int error);

// Flushes standard output; if it could not be written, says so and gives
// EXIT_FAILED, otherwise `status`.
int finish(int status);

}  // namespace spanlet::cli
