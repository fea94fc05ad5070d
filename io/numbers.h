#pragma once
// Writing numbers as decimal text, for every answer and message spanlet
// prints: no printf, no locale.

#include <cstddef>
#include <bit>
#include <cstdint>
#include <cstring>

#include "date/periods.h"
#include "options/units.h"

namespace spanlet::cli {

// Room a signed 32-bit number needs at `out`: "-2147483648" is 11 bytes,
// and the fast digits write up to 8 bytes past the start of their run.
inline constexpr size_t INT32_ROOM = 16;
// "18446744073709551615" is 20 bytes.
inline constexpr size_t UINT64_ROOM = 20;

namespace numbers_detail {

// The digits of a value below 10^8, written at `out` (eight bytes are
// written whatever the length); returns their end. All eight digits are made
// at once in one 64-bit word, a byte each, most significant first in memory:
// the value is split into two halves of four digits, each half into two
// pairs, each pair into two digits, by multiplications that divide every lane
// of the word at once (x * 10486 >> 20 is x / 100 for x < 10^4, x * 103 >> 10
// is x / 10 for x < 100). Leading zeros are then shifted out.
inline char* eight_digits(char* out, uint32_t value) {
    const uint64_t halves = (value / 10000) | (uint64_t{value % 10000} << 32);  // lanes [0, 9999]
    const uint64_t hundreds = ((halves * 10486) >> 20) & 0x0000007F0000007F;   // lanes [0, 99]
    const uint64_t pairs = hundreds | ((halves - 100 * hundreds) << 16);        // lanes [0, 99]
    const uint64_t tens = ((pairs * 103) >> 10) & 0x000F000F000F000F;          // lanes [0, 9]
    const uint64_t digits = tens | ((pairs - 10 * tens) << 8);                  // lanes [0, 9]
    // The lowest bit of the last digit's lane stops the count at 7 leading
    // zeros, so that 0 is written "0".
    const int leading_zeros = std::countr_zero(digits | (uint64_t{1} << 56)) / 8;  // [0, 7]
    const uint64_t text = (digits + 0x3030303030303030) >> (8 * leading_zeros);
    std::memcpy(out, &text, sizeof text);
    return out + 8 - leading_zeros;
}

inline constexpr uint32_t EIGHT_DIGITS_END = 100'000'000;

}  // namespace numbers_detail

// `value` in decimal at `out`, which has UINT64_ROOM bytes; returns the end.
inline char* write_uint64(char* out, uint64_t value) {
    if (std::endian::native == std::endian::little && value < numbers_detail::EIGHT_DIGITS_END)
        return numbers_detail::eight_digits(out, static_cast<uint32_t>(value));
    char digits[UINT64_ROOM];
    size_t count = 0;  // [1, 20]
    do {
        digits[count++] = static_cast<char>('0' + value % 10);
        value /= 10;
    } while (value != 0);
    while (count > 0)
        *out++ = digits[--count];
    return out;
}

// `value` in decimal, a '-' before a negative one, at `out`, which has
// INT32_ROOM bytes; returns the end of the text.
inline char* write_int32(char* out, int32_t value) {
    // The magnitude in unsigned arithmetic, where INT32_MIN has one.
    const uint32_t magnitude = value < 0 ? 0U - static_cast<uint32_t>(value) : static_cast<uint32_t>(value);
    *out = '-';  // kept only for a negative value: no branch to mispredict on the sign
    out += value < 0 ? 1 : 0;
    return write_uint64(out, magnitude);
}

namespace numbers_detail {

// The text of 0-99, two bytes each: "0?" to "9?" (the second byte a spare),
// then "10" to "99".
struct small_numbers {
    char text[200];
};
constexpr small_numbers make_small_numbers() {
    small_numbers table{};
    for (size_t value = 0; value < 100; ++value) {
        table.text[2 * value] = static_cast<char>(value < 10 ? '0' + value : '0' + value / 10);
        table.text[2 * value + 1] = static_cast<char>(value < 10 ? '0' : '0' + value % 10);
    }
    return table;
}
inline constexpr small_numbers SMALL_NUMBERS = make_small_numbers();

// A part of a span: most are below 100 (months, days), and are copied from
// the table.
inline char* write_part(char* out, uint32_t value) {
    if (value < 100) {
        std::memcpy(out, &SMALL_NUMBERS.text[size_t{2} * value], 2);
        return out + (value < 10 ? 1 : 2);
    }
    return write_uint64(out, value);
}

}  // namespace numbers_detail

// Room a span written by write_period needs at `out`.
inline constexpr size_t PERIOD_ROOM = 64;

// A span as ISO 8601 writes it, P1Y2M3W4D, a '-' before a negative one; the
// parts of `units` that are 0 left out, and P0 with the letter of the
// smallest unit for none at all. Returns the end of the text.
inline char* write_period(char* out, const period& p, unit_set units, bool negative) {
    const bool zero = p == period{};
    *out = '-';
    out += negative && !zero ? 1 : 0;
    *out++ = 'P';
    char smallest = 'D';  // the designator of the smallest unit asked for
    for (const unit_names& u : UNITS) {
        const int32_t size = p.*u.size;
        if (size != 0) {
            out = numbers_detail::write_part(out, static_cast<uint32_t>(size));
            *out++ = u.designator;
        }
        if ((units & u.unit) != 0)
            smallest = u.designator;
    }
    if (zero) {
        *out++ = '0';
        *out++ = smallest;
    }
    return out;
}

}  // namespace spanlet::cli
