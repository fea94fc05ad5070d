#pragma once
// Everything spanlet says: results and the usage text on standard output, the
// reasons for a refusal and other errors on standard error.

#include <cstdint>
#include <string_view>

#include "date/date_text.h"

namespace spanlet::cli {

inline constexpr int EXIT_OK = 0;
inline constexpr int EXIT_FAILED = 1;

void print_usage();
void print_help();
void print_version();

// The echo of a date argument that a full-form result begins with.
void print_echo(const char* first, const char* second);
// "M/D/Y is not a valid date" for the date as it was read.
void print_not_valid(const date& read);
// The difference, with no line feed after it; or, number-only, with one.
void print_difference(int32_t days, bool number_only);

// One line on standard error: spanlet: "TEXT": why it was refused.
void report_refusal(std::string_view text, const date_reading& reading);
void report_bad_option(const char* option);
void report_extra_date(const char* text);

// Flushes standard output; if it could not be written, says so and gives
// EXIT_FAILED, otherwise `status`.
int finish(int status);

}  // namespace spanlet::cli
