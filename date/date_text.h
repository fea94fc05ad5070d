#pragma once
// Reading the text of a date into a date, or into a refusal with its reason.
//
// read_date is the entry: the strict fast paths for the spellings most dates
// come in, else the general reader, which reads in one pass: the scanner
// finds the year, month and day a text spells (or why it spells none), and
// the calendar checks them.
//
// What is read (the README's table says the same for users):
// - Numeric dates: three numbers with the same separator twice, one
//   character that is not a digit, a letter or ':' (or an en dash): year
//   first (2010-08-10) or month first (08/10/2010). Any run of blanks may
//   stand before a number and before the whole text, and a plus sign before
//   the digits, never a minus sign. The whole text has at least six
//   characters.
// - The year comes first when the first number is written with three or more
//   digits, or is above 50: no month or day is that large, and 50 is the
//   pivot of the two-digit window.
// - A year of three or more digits is taken as written and must be 1400-9999.
//   A two-digit (or one-digit) year is widened: 00-50 to 2000-2050, 51-99 to
//   1951-1999.
// - Month names, English, full or of three letters (and Sept): day month
//   year (10 Aug 2010, 10-AUG-10, 10AUG2010), month day year (Aug 10, 2010),
//   year month day (2010-Aug-10); and the forms with the year after the time
//   (Thu Dec 10 02:56:35 UTC 2026). A weekday may lead any spelling, and must
//   be the date's.
// - Eight digits are YYYYMMDD; ISO week dates (2026-W50-4, 2026W504) and
//   ordinal dates (2026-344, 2026344).
// - After the date: nothing, blanks, T alone, a time (T12:34, :12, blanks
//   and 12:), or a zone (Z, UTC, GMT, +HHMM, +HH:MM) and then blanks;
//   anything else is refused.
// - "today", "yesterday", "tomorrow" and @SECONDS, when the caller supplies
//   the local date.

#include <bit>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string_view>

#include "date/calendar.h"

