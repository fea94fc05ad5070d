#include "date/date_text.h"

#include <algorithm>
#include <cstring>

namespace spanlet {
namespace {

// Character classes of the C locale's isdigit and isspace. Bytes outside 7-bit
// ASCII are neither.
constexpr bool is_digit(char c) { return c >= '0' && c <= '9'; }
constexpr bool is_space(char c) { return c == ' ' || (c >= '\t' && c <= '\r'); }
constexpr bool is_ascii_letter(char c) { return (c | 0x20) >= 'a' && (c | 0x20) <= 'z'; }
constexpr bool is_ascii(char c) { return static_cast<unsigned char>(c) < 0x80; }

// ---- normalising -------------------------------------------------------------

int32_t digits_value(const char* at, int32_t count) {
    int32_t value = 0;
    for (int32_t i = 0; i < count; ++i)
        value = value * 10 + (at[i] - '0');
    return value;
}

constexpr size_t MIN_DATE_LENGTH = 6;
constexpr size_t ISO_BASIC_LENGTH = 8;  // YYYYMMDD

// The first non-digit in [from, end), or end.
const char* skip_digits(const char* from, const char* end) {
    while (from != end && is_digit(*from))
        ++from;
    return from;
}

// One of the three numbers of a date text, read as atoi reads it.
struct number {
    int32_t value;      // saturating
    size_t digits;      // as written, leading zeros included
    bool negative;
    const char* after;  // the first character after the digits
};

number read_number(const char* begin, const char* end) {
    while (begin != end && is_space(*begin))
        ++begin;
    const bool negative = begin != end && *begin == '-';
    if (begin != end && (*begin == '-' || *begin == '+'))
        ++begin;
    const char* digit = begin;
    int64_t value = 0;  // [0, INT32_MAX]: saturates
    for (; digit != end && is_digit(*digit); ++digit)
        value = std::min<int64_t>(value * 10 + (*digit - '0'), INT32_MAX);
    return {static_cast<int32_t>(value), static_cast<size_t>(digit - begin), negative, digit};
}

// The three numbers of [text, end), split at its first two separators. A
// number's first character is never a separator, so it may be a sign or a
// blank; the third runs to the end. False when a scan for a separator reaches
// the end.
bool split_numbers(const char* text, const char* end, number (&numbers)[3]) {
    const char* first_separator = skip_digits(text + 1, end);
    if (first_separator == end || first_separator + 1 == end)
        return false;
    const char* second_separator = skip_digits(first_separator + 2, end);
    if (second_separator == end)
        return false;
    numbers[0] = read_number(text, first_separator);
    numbers[1] = read_number(first_separator + 1, second_separator);
    numbers[2] = read_number(second_separator + 1, end);
    return true;
}

// A letter right after the last number is a typo, unless it is T alone or T
// before a digit: the time of an ISO 8601 date and time, or its empty start.
bool letter_follows(const char* after, const char* end) {
    if (after == end || (!is_ascii_letter(*after) && is_ascii(*after)))
        return false;
    const bool time_follows = (*after == 'T' || *after == 't') && (after + 1 == end || is_digit(after[1]));
    return !time_follows;
}

// A year written with one or two digits: 00-50 are 2000-2050, 51-99 are
// 1951-1999.
constexpr int32_t TWO_DIGIT_YEAR_PIVOT = 50;
int32_t widen_year(const number& year) {
    if (year.digits > 2)
        return year.value;
    return year.value + (year.value <= TWO_DIGIT_YEAR_PIVOT ? 2000 : 1900);
}

// Eight digits alone, or followed by T and anything: YYYYMMDD.
bool is_iso_basic(std::string_view text) {
    if (text.size() < ISO_BASIC_LENGTH)
        return false;
    for (size_t i = 0; i < ISO_BASIC_LENGTH; ++i) {
        if (!is_digit(text[i]))
            return false;
    }
    return text.size() == ISO_BASIC_LENGTH || text[ISO_BASIC_LENGTH] == 'T' ||
           text[ISO_BASIC_LENGTH] == 't';
}

// The numbers of a separated text in date order, or the reason it has none.
refusal order_numbers(const char* text, const char* end, field_order order, date& fields) {
    number numbers[3];
    if (static_cast<size_t>(end - text) < MIN_DATE_LENGTH || !split_numbers(text, end, numbers))
        return refusal::not_a_date;
    for (const number& n : numbers) {
        if (n.digits == 0)
            return refusal::missing_digits;
        if (n.negative)
            return refusal::negative_number;
    }
    if (letter_follows(numbers[2].after, end))
        return refusal::letter_after_date;

    // No month or day is written with three digits or exceeds the pivot.
    if (numbers[0].digits >= 3 || numbers[0].value > TWO_DIGIT_YEAR_PIVOT) {
        fields = {widen_year(numbers[0]), numbers[1].value, numbers[2].value};
    } else {
        const bool day_first = order == field_order::day_first;
        fields = {widen_year(numbers[2]), numbers[day_first ? 1 : 0].value,
                  numbers[day_first ? 0 : 1].value};
    }
    return refusal::none;
}

refusal reason_for_fields(const date& fields) {
    if (fields.year < FIRST_READ_YEAR)
        return refusal::year_before_range;
    if (fields.year > LAST_READ_YEAR)
        return refusal::year_after_range;
    if (fields.month < 1 || fields.month > 12)
        return refusal::no_such_month;
    if (!is_valid_date(fields))
        return refusal::no_such_day;
    return refusal::none;
}

// `value` in exactly two or four digits at `out`: 0-99, 0-9999.
char* write_two_digits(char* out, int32_t value) {
    out[0] = static_cast<char>('0' + value / 10);
    out[1] = static_cast<char>('0' + value % 10);
    return out + 2;
}
char* write_four_digits(char* out, int32_t value) {
    return write_two_digits(write_two_digits(out, value / 100), value % 100);
}

// Only a year of 1400-9999 and a month and a day of 0-99 get here, so every
// field has its fixed width.
void write_canonical_text(char (&working)[WORKING_TEXT_SIZE], const date& fields) {
    // A month or a day of 0 writes year 0, which no date has.
    const int32_t year = fields.month == 0 || fields.day == 0 ? 0 : fields.year;
    char* out = write_four_digits(working, year);
    *out++ = '/';
    out = write_two_digits(out, fields.month);
    *out++ = '/';
    out = write_two_digits(out, fields.day);
    *out = '\0';
}

// ---- reading -----------------------------------------------------------------

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

// As atoi over at most four characters of the head, where no value can
// overflow.
int32_t parse_at(const text_head& head, int8_t position, int8_t width) {
    const char* at = head.at + position;
    const char* const end = at + width;
    while (at != end && is_space(*at))
        ++at;
    const bool negative = at != end && *at == '-';
    if (at != end && (*at == '-' || *at == '+'))
        ++at;
    int32_t value = 0;  // [0, 9999]
    for (; at != end && is_digit(*at); ++at)
        value = value * 10 + (*at - '0');
    return negative ? -value : value;
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
    const int32_t leading = parse_at(head, 0, 2);

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


}  // namespace

date_reading read_date_general(std::string_view text, const reading_options& options) {
    if (names_today(text)) {
        if (options.today == nullptr)
            return {refusal::today_unknown, {1900, 0, 0}, {}};
        return {refusal::none, *options.today, *options.today};
    }

    char working[WORKING_TEXT_SIZE];
    const normalized found = normalize_date_text(text, options.order, working);
    const date value = read_date_fields(working);
    if (found.reason != refusal::none)
        return {found.reason, value, found.fields};
    if (value == found.fields && is_valid_date(value))
        return {refusal::none, value, found.fields};
    const refusal reason = reason_for_fields(found.fields);
    return {reason == refusal::none ? refusal::not_a_date : reason, value, found.fields};
}

bool names_today(std::string_view text) {
    constexpr std::string_view TODAY = "today";
    if (text.size() != TODAY.size())
        return false;
    for (size_t i = 0; i < TODAY.size(); ++i) {
        if ((text[i] | 0x20) != TODAY[i])
            return false;
    }
    return true;
}

normalized normalize_date_text(std::string_view text, field_order order,
                               char (&working)[WORKING_TEXT_SIZE]) {
    normalized found{refusal::none, {}};
    if (is_iso_basic(text)) {
        const char* at = text.data();
        found.fields = {digits_value(at, 4), digits_value(at + 4, 2), digits_value(at + 6, 2)};
    } else {
        found.reason = order_numbers(text.data(), text.data() + text.size(), order, found.fields);
    }

    // The canonical text must read back as the date found: a year of four
    // digits, a month and a day of at most two. What does not fit is refused
    // here; a month of 13 or a day of 40 fits, and the reader's date is then
    // found to be no date.
    if (found.reason == refusal::none) {
        const date& f = found.fields;
        if (f.year < FIRST_READ_YEAR || f.year > LAST_READ_YEAR || f.month > 99 || f.day > 99)
            found.reason = reason_for_fields(f);
    }
    if (found.reason == refusal::none)
        write_canonical_text(working, found.fields);
    else
        std::memcpy(working, SIX_SPACES, sizeof SIX_SPACES);
    return found;
}

int32_t detect_date_layout(const char* text) {
    return layout_of(head_of(text));
}

// A text of the form YYYY?MM?DD whose year leads with 14 or more - every
// canonical text of a date - has layout 14 (separated, length 10, a
// four-digit year first), and its fields are its digits: read them directly.
bool read_year_first_digits(const char* text, date& out) {
    // In order, so that a terminator stops the look before anything past it.
    for (size_t i = 0; i < HEAD_LENGTH; ++i) {
        const bool separator = i == 4 || i == 7;
        if (separator ? text[i] == '\0' || (i == 4 && is_digit(text[i])) : !is_digit(text[i]))
            return false;
    }
    const auto digit = [text](size_t i) { return text[i] - '0'; };
    if (digit(0) * 10 + digit(1) <= 13)
        return false;
    out = {digit(0) * 1000 + digit(1) * 100 + digit(2) * 10 + digit(3), digit(5) * 10 + digit(6),
           digit(8) * 10 + digit(9)};
    return true;
}

date read_date_fields(const char* text) {
    date direct{};
    if (read_year_first_digits(text, direct))
        return direct;
    const text_head head = head_of(text);
    const field_positions& fields = LAYOUT_FIELDS[layout_of(head) / 2];
    const int32_t year = parse_at(head, fields.year, fields.year_width);  // [-999, 9999]
    return {year < 100 ? year + 1900 : year, parse_at(head, fields.month, 2),
            parse_at(head, fields.day, 2)};
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

}  // namespace spanlet
