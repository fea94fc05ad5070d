#pragma once
// Reading the text of a date into a date triple (month, day, year).
//
// Two stages run over one working text, always both and in this order:
// normalize_date_text rewrites the text as the canonical text "%04d/%02d/%02d"
// (year, month, day) or as six spaces, and read_date_fields reads the result back
// through one of eight fixed layouts. Neither stage judges the date: every text
// yields some triple, and is_valid_date (date/calendar.h) decides whether it is
// a real date.

#include <cstddef>
#include <cstdint>

// Flags of a layout code; the value 1 is never set.
inline constexpr int32_t LAYOUT_SEPARATED = 8;        // non-digit at position 2 or 4
inline constexpr int32_t LAYOUT_FOUR_DIGIT_YEAR = 4;
inline constexpr int32_t LAYOUT_YEAR_FIRST = 2;

// The longest canonical text: an 11-character year ("-2147481648"), a slash,
// and two two-digit fields with their slashes.
inline constexpr size_t CANONICAL_TEXT_MAX = 11 + 1 + 2 + 1 + 2;

// Bytes a working text needs to hold a date text of `length` characters and
// then its canonical text, terminator included.
constexpr size_t working_text_size(size_t length) {
    return (length > CANONICAL_TEXT_MAX ? length : CANONICAL_TEXT_MAX) + 1;
}

// Rewrites `text` in place. Its buffer must hold working_text_size(strlen(text))
// bytes.
void normalize_date_text(char* text);

// The layout code of `text`: a sum of LAYOUT_* flags, an even value 0-14.
int32_t detect_date_layout(const char* text);

// Reads the fields at the fixed positions of the text's layout. Always writes
// all three.
void read_date_fields(const char* text, int32_t& month_out, int32_t& day_out,
                      int32_t& year_out);

// As the standard atoi over [begin, end) - leading white space, an optional
// sign, then digits up to the first non-digit; no digits gives 0 - except that a
// value outside the signed 32-bit range saturates to INT32_MIN or INT32_MAX.
int32_t parse_int32(const char* begin, const char* end);

// Writes `value` as "%0*d" with `width` would, without a terminator, and returns
// the end of what it wrote (at most 11 characters for width <= 11).
char* format_padded(char* out, int32_t value, int32_t width);
