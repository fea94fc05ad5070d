#include "io/message_log.h"

#include <algorithm>
#include <cstring>

#include "io/numbers.h"

namespace spanlet::cli {
namespace {

constexpr std::string_view ELLIPSIS = "\xe2\x80\xa6";  // …

// How a control byte is shown: \t, \r, \n, \e, or \xHH.
size_t escape(unsigned char c, char (&out)[4]) {
    constexpr char HEX[] = "0123456789abcdef";
    out[0] = '\\';
    switch (c) {
    case '\t': out[1] = 't'; return 2;
    case '\r': out[1] = 'r'; return 2;
    case '\n': out[1] = 'n'; return 2;
    case 0x1B: out[1] = 'e'; return 2;
    default:
        out[1] = 'x';
        out[2] = HEX[c >> 4];
        out[3] = HEX[c & 0xF];
        return 4;
    }
}

constexpr bool is_control(unsigned char c) { return c < 0x20 || c == 0x7F; }
// The bytes that continue a UTF-8 sequence: a text is never cut before one.
constexpr bool continues_utf8(unsigned char c) { return (c & 0xC0) == 0x80; }

}  // namespace

// ---- one line ------------------------------------------------------------------

bool message_line::fits(size_t size) {
    if (cut_)
        return false;
    if (used_ + size + ELLIPSIS_ROOM <= sizeof text_)
        return true;
    std::memcpy(text_ + used_, ELLIPSIS.data(), ELLIPSIS.size());
    used_ += ELLIPSIS.size();
    cut_ = true;
    return false;
}

message_line& message_line::text(std::string_view words) {
    if (!words.empty() && fits(words.size())) {
        std::memcpy(text_ + used_, words.data(), words.size());
        used_ += words.size();
    }
    return *this;
}

message_line& message_line::number(uint64_t value) {
    char digits[UINT64_ROOM] = {};
    return text({digits, static_cast<size_t>(write_uint64(digits, value) - digits)});
}

message_line& message_line::signed_number(int32_t value) {
    char digits[INT32_ROOM] = {};
    return text({digits, static_cast<size_t>(write_int32(digits, value) - digits)});
}

void message_line::escaped(std::string_view shown, size_t most) {
    // Most texts have no control byte and fit whole: copied at once.
    const bool fits_whole = shown.size() <= most && used_ + shown.size() + ELLIPSIS_ROOM <= sizeof text_;
    if (!cut_ && fits_whole &&
        std::none_of(shown.begin(), shown.end(), [](char c) { return is_control(static_cast<unsigned char>(c)); })) {
        std::memcpy(text_ + used_, shown.data(), shown.size());
        used_ += shown.size();
        return;
    }
    size_t written = 0;
    for (const char byte : shown) {
        if (cut_)
            return;
        const auto c = static_cast<unsigned char>(byte);
        char escape_text[4] = {byte};
        const size_t length = is_control(c) ? escape(c, escape_text) : 1;
        const bool line_full = used_ + length + ELLIPSIS_ROOM > sizeof text_;
        if (written + length > most || line_full) {
            // Cut before this byte; inside a UTF-8 sequence, before its start.
            if (continues_utf8(c)) {
                while (written > 0 && continues_utf8(static_cast<unsigned char>(text_[used_ - 1]))) {
                    --used_;
                    --written;
                }
                if (written > 0 && static_cast<unsigned char>(text_[used_ - 1]) >= 0xC0)
                    --used_;
            }
            text(ELLIPSIS);
            cut_ = cut_ || line_full;
            return;
        }
        std::memcpy(text_ + used_, escape_text, length);
        used_ += length;
        written += length;
    }
}

message_line& message_line::quoted(std::string_view shown) {
    text("\"");
    escaped(shown, QUOTED_MAX);
    return text("\"");
}

message_line& message_line::name(std::string_view shown, size_t most) {
    escaped(shown, most);
    return *this;
}

std::string_view message_line::end() {
    text_[used_++] = '\n';  // ELLIPSIS_ROOM kept a byte for it
    return {text_, used_};
}

// ---- the log -------------------------------------------------------------------

void message_log::add(std::string_view line) {
    if (line.size() > sizeof block_ - used_)
        flush();
    std::memcpy(block_ + used_, line.data(), line.size());
    used_ += line.size();
}

void message_log::flush() {
    // Nothing is left to say where standard error itself cannot be written.
    if (used_ != 0)
        static_cast<void>(sink_.write(block_, used_));
    used_ = 0;
}

}  // namespace spanlet::cli
