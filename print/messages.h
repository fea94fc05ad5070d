#pragma once
// Everything spanlet says on standard error, in words: each function builds
// one whole line and adds it to the log.

#include <cstddef>
#include <cstdint>
#include <string_view>

#include "io/message_log.h"
#include "judge/pair_rule.h"
#include "options/options.h"
#include "date/date_text.h"

namespace spanlet::cli::say {

// spanlet: [FILE:LINE: ]"TEXT": why it was refused.
void refusal(message_log& log, const place& where, std::string_view text, const date_reading& reading);
// A refusal line for every side of the pair that was refused, first side first.
void refusals(message_log& log, const place& where, std::string_view first, std::string_view second, const pair_verdict& verdict);
// spanlet: FILE:LINE: why, for a line that holds no pair of dates.
void line_problem(message_log& log, const place& where, std::string_view why);
void wrong_field_count(message_log& log, const place& where, size_t fields);
void line_too_long(message_log& log, const place& where, size_t limit, std::string_view what = "line");
// A date of a CSV column: spanlet: FILE:LINE: column "NAME" (or column
// N): "TEXT": why it was refused.
void column_refusal(message_log& log, const place& where, std::string_view name, size_t number, std::string_view text,
                    const date_reading& reading);
// spanlet: FILE:LINE: the record has F fields: no column N.
void missing_column(message_log& log, const place& where, size_t fields, size_t column);
// spanlet: FILE: no column "NAME" in the header, or column "NAME" is
// named twice in it.
void header_problem(message_log& log, const char* name, std::string_view column, bool twice);
void field_not_echoed(message_log& log, const place& where, std::string_view field);
// spanlet: NAME: [what]the system's words for `error`.
void file_error(message_log& log, const char* name, std::string_view what, int error);
// spanlet: write error: the system's words for `error`.
void write_error(message_log& log, int error);
void out_of_memory(message_log& log);
// The usage errors: spanlet: what went wrong (see spanlet --help).
void usage_error(message_log& log, const options& opts);

// "1 MiB", "64 KiB", "1000 bytes": a size as a person writes it.
message_line& size_words(message_line& line, size_t bytes);

}  // namespace spanlet::cli::say
