#pragma once
// The message log: what spanlet says on standard error, a line at a time.
// Each message is one line, built whole and shorter than PIPE_BUF, and lines
// go out in blocks of whole lines of at most PIPE_BUF bytes: two programs
// that share one standard error (2>>errors.txt, parallel) never tear each
// other's lines. The words are print's (print/messages.h).

#include <cstddef>
#include <cstdint>
#include <string_view>

#include "io/fd_io.h"

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

private:
    byte_sink& sink_;
    char block_[MESSAGE_BLOCK];
    size_t used_ = 0;
};

}  // namespace spanlet::cli