namespace spanlet {

// Why a text was not read as a date.
enum class refusal : uint8_t {
    none,
    not_a_date,          // not the shape of any spelling spanlet reads
    missing_digits,      // one of the three numbers has no digits
    negative_number,     // a minus sign before a number's digits
    not_a_time_after,    // what follows the date is not a time, a zone, or blanks
    year_before_range,   // before 1400
    year_after_range,    // after 9999
    no_such_month,       // month 0 or above 12
    no_such_day,         // day 0 or beyond the month's length
    today_unknown,       // "today", but the caller had no date for it
    no_year,             // a month and a day, and no year (Dec 10 02:42)
    wrong_weekday,       // the weekday named is not the date's
    week_not_day,        // an ISO week without its weekday (2026-W50)
    no_such_week,        // week 0, or beyond the year's 52 or 53
    no_such_weekday,     // an ISO weekday of 0, or above 7
    no_such_year_day,    // an ordinal day of 0, or beyond the year's 365 or 366
    instant_unknown,     // @SECONDS, but its local date is not known
};
// How many refusals there are, none included: a new one goes last, before
// this line. The words of each are print's; the tests hold the two in step.
inline constexpr size_t REFUSAL_COUNT = static_cast<size_t>(refusal::instant_unknown) + 1;

// How a text whose year comes last is read.
enum class field_order : uint8_t { month_first, day_first };

struct reading_options {
    field_order order = field_order::month_first;
    const date* today = nullptr;  // what "today" names; nullptr refuses it
    // The local date of an instant, in seconds since 1970-01-01 00:00 UTC,
    // for @SECONDS; false when it is not known. nullptr refuses @SECONDS.
    bool (*local_date_of)(int64_t seconds, date& out) = nullptr;
};

struct date_reading {
    refusal reason = refusal::none;
    date value{};   // the date; when refused, the numbers a refused row shows (0/0/1900 for none)
    date fields{};  // the numbers found, in date order (for the words of a refusal)
    int32_t weekday = 0;          // the weekday the text named, 1 (Monday) to 7, or 0
    bool day_first_hint = false;  // no_such_month, but read day first the text is a date
};

// The years a date text may name.
inline constexpr int32_t FIRST_READ_YEAR = 1400;
inline constexpr int32_t LAST_READ_YEAR = LAST_YEAR;

// The general reader: `text`, of any length and with any bytes, in one pass.
// Allocates nothing.
date_reading read_date_general(std::string_view text, const reading_options& options = {});

// The fast path: true and the date when `text` is exactly YYYY-MM-DD naming a
// real date of 1400-9999, the one spelling most dates come in. For any other
// text, false: the general reader decides. The tests hold the two equal.
inline bool read_canonical_spelling(std::string_view text, date& out);

// The second fast path: true and the date when `text` is, whole, one of the
// numeric spellings most other dates come in, naming a real date of
// 1400-9999: YYYY/M/D, M/D/YYYY (D/M/YYYY with the day first), each
// separator '/', '.' or '-' (the same twice), month and day of one or two
// digits; or YYYYMMDD. For any other text, false: the general reader
// decides. The tests hold the two equal.
inline bool read_numeric_spelling(std::string_view text, field_order order, date& out);

// The one entry: the fast paths, or else the general reader. Inline, so that
// a caller reading many dates keeps the common case in registers.
inline date_reading read_date(std::string_view text, const reading_options& options = {}) {
    date found{};
    if (read_canonical_spelling(text, found) || read_numeric_spelling(text, options.order, found))
        return {refusal::none, found, found};
    return read_date_general(text, options);
}

// The day "today", "yesterday" or "tomorrow" (any letter case) names, as
// days from today: 0, -1 or 1; or RELATIVE_NONE for any other text.
inline constexpr int32_t RELATIVE_NONE = 2;
int32_t relative_name(std::string_view text);  // the names compared whole
inline int32_t relative_day(std::string_view text) {
    // t or y first: most texts are none of the names.
    return text.empty() || (text[0] | 0x20) < 't' ? RELATIVE_NONE : relative_name(text);
}

// What the scanner finds in a text: the numbers in date order, or why there
// are none. Internal to the date library.
struct normalized {
    refusal reason = refusal::none;  // none when three numbers were found
    date fields{};
    int32_t weekday = 0;          // as in date_reading
    bool day_first_hint = false;  // as in date_reading
};

// ---- the fast path ------------------------------------------------------------

namespace fast_path {

// Eight bytes of text as one little-endian word.
inline uint64_t word_at(const char* at) {
    uint64_t word = 0;
    if constexpr (std::endian::native == std::endian::little) {
        std::memcpy(&word, at, sizeof word);
    } else {
        for (size_t i = 0; i < sizeof word; ++i)
            word |= uint64_t{static_cast<unsigned char>(at[i])} << (8 * i);
    }
    return word;
}

}  // namespace fast_path

// The ten bytes are checked as two overlapping words of eight, YYYY-MM- and
// YY-MM-DD: XOR with "0000-00-" and "00-00-00" leaves 0-9 in a digit's byte
// and 0 in a dash's; any other byte is 10 or more, and then adding 0x76 to it
// (or the byte itself) sets its top bit. Then each byte times ten plus the
// next gives the two-digit values (19, 20, 08; 10) in bytes 0, 2 and 5 of the
// first word and 6 of the second.
inline bool read_canonical_spelling(std::string_view text, date& out) {
    constexpr size_t LENGTH = 10;
    constexpr uint64_t HEAD_PATTERN = 0x2D30302D30303030;  // "0000-00-"
    constexpr uint64_t TAIL_PATTERN = 0x30302D30302D3030;  // "00-00-00"
    constexpr uint64_t HEAD_DASHES = 0xFF0000FF00000000;
    constexpr uint64_t TAIL_DASHES = 0x0000FF0000FF0000;
    constexpr uint64_t TEN_AND_ABOVE = 0x7676767676767676;
    constexpr uint64_t TOP_BITS = 0x8080808080808080;
    if (text.size() != LENGTH)
        return false;
    const uint64_t head = fast_path::word_at(text.data()) ^ HEAD_PATTERN;
    const uint64_t tail = fast_path::word_at(text.data() + 2) ^ TAIL_PATTERN;
    if ((((head | (head + TEN_AND_ABOVE)) | (tail | (tail + TEN_AND_ABOVE))) & TOP_BITS) != 0 ||
        ((head & HEAD_DASHES) | (tail & TAIL_DASHES)) != 0)
        return false;
    const uint64_t head_pairs = head * 10 + (head >> 8);  // bytes [0, 99]
    const uint64_t tail_pairs = tail * 10 + (tail >> 8);
    const auto byte = [](uint64_t word, int i) { return static_cast<int32_t>((word >> (8 * i)) & 0xFF); };
    const date found{byte(head_pairs, 0) * 100 + byte(head_pairs, 2), byte(head_pairs, 5),
                     byte(tail_pairs, 6)};
    // Every month has days 1-28; only a later day needs the month's length.
    const bool common_day = static_cast<uint32_t>(found.month - 1) < 12 &&
                            static_cast<uint32_t>(found.day - 1) < 28;
    if (found.year < FIRST_READ_YEAR || !(common_day || is_valid_date(found)))
        return false;
    out = found;
    return true;
}

namespace fast_path {

inline bool is_digit(char c) { return static_cast<unsigned char>(c - '0') < 10; }

// The four bytes at `at` as four digits: true and their number in `value`.
// XOR with "0000" leaves 0-9 in a digit's byte and 10 or more in any
// other's, which adding 0x76 carries into the top bit.
inline bool four_digits(std::string_view text, size_t at, int32_t& value) {
    uint32_t word = 0;
    for (size_t i = 0; i < 4; ++i)
        word |= uint32_t{static_cast<unsigned char>(text[at + i])} << (8 * i);
    const uint32_t offset = word ^ 0x30303030;
    const uint32_t pairs = offset * 10 + (offset >> 8);  // bytes 0 and 2 [0, 99] where digits
    value = static_cast<int32_t>((pairs & 0xFF) * 100 + ((pairs >> 16) & 0xFF));
    return ((offset | (offset + 0x76767676)) & 0x80808080) == 0;
}

// The number of one or two digits in [from, to) of `text`, or -1.
inline int32_t short_number(std::string_view text, size_t from, size_t to) {
    if (to == from + 1)
        return is_digit(text[from]) ? text[from] - '0' : -1;
    if (to == from + 2 && is_digit(text[from]) && is_digit(text[from + 1]))
        return (text[from] - '0') * 10 + (text[from + 1] - '0');
    return -1;
}

inline bool is_numeric_separator(char c) { return c == '/' || c == '.' || c == '-'; }

}  // namespace fast_path

[[gnu::always_inline]] inline bool read_numeric_spelling(std::string_view text, field_order order, date& out) {
    using namespace fast_path;
    const size_t length = text.size();
    if (length < 8 || length > 10)  // 1/1/2010 to 2010/10/10
        return false;
    int32_t year = 0;
    date found{};
    if (four_digits(text, 0, year)) {
        int32_t month_and_day = 0;
        if (length == 8 && four_digits(text, 4, month_and_day)) {
            found = {year, month_and_day / 100, month_and_day % 100};  // YYYYMMDD
        } else {
            // YYYY/M/D: the second separator at 6 or 7.
            const char separator = text[4];
            const size_t second = text[6] == separator ? 6 : 7;
            if (!is_numeric_separator(separator) || text[second] != separator)
                return false;
            found = {year, short_number(text, 5, second), short_number(text, second + 1, length)};
        }
    } else if (four_digits(text, length - 4, year)) {
        // M/D/YYYY, or D/M/YYYY: the first separator at 1 or 2.
        const char separator = text[length - 5];
        const size_t first = text[1] == separator ? 1 : 2;
        if (!is_numeric_separator(separator) || text[first] != separator)
            return false;
        const int32_t one = short_number(text, 0, first);
        const int32_t other = short_number(text, first + 1, length - 5);
        found = order == field_order::month_first ? date{year, one, other} : date{year, other, one};
    } else {
        return false;
    }
    if (found.year < FIRST_READ_YEAR || !is_valid_date(found))  // a number of -1 is no month or day
        return false;
    out = found;
    return true;
}

}  // namespace spanlet
