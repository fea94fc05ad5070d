#include "date/date_text.h"

#include <cstring>

namespace {

// Character classes of the C locale's isdigit and isspace. Bytes outside 7-bit
// ASCII are neither.
constexpr bool is_digit(char c) { return c >= '0' && c <= '9'; }
constexpr bool is_space(char c) { return c == ' ' || (c >= '\t' && c <= '\r'); }

// ---- normalising ----------------------------------------------------------

constexpr size_t MIN_DATE_LENGTH = 6;
constexpr char SIX_SPACES[] = "      ";

// The first non-digit in [from, end), or end.
const char* skip_digits(const char* from, const char* end) {
    while (from != end && is_digit(*from))
        ++from;
    return from;
}

// Splits [text, end) into three fields at its first two separators and
// converts them. A field's first character is never examined, so it may be a
// sign; the third field runs to the end. False when a scan for a separator
// reaches the end: such a text has no reading.
bool split_fields(const char* text, const char* end, int32_t field[3]) {
    const char* first_separator = skip_digits(text + 1, end);
    if (first_separator == end || first_separator + 1 == end)
        return false;
    const char* second_field = first_separator + 1;
    const char* second_separator = skip_digits(second_field + 1, end);
    if (second_separator == end)
        return false;
    field[0] = parse_int32(text, first_separator);
    field[1] = parse_int32(second_field, second_separator);
    field[2] = parse_int32(second_separator + 1, end);
    return true;
}

// A year is taken as two-digit below 100: 51-99 mean 1951-1999 and 0-19 mean
// 2000-2019; 20-50 stay as they are, and are later refused.
int32_t widen_year(int32_t year) {
    if (year >= 51 && year <= 99)
        year += 1900;
    if (year < 20)
        year += 2000;  // negative years are raised as well
    return year;
}

// The reader takes a canonical text back as the same date only for a year of
// 1400-9999 (a lower year's leading digits would pass for a month) and for a
// month and a day of at most two digits (more would shift the fixed fields).
// Years below 100 are let through: they read back with month 0 or below, which
// no date has.
bool reads_back_unchanged(int32_t year, int32_t month, int32_t day) {
    const bool year_fits = year < 100 || (year >= 1400 && year <= 9999);
    return year_fits && month >= 0 && month <= 99 && day >= 0 && day <= 99;
}

void write_canonical_text(char* text, int32_t year, int32_t month, int32_t day) {
    char* out = format_padded(text, year, 4);
    *out++ = '/';
    out = format_padded(out, month, 2);
    *out++ = '/';
    out = format_padded(out, day, 2);
    *out = '\0';
}

// ---- reading --------------------------------------------------------------

// The reader looks at fixed positions 0-9 whatever the text's length; a
// position at or past the terminator reads as '\0', which is neither a digit
// nor white space.
constexpr size_t HEAD_LENGTH = 10;
struct text_head {
    char at[HEAD_LENGTH];
};

text_head head_of(const char* text) {
    text_head head{};
    for (size_t i = 0; i < HEAD_LENGTH && text[i] != '\0'; ++i)
        head.at[i] = text[i];
    return head;
}

// Length of the date at the head of the text: 5-8 without separators (white
// space at position 5 or later counts as length 6), 8-10 with them.
int32_t date_length(const text_head& head, bool separated) {
    size_t n = 0;
    if (separated) {
        for (n = 8; n < 10 && is_digit(head.at[n]); ++n) {
        }
    } else {
        for (n = 5; n < 8 && is_digit(head.at[n]); ++n) {
        }
        if (n < 8 && is_space(head.at[n]))
            n = 6;
    }
    return static_cast<int32_t>(n);
}

int32_t layout_of(const text_head& head) {
    const bool separated = !is_digit(head.at[2]) || !is_digit(head.at[4]);
    const int32_t length = date_length(head, separated);
    const int32_t leading = parse_int32(head.at, head.at + 2);

    // Two-digit years lead when above 12, four-digit ones when above 13.
    int32_t layout = 0;
    if (separated) {
        layout |= LAYOUT_SEPARATED;
        if (length == 8 && leading > 12)
            layout |= LAYOUT_YEAR_FIRST;
        if (length == 10)
            layout |= LAYOUT_FOUR_DIGIT_YEAR | (leading > 13 ? LAYOUT_YEAR_FIRST : 0);
    } else {
        if (length == 6 && leading > 12)
            layout |= LAYOUT_YEAR_FIRST;
        if (length == 8) {
            if (leading <= 20)
                layout |= LAYOUT_FOUR_DIGIT_YEAR;
            if (leading > 13)
                layout |= LAYOUT_YEAR_FIRST;
        }
    }
    return layout;
}

// Where each layout keeps its fields, indexed by layout code / 2. Month and
// day are two characters wide.
struct field_positions {
    int8_t month, day, year, year_width;
};
constexpr field_positions LAYOUT_FIELDS[8] = {
    {0, 2, 4, 2},  //  0 MMDDYY
    {2, 4, 0, 2},  //  2 YYMMDD
    {0, 2, 4, 4},  //  4 MMDDYYYY
    {4, 6, 0, 4},  //  6 YYYYMMDD
    {0, 3, 6, 2},  //  8 MM?DD?YY
    {3, 6, 0, 2},  // 10 YY?MM?DD
    {0, 3, 6, 4},  // 12 MM?DD?YYYY
    {5, 8, 0, 4},  // 14 YYYY?MM?DD
};

int32_t parse_at(const text_head& head, int8_t position, int8_t width) {
    return parse_int32(head.at + position, head.at + position + width);
}

}  // namespace

