#include "date/date_scan.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>

#include "date/calendar.h"
#include "date/names.h"

namespace spanlet::scan {
namespace {

constexpr bool is_digit(char c) { return c >= '0' && c <= '9'; }
constexpr bool is_blank(char c) { return c == ' ' || c == '\t'; }
constexpr bool is_letter(char c) { return (c | 0x20) >= 'a' && (c | 0x20) <= 'z'; }
constexpr bool is_ascii(char c) { return static_cast<unsigned char>(c) < 0x80; }
constexpr char lower(char c) { return is_letter(c) ? static_cast<char>(c | 0x20) : c; }

constexpr std::string_view EN_DASH = "\xE2\x80\x93";
// Windows hands a program its arguments in code page 1252, where the en dash
// is this one byte, which UTF-8 never has alone.
constexpr char WINDOWS_EN_DASH = '\x96';
constexpr size_t MIN_NUMERIC_LENGTH = 6;  // a numeric date of three numbers
constexpr int32_t TWO_DIGIT_YEAR_PIVOT = 50;

// One table of names serves every spelling: a name is read whole or by its
// first three letters, in any case.
constexpr size_t ABBREVIATION = NAME_ABBREVIATION;

// The first three letters, in lower case, as one number: they tell every
// name of a table from the others.
constexpr uint32_t key_of(const char* letters) {
    return static_cast<uint32_t>(static_cast<unsigned char>(lower(letters[0]))) |
           static_cast<uint32_t>(static_cast<unsigned char>(lower(letters[1]))) << 8 |
           static_cast<uint32_t>(static_cast<unsigned char>(lower(letters[2]))) << 16;
}

// A table of names and the key of each.
template <size_t N>
struct name_table {
    const std::string_view (&names)[N];
    uint32_t keys[N];
};
template <size_t N>
constexpr name_table<N> table_of(const std::string_view (&names)[N]) {
    name_table<N> table{names, {}};
    for (size_t i = 0; i < N; ++i)
        table.keys[i] = key_of(names[i].data());
    return table;
}
constexpr auto MONTHS = table_of(MONTH_NAMES);
constexpr auto WEEKDAYS = table_of(WEEKDAY_NAMES);

// The text still to read.
struct cursor {
    const char* at;
    const char* end;

