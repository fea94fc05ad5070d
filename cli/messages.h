#pragma once
// Everything spanlet says on standard error. Each message is one line, built
// whole and shorter than PIPE_BUF, and lines go out in blocks of whole lines
// of at most PIPE_BUF bytes: two programs that share one standard error
// (2>>errors.txt, parallel) never tear each other's lines.

#include <cstddef>
#include <cstdint>
#include <string_view>

#include "cli/fd_io.h"
#include "cli/options.h"
#include "cli/pair_rule.h"
#include "date/date_text.h"

#ifndef _WIN32
#include <climits>
#endif

namespace spanlet::cli {

#if defined(PIPE_BUF)
inline constexpr size_t MESSAGE_BLOCK = PIPE_BUF;
#else
inline constexpr size_t MESSAGE_BLOCK = 4096;
#endif
// A message line, its line feed included, is at most this long; a longer one
// is cut with "…".
inline constexpr size_t MESSAGE_LINE_MAX = (MESSAGE_BLOCK < 1024 ? MESSAGE_BLOCK : 1024) - 1;
// How much of a quoted text a message shows, its escapes included.
inline constexpr size_t QUOTED_MAX = 200;
// How much of a file's name a message about one of its lines shows: with
// the line number, two quoted texts and their reasons, the line still fits.
inline constexpr size_t NAME_BEFORE_LINE_MAX = 320;
static_assert(NAME_BEFORE_LINE_MAX + 2 * QUOTED_MAX + 200 < MESSAGE_LINE_MAX);

// One line of a message, built in place. Appending past the room cuts the
// line with "…"; end() adds the line feed. Its text is written before it
// is read, and left uncleared: a line is made for every refused line.
class message_line {  // NOLINT(cppcoreguidelines-pro-type-member-init)
public:
    message_line& text(std::string_view words);
    message_line& number(uint64_t value);
    message_line& signed_number(int32_t value);
    // `shown` in double quotes, control bytes escaped (\t, \r, \n, \e, \x01,
    // \x7f), cut with "…" past QUOTED_MAX bytes.
    message_line& quoted(std::string_view shown);
    // A file's name, control bytes escaped as in quoted(), not quoted, cut
    // with "…" past `most` bytes.
    message_line& name(std::string_view shown, size_t most = MESSAGE_LINE_MAX);
    std::string_view end();

private:
    void escaped(std::string_view shown, size_t most);
    bool fits(size_t size);

    static constexpr size_t ELLIPSIS_ROOM = 3 + 1;  // "…" in UTF-8 and the line feed
    // Written before it is read, never cleared: a refused line is answered fast.
    // cppcheck-suppress uninitMemberVarPrivate
    char text_[MESSAGE_LINE_MAX];
    size_t used_ = 0;
    bool cut_ = false;
};

// Where a text came from: nothing for an argument, a file's name and line
// number in batch mode.
struct place {
    const char* name = nullptr;
    uint64_t line = 0;
};

// The lines said so far, written to `sink` in blocks of whole lines: when
// the next line would not fit, and on flush().
class message_log {
public:
    // The block is written before it is read: not cleared.
    // cppcheck-suppress uninitMemberVar
    explicit message_log(byte_sink& sink) : sink_(sink) {}  // NOLINT(cppcoreguidelines-pro-type-member-init)
    ~message_log() { flush(); }
    message_log(const message_log&) = delete;
    message_log& operator=(const message_log&) = delete;
    message_log(message_log&&) = delete;
    message_log& operator=(message_log&&) = delete;

    void add(std::string_view line);
    void flush();

    // spanlet: [FILE:LINE: ]"TEXT": why it was refused.
    void refusal(const place& where, std::string_view text, const date_reading& reading);
    // A refusal line for every side of the pair that was refused, first side first.
    void refusals(const place& where, std::string_view first, std::string_view second, const pair_verdict& verdict);
    // spanlet: FILE:LINE: why, for a line that holds no pair of dates.
    void line_problem(const place& where, std::string_view why);
    void wrong_field_count(const place& where, size_t fields);
    void line_too_long(const place& where, size_t limit, std::string_view what = "line");
    // A date of a CSV column: spanlet: FILE:LINE: column "NAME" (or column
    // N): "TEXT": why it was refused.
    void column_refusal(const place& where, std::string_view name, size_t number, std::string_view text,
                        const date_reading& reading);
    // spanlet: FILE:LINE: the record has F fields: no column N.
    void missing_column(const place& where, size_t fields, size_t column);
    // spanlet: FILE: no column "NAME" in the header, or column "NAME" is
    // named twice in it.
    void header_problem(const char* name, std::string_view column, bool twice);
    void field_not_echoed(const place& where, std::string_view field);
    // spanlet: NAME: [what]the system's words for `error`.
    void file_error(const char* name, std::string_view what, int error);
    // spanlet: write error: the system's words for `error`.
    void write_error(int error);
    void out_of_memory();
    // The usage errors: spanlet: what went wrong (see spanlet --help).
    void usage_error(const options& opts);

private:
    static message_line start(const place& where);

    byte_sink& sink_;
    char block_[MESSAGE_BLOCK];
    size_t used_ = 0;
};

// "1 MiB", "64 KiB", "1000 bytes": a size as a person writes it.
message_line& size_words(message_line& line, size_t bytes);

}  // namespace spanlet::cli
