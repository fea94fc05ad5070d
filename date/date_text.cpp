#include "date/date_text.h"

#include <algorithm>
#include <cstring>

#include "date/date_scan.h"

namespace spanlet {
namespace {

// Character classes of the C locale's isdigit and isspace. Bytes outside 7-bit
// ASCII are neither.
constexpr bool is_digit(char c) { return c >= '0' && c <= '9'; }
constexpr bool is_space(char c) { return c == ' ' || (c >= '\t' && c <= '\r'); }

// ---- normalising -------------------------------------------------------------

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

namespace {

// @SECONDS: Unix time, optionally negative, and nothing else.
date_reading read_instant(std::string_view text, const reading_options& options) {
    constexpr int64_t SECONDS_A_DAY = int64_t{24} * 60 * 60;
    constexpr int64_t EPOCH = day_number({1970, 1, 1});
    // Beyond these the date is outside 1400-9999 whatever the time zone:
    // no zone is two days away from UTC.
    constexpr int64_t EARLIEST = (day_number({FIRST_READ_YEAR, 1, 1}) - 2 - EPOCH) * SECONDS_A_DAY;
    constexpr int64_t LATEST = (day_number({LAST_READ_YEAR, 12, 31}) + 2 - EPOCH) * SECONDS_A_DAY;
    const date nothing{1900, 0, 0};
    size_t at = 1;
    const bool negative = at < text.size() && text[at] == '-';
    at += negative ? 1 : 0;
    if (at == text.size())
        return {refusal::not_a_date, nothing, {}};
    int64_t magnitude = 0;  // saturates past the range
    for (; at < text.size(); ++at) {
        if (!is_digit(text[at]))
            return {refusal::not_a_date, nothing, {}};
        magnitude = std::min<int64_t>(magnitude * 10 + (text[at] - '0'), LATEST + 1);
    }
    const int64_t seconds = negative ? -magnitude : magnitude;
    if (seconds < EARLIEST)
        return {refusal::year_before_range, nothing, {}};
    if (seconds > LATEST)
        return {refusal::year_after_range, nothing, {}};
    date local{};
    if (options.local_date_of == nullptr || !options.local_date_of(seconds, local))
        return {refusal::instant_unknown, nothing, {}};
    const refusal reason = reason_for_fields(local);
    return {reason, reason == refusal::none ? local : nothing, local};
}

// "yesterday", "today", "tomorrow": `days` from the caller's today.
date_reading read_relative_day(int32_t days, const reading_options& options) {
    const date nothing{1900, 0, 0};
    if (options.today == nullptr || !is_valid_date(*options.today))
        return {refusal::today_unknown, nothing, {}};
    const date named = date_of_day_number(day_number(*options.today) + days);
    const refusal reason = reason_for_fields(named);
    return {reason, reason == refusal::none ? named : nothing, named};
}

}  // namespace

date_reading read_date_general(std::string_view text, const reading_options& options) {
    const int32_t relative = relative_day(text);
    if (relative != RELATIVE_NONE)
        return read_relative_day(relative, options);
    if (!text.empty() && text[0] == '@')
        return read_instant(text, options);

    char working[WORKING_TEXT_SIZE];
    const normalized found = normalize_date_text(text, options.order, working);
    const date value = read_date_fields(working);
    date_reading reading{found.reason, value, found.fields, found.weekday, found.day_first_hint};
    if (found.reason != refusal::none)
        return reading;
    if (value == found.fields && is_valid_date(value)) {
        if (found.weekday != 0 && iso_weekday(day_number(value)) != found.weekday)
            reading.reason = refusal::wrong_weekday;
        return reading;
    }
    const refusal reason = reason_for_fields(found.fields);
    reading.reason = reason == refusal::none ? refusal::not_a_date : reason;
    return reading;
}

int32_t relative_name(std::string_view text) {
    constexpr std::string_view NAMES[3] = {"yesterday", "today", "tomorrow"};
    for (int32_t i = 0; i < 3; ++i) {
        const std::string_view name = NAMES[i];
        if (text.size() != name.size())
            continue;
        bool same = true;
        for (size_t k = 0; k < name.size() && same; ++k)
            same = (text[k] | 0x20) == name[k];
        if (same)
            return i - 1;
    }
    return RELATIVE_NONE;
}

normalized normalize_date_text(std::string_view text, field_order order,
                               char (&working)[WORKING_TEXT_SIZE]) {
    int32_t weekday = 0;
    normalized found = scan::find_date(text, order, weekday);
    found.weekday = weekday;

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