void normalize_date_text(char* text) {
    const char* end = text + std::strlen(text);
    int32_t field[3];
    if (end - text < static_cast<ptrdiff_t>(MIN_DATE_LENGTH) ||
        !split_fields(text, end, field)) {
        std::memcpy(text, SIX_SPACES, sizeof SIX_SPACES);
        return;
    }

    // The year leads only when the first value is above 50.
    const bool year_first = field[0] > 50;
    int32_t year = widen_year(year_first ? field[0] : field[2]);
    const int32_t month = year_first ? field[1] : field[0];
    const int32_t day = year_first ? field[2] : field[1];

    if (!reads_back_unchanged(year, month, day)) {
        std::memcpy(text, SIX_SPACES, sizeof SIX_SPACES);
        return;
    }
    if (month == 0 || day == 0)
        year = 0;
    write_canonical_text(text, year, month, day);
}

int32_t detect_date_layout(const char* text) {
    return layout_of(head_of(text));
}

void read_date_fields(const char* text, int32_t& month_out, int32_t& day_out,
                      int32_t& year_out) {
    const text_head head = head_of(text);
    const field_positions& fields = LAYOUT_FIELDS[layout_of(head) / 2];
    month_out = parse_at(head, fields.month, 2);
    day_out = parse_at(head, fields.day, 2);
    const int32_t year = parse_at(head, fields.year, fields.year_width);  // [-999, 9999]
    year_out = year < 100 ? year + 1900 : year;
}

int32_t parse_int32(const char* begin, const char* end) {
    while (begin != end && is_space(*begin))
        ++begin;
    const bool negative = begin != end && *begin == '-';
    if (begin != end && (*begin == '-' || *begin == '+'))
        ++begin;

    // Accumulate the magnitude, stopping once it is past every int32_t.
    constexpr int64_t LIMIT = int64_t{INT32_MAX} + 1;
    int64_t magnitude = 0;  // [0, LIMIT * 10 + 9]
    for (; begin != end && is_digit(*begin); ++begin) {
        if (magnitude <= LIMIT)
            magnitude = magnitude * 10 + (*begin - '0');
    }
    if (negative)
        return magnitude >= LIMIT ? INT32_MIN : static_cast<int32_t>(-magnitude);
    return magnitude > INT32_MAX ? INT32_MAX : static_cast<int32_t>(magnitude);
}

char* format_padded(char* out, int32_t value, int32_t width) {
    // The magnitude in unsigned arithmetic, where INT32_MIN has one.
    auto magnitude = static_cast<uint32_t>(value);
    if (value < 0) {
        magnitude = 0U - magnitude;
        *out++ = '-';
        --width;  // the sign counts towards the width
    }
    char digits[10];
    int32_t count = 0;  // [1, 10]
    do {
        digits[count++] = static_cast<char>('0' + magnitude % 10);
        magnitude /= 10;
    } while (magnitude != 0);
    for (int32_t pad = width - count; pad > 0; --pad)
        *out++ = '0';
    while (count > 0)
        *out++ = digits[--count];
    return out;
}