    [[nodiscard]] bool done() const { return at == end; }
    // The byte `ahead` places on, or '\0' past the end ('\0' is neither a
    // digit, a letter nor a blank).
    [[nodiscard]] char peek(size_t ahead = 0) const {
        return ahead < static_cast<size_t>(end - at) ? at[ahead] : '\0';
    }
    [[nodiscard]] bool starts_with(std::string_view s) const {
        return static_cast<size_t>(end - at) >= s.size() && std::equal(s.begin(), s.end(), at);
    }
    void skip_blanks() {
        while (at != end && is_blank(*at))
            ++at;
    }
    bool take(char c) {
        if (at == end || *at != c)
            return false;
        ++at;
        return true;
    }
};

// One number of a date: blanks, a sign, digits.
struct number {
    int32_t value = 0;   // saturating at INT32_MAX
    size_t digits = 0;   // as written, leading zeros included
    bool negative = false;
    bool bare = true;    // nothing before the digits
};

number read_number(cursor& c) {
    number n;
    const char* at = c.at;
    while (at != c.end && is_blank(*at))
        ++at;
    if (at != c.end && (*at == '-' || *at == '+')) {
        n.negative = *at == '-';
        ++at;
    }
    n.bare = at == c.at;
    const char* const digits = at;
    uint64_t value = 0;  // [0, INT32_MAX]: saturates
    for (; at != c.end && is_digit(*at); ++at)
        value = std::min<uint64_t>(value * 10 + static_cast<uint64_t>(*at - '0'), INT32_MAX);
    n.digits = static_cast<size_t>(at - digits);
    n.value = static_cast<int32_t>(value);
    c.at = at;
    return n;
}

// Exactly `count` digits at the cursor, read; -1 when they are not there.
int32_t read_digits(cursor& c, size_t count) {
    int32_t value = 0;
    for (size_t i = 0; i < count; ++i) {
        if (!is_digit(c.peek(i)))
            return -1;
        value = value * 10 + (c.peek(i) - '0');
    }
    c.at += count;
    return value;
}

int32_t widen_year(const number& year) {
    if (year.digits > 2)
        return year.value;
    return year.value + (year.value <= TWO_DIGIT_YEAR_PIVOT ? 2000 : 1900);
}

// The separator at the cursor: one character that is not a digit, a letter
// or ':' (a colon parts a time, never a date), or an en dash (in UTF-8 or in
// code page 1252). Empty when there is none.
std::string_view separator_at(const cursor& c) {
    if (c.done())
        return {};
    const char ch = *c.at;
    if (is_ascii(ch))
        return is_digit(ch) || is_letter(ch) || ch == ':' ? std::string_view() : std::string_view(c.at, 1);
    if (ch == WINDOWS_EN_DASH)
        return {c.at, 1};
    return c.starts_with(EN_DASH) ? std::string_view(c.at, EN_DASH.size()) : std::string_view();
}

// The name of `names` at the cursor, read: its number from 1, or 0 when
// the letters there are no such name. `abbreviated` says whether it was
// shortened.
template <size_t N>
int32_t read_name(cursor& c, const name_table<N>& table, bool& abbreviated) {
    size_t length = 0;
    while (is_letter(c.peek(length)))
        ++length;
    if (length < ABBREVIATION)
        return 0;
    const uint32_t written = key_of(c.at);
    for (size_t i = 0; i < N; ++i) {
        if (table.keys[i] != written)
            continue;
        const std::string_view name = table.names[i];
        // "Sept" is written as often as "Sep".
        const bool sept = length == 4 && name == "september" && lower(c.at[3]) == 't';
        bool whole = length == name.size();
        for (size_t k = ABBREVIATION; k < length && whole; ++k)
            whole = lower(c.at[k]) == name[k];
        if (!(whole || sept || length == ABBREVIATION))
            return 0;
        c.at += length;
        abbreviated = !whole;
        return static_cast<int32_t>(i + 1);
    }
    return 0;
}

// A time at the cursor, H:MM, HH:MM:SS or with a fraction, and a blank or
// the end after it, read.
bool read_time(cursor& c) {
    cursor t = c;
    const size_t hour_digits = is_digit(t.peek(1)) ? 2 : 1;
    if (read_digits(t, hour_digits) < 0 || !t.take(':') || read_digits(t, 2) < 0)
        return false;
    if (t.peek() == ':' && is_digit(t.peek(1)) && is_digit(t.peek(2))) {
        ++t.at;
        read_digits(t, 2);
        if ((t.peek() == '.' || t.peek() == ',') && is_digit(t.peek(1))) {
            ++t.at;
            while (is_digit(t.peek()))
                ++t.at;
        }
    }
    if (!t.done() && !is_blank(t.peek()))
        return false;
    c = t;
    return true;
}

// A zone at the cursor, Z, UTC, GMT, +HHMM, -HHMM, +HH:MM or -HH:MM, read.
bool read_zone(cursor& c) {
    if (c.peek() == 'Z' || c.peek() == 'z') {
        ++c.at;
        return true;
    }
    if (c.starts_with("UTC") || c.starts_with("GMT")) {
        c.at += 3;
        return true;
    }
    if (c.peek() != '+' && c.peek() != '-')
        return false;
    cursor z{c.at + 1, c.end};
    if (read_digits(z, 2) < 0)
        return false;
    z.take(':');
    if (read_digits(z, 2) < 0)
        return false;
    c = z;
    return true;
}

// Whether what follows the last number of a date may follow it: nothing;
// blanks; T alone; T or ':' before a digit (a time) and anything; blanks,
// then a time (one or two digits and ':') and anything; or, with or without
// blanks before it, a zone, then nothing, or blanks and anything.
bool ends_well(cursor c) {
    if (c.done())
        return true;
    const char next = c.peek(1);
    if ((c.peek() == 'T' || c.peek() == 't') && (c.at + 1 == c.end || is_digit(next)))
        return true;
    if (c.peek() == ':' && is_digit(next))
        return true;
    const char* before_blanks = c.at;
    c.skip_blanks();
    if (c.done())
        return true;
    const bool time_follows =
        is_digit(c.peek()) && (c.peek(1) == ':' || (is_digit(c.peek(1)) && c.peek(2) == ':'));
    if (c.at != before_blanks && time_follows)
        return true;
    return read_zone(c) && (c.done() || is_blank(c.peek()));
}

normalized refused(refusal why) { return {why, {}}; }

normalized found(const date& fields, const cursor& rest) {
    if (!ends_well(rest))
        return refused(refusal::not_a_time_after);
    return {refusal::none, fields};
}

// A week date, checked and turned into its month and day.
normalized week_date(int32_t year, int32_t week, int32_t weekday, const cursor& rest) {
    if (!ends_well(rest))
        return refused(refusal::not_a_time_after);
    if (year < FIRST_READ_YEAR)
        return refused(refusal::year_before_range);
    if (week < 1 || week > iso_weeks_in_year(year))
        return {refusal::no_such_week, {year, week, 0}};
    if (weekday < 1 || weekday > DAYS_IN_WEEK)
        return {refusal::no_such_weekday, {year, week, weekday}};
    return {refusal::none, date_of_day_number(iso_week_date(year, week, weekday))};
}

normalized ordinal_date(int32_t year, int32_t day_of_year, const cursor& rest) {
    if (!ends_well(rest))
        return refused(refusal::not_a_time_after);
    if (year < FIRST_READ_YEAR)
        return refused(refusal::year_before_range);
    if (day_of_year < 1 || day_of_year > days_in_year(year))
        return {refusal::no_such_year_day, {year, 0, day_of_year}};
    return {refusal::none, date_of_day_number(day_number({year, 1, 1}) + day_of_year - 1)};
}

// After YYYY and W: two digits of the week, then the weekday (after '-' in
// the extended form), or nothing: a week, not a day.
normalized week_after_w(int32_t year, cursor& c, bool extended) {
    const int32_t week = read_digits(c, 2);
    if (week < 0)
        return refused(refusal::not_a_date);
    if (extended && !c.take('-'))
        return ends_well(c) ? refused(refusal::week_not_day) : refused(refusal::not_a_time_after);
    if (!is_digit(c.peek()))
        return ends_well(c) ? refused(refusal::week_not_day) : refused(refusal::not_a_time_after);
    const int32_t weekday = read_digits(c, 1);
    return week_date(year, week, weekday, c);
}

// An abbreviated month name may have a dot after it, unless the dot is the
// separator that follows.
void skip_abbreviation_dot(cursor& c, bool abbreviated, std::string_view separator) {
    if (abbreviated && c.peek() == '.' && separator != ".")
        ++c.at;
}

// The second separator must be the first one again.
bool take_separator(cursor& c, std::string_view separator) {
    if (separator.empty() || c.peek() != separator[0] || !c.starts_with(separator))
        return false;
    c.at += separator.size();
    return true;
}

// Day month year and year month day with a month name: 10 Aug 2010,
// 10-AUG-10, 10AUG2010, 2010-Aug-10, 2010 Aug 10. The cursor is on the name.
normalized with_month_name_second(const number& first, std::string_view separator, cursor& c) {
    bool abbreviated = false;
    const int32_t month = read_name(c, MONTHS, abbreviated);
    if (month == 0)
        return refused(refusal::not_a_date);
    const bool year_first = first.digits >= 3 || first.value > TWO_DIGIT_YEAR_PIVOT;
    skip_abbreviation_dot(c, abbreviated, separator);
    if (separator.empty() ? !is_digit(c.peek()) : !take_separator(c, separator)) {
        cursor rest = c;
        rest.skip_blanks();
        return refused(!year_first && rest.done() ? refusal::no_year : refusal::not_a_date);
    }
    const number third = read_number(c);
    if (third.digits == 0)
        return refused(refusal::missing_digits);
    if (third.negative)
        return refused(refusal::negative_number);
    if (year_first) {
        if (third.digits > 2)
            return refused(refusal::not_a_date);
        return found({widen_year(first), month, third.value}, c);
    }
    // A short number followed by ':' is the hour of a time, not a year.
    if (third.digits <= 2 && c.peek() == ':')
        return refused(refusal::no_year);
    return found({widen_year(third), month, first.value}, c);
}

// Why a day written with a month name is no day: none, or missing digits,
// a sign, more than two digits.
refusal day_refusal(const number& day) {
    if (day.digits == 0)
        return refusal::missing_digits;
    if (day.negative)
        return refusal::negative_number;
    return day.digits > 2 ? refusal::not_a_date : refusal::none;
}

// The year after the time (Thu Dec 10 02:56:35 UTC 2026), and perhaps a
// zone between them: a word of up to five letters, or an offset. The cursor
// is after the time.
normalized year_after_time(cursor& t, int32_t month, int32_t day) {
    t.skip_blanks();
    cursor zone = t;
    size_t letters = 0;
    while (is_letter(zone.peek(letters)))
        ++letters;
    if (letters > 0 && letters <= 5 && is_blank(zone.peek(letters)))
        t.at += letters;
    else if (read_zone(zone) && is_blank(zone.peek()))
        t = zone;
    const number year = read_number(t);
    if (year.digits == 0)
        return refused(refusal::no_year);
    if (year.negative)
        return refused(refusal::negative_number);
    return found({widen_year(year), month, day}, t);
}

// Month day year with a month name (Aug 10 2010, Aug 10, 2010, Aug. 10,
// 2010), and the forms with the year after the time (Thu Dec 10 02:56:35 UTC
// 2026, Mar  1 12:00:00 2027 GMT). The cursor is on the name.
normalized with_month_name_first(cursor& c) {
    bool abbreviated = false;
    const int32_t month = read_name(c, MONTHS, abbreviated);
    if (month == 0)
        return refused(refusal::not_a_date);
    if (abbreviated && c.peek() == '.' && !is_digit(c.peek(1)))
        ++c.at;
    const std::string_view separator = separator_at(c);
    if (separator.empty())
        return refused(c.done() ? refusal::no_year : refusal::not_a_date);
    c.at += separator.size();
    const number day = read_number(c);
    const refusal bad_day = day_refusal(day);
    if (bad_day != refusal::none)
        return refused(bad_day);
    cursor t = c;
    t.skip_blanks();
    if (t.at != c.at && read_time(t))
        return year_after_time(t, month, day.value);
    const bool comma = c.take(',');
    if (!comma && !take_separator(c, separator)) {
        cursor rest = c;
        rest.skip_blanks();
        return refused(rest.done() ? refusal::no_year : refusal::not_a_date);
    }
    const number year = read_number(c);
    if (year.digits == 0)
        return refused(c.done() ? refusal::no_year : refusal::missing_digits);
    if (year.negative)
        return refused(refusal::negative_number);
    if (year.digits <= 2 && c.peek() == ':')
        return refused(refusal::no_year);
    return found({widen_year(year), month, day.value}, c);
}

// The spellings of digits alone: YYYYMMDD, YYYYDDD, YYYYWwwD. False when
// the first number is none of them.
bool digits_alone(const number& first, cursor& c, normalized& out) {
    cursor whole{c.at - first.digits, c.end};
    if (first.digits == 8) {
        const int32_t year = read_digits(whole, 4);
        const int32_t month = read_digits(whole, 2);
        const int32_t day = read_digits(whole, 2);
        out = found({year, month, day}, whole);
        return true;
    }
    if (first.digits == 7) {
        const int32_t year = read_digits(whole, 4);
        const int32_t day = read_digits(whole, 3);
        out = ordinal_date(year, day, whole);
        return true;
    }
    if (first.digits == 4 && (c.peek() == 'W' || c.peek() == 'w')) {
        ++c.at;
        out = week_after_w(first.value, c, false);
        return true;
    }
    return false;
}

// Three numbers read: the date they name in the order the rules give.
normalized three_numbers(const number& first, const number& second, const number& third, field_order order) {
    // No month or day is written with three digits or exceeds the pivot.
    if (first.digits >= 3 || first.value > TWO_DIGIT_YEAR_PIVOT)
        return {refusal::none, {widen_year(first), second.value, third.value}};
    const bool day_first = order == field_order::day_first;
    normalized result{refusal::none, {widen_year(third), (day_first ? second : first).value,
                                      (day_first ? first : second).value}};
    // A month above 12 that is a real date read day first earns a hint.
    const date swapped{result.fields.year, result.fields.day, result.fields.month};
    result.day_first_hint = !day_first && result.fields.month > 12 && swapped.year >= FIRST_READ_YEAR &&
                            swapped.year <= LAST_READ_YEAR && is_valid_date(swapped);
    return result;
}

// What follows the first number and its separator: a week, a month name or
// two more numbers.
normalized after_first_separator(std::string_view text, const number& first, std::string_view separator,
                                 cursor& c, field_order order) {
    cursor name = c;  // blanks may stand before a month name, as before a number
    name.skip_blanks();
    if (is_letter(name.peek()))
        c = name;
    const bool four_digit_year = first.bare && first.digits == 4 && !first.negative;
    if (four_digit_year && separator == "-" && (c.peek() == 'W' || c.peek() == 'w')) {  // YYYY-Www-D
        ++c.at;
        return week_after_w(first.value, c, true);
    }
    if (is_letter(c.peek())) {
        if (first.negative)
            return refused(refusal::negative_number);
        return with_month_name_second(first, separator, c);
    }
    const number second = read_number(c);
    if (second.digits == 0)
        return refused(refusal::missing_digits);
    if (four_digit_year && separator == "-" && second.bare && second.digits == 3 && !c.starts_with(separator))
        return ordinal_date(first.value, second.value, c);  // YYYY-DDD
    if (!take_separator(c, separator))
        return refused(refusal::not_a_date);
    const number third = read_number(c);
    if (text.size() < MIN_NUMERIC_LENGTH)
        return refused(refusal::not_a_date);
    if (third.digits == 0)
        return refused(refusal::missing_digits);
    if (first.negative || second.negative || third.negative)
        return refused(refusal::negative_number);
    if (!ends_well(c))
        return refused(refusal::not_a_time_after);

    return three_numbers(first, second, third, order);
}

// Every spelling that begins with a number.
normalized with_number_first(std::string_view text, cursor& c, field_order order) {
    const number first = read_number(c);
    if (first.digits == 0)
        return refused(c.done() ? refusal::not_a_date : refusal::missing_digits);
    if (first.bare && !first.negative) {
        normalized alone{};
        if (digits_alone(first, c, alone))
            return alone;
    }
    if (is_letter(c.peek())) {
        // 10AUG2010; 2010Aug10 is no spelling anyone writes.
        if (first.digits > 2 || first.value > TWO_DIGIT_YEAR_PIVOT || first.negative)
            return refused(refusal::not_a_date);
        return with_month_name_second(first, {}, c);
    }
    const std::string_view separator = separator_at(c);
    if (separator.empty())
        return refused(refusal::not_a_date);
    c.at += separator.size();
    return after_first_separator(text, first, separator, c, order);
}

}  // namespace

normalized find_date(std::string_view text, field_order order, int32_t& weekday) {
    cursor c{text.data(), text.data() + text.size()};
    c.skip_blanks();
    weekday = 0;
    if (is_letter(c.peek())) {
        cursor after = c;
        bool abbreviated = false;
        weekday = read_name(after, WEEKDAYS, abbreviated);
        if (weekday != 0) {
            const bool comma = after.take(',');
            const char* before_blanks = after.at;
            after.skip_blanks();
            if (!comma && after.at == before_blanks)
                return refused(refusal::not_a_date);
            c = after;
        }
    }
    // Returned as made, never copied: a copy of the result read back as a
    // whole, just after it was written field by field, stalls the processor.
    return is_letter(c.peek()) ? with_month_name_first(c) : with_number_first(text, c, order);
}

}  // namespace spanlet::scan
