#pragma once
// What spanlet prints on standard output: the usage text, help and version,
// and the answer for a pair of dates on the command line. The exit statuses
// are named here once.

#include <cstddef>
#include <cstdio>

#include "print/messages.h"
#include "options/options.h"
#include "judge/pair_rule.h"
#include "date/date_text.h"

namespace spanlet::cli {

inline constexpr int EXIT_OK = 0;
inline constexpr int EXIT_FAILED = 1;

// The five lines printed for fewer than two dates, to `stream`.
void print_usage(std::FILE* stream);
void print_help();
void print_version();

// The answer for the two dates of the command line: a line feed, each text
// and a tab, then the difference with no line feed after it, or "M/D/Y is
// not a valid date" and a line feed; number-only, the difference and a line
// feed, or nothing.
void print_pair(const options& opts, const pair_verdict& verdict);

// Flushes standard output; if it could not be written, says so and gives
// EXIT_FAILED, otherwise `status`. Then writes out the messages.
int finish(int status, message_log& messages);

// "M/D/Y is not a valid date" and a line feed for a refused reading, written
// to `out` (NOT_VALID_ROOM bytes); returns its length. The numbers are those
// found in the text, month/day/year, where it had three that were not cut
// short; 0/0/1900 for a text that is no date at all.
inline constexpr size_t NOT_VALID_ROOM = 64;
size_t not_valid_text(char* out, const date_reading& refused);

}  // namespace spanlet::cli
