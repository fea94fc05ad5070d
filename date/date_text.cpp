#include "date/date_text.h"

#include <algorithm>

#include "date/date_scan.h"

namespace spanlet {
namespace {

// The C locale's isdigit: bytes outside 7-bit ASCII are no digits.
constexpr bool is_digit(char c) { return c >= '0' && c <= '9'; }

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

// A refusal's row shows the numbers found when each is one it can show as
// written: a year of 1400-9999, a month and a day of 1-99 (13/40/2010);
// otherwise nothing (0/0/1900).
constexpr date NOTHING_SHOWN{1900, 0, 0};
constexpr bool shows_as_written(const date& f) {
    return f.year >= FIRST_READ_YEAR && f.year <= LAST_READ_YEAR && f.month >= 1 && f.month <= 99 && f.day >= 1 &&
           f.day <= 99;
}

// @SECONDS: Unix time, optionally negative, and nothing else.
date_reading read_instant(std::string_view text, const reading_options& options) {
    constexpr int64_t SECONDS_A_DAY = int64_t{24} * 60 * 60;
    constexpr int64_t EPOCH = day_number({1970, 1, 1});
    // Beyond these the date is outside 1400-9999 whatever the time zone:
    // no zone is two days away from UTC.
    constexpr int64_t EARLIEST = (day_number({FIRST_READ_YEAR, 1, 1}) - 2 - EPOCH) * SECONDS_A_DAY;
    constexpr int64_t LATEST = (day_number({LAST_READ_YEAR, 12, 31}) + 2 - EPOCH) * SECONDS_A_DAY;
    size_t at = 1;
    const bool negative = at < text.size() && text[at] == '-';
    at += negative ? 1 : 0;
    if (at == text.size())
        return {refusal::not_a_date, NOTHING_SHOWN, {}};
    int64_t magnitude = 0;  // saturates past the range
    for (; at < text.size(); ++at) {
        if (!is_digit(text[at]))
            return {refusal::not_a_date, NOTHING_SHOWN, {}};
        magnitude = std::min<int64_t>(magnitude * 10 + (text[at] - '0'), LATEST + 1);
    }
    const int64_t seconds = negative ? -magnitude : magnitude;
    if (seconds < EARLIEST)
        return {refusal::year_before_range, NOTHING_SHOWN, {}};
    if (seconds > LATEST)
        return {refusal::year_after_range, NOTHING_SHOWN, {}};
    date local{};
    if (options.local_date_of == nullptr || !options.local_date_of(seconds, local))
        return {refusal::instant_unknown, NOTHING_SHOWN, {}};
    const refusal reason = reason_for_fields(local);
    return {reason, reason == refusal::none ? local : NOTHING_SHOWN, local};
}

// Every other spelling, in one pass: the scanner finds the numbers, the
// calendar checks them.
date_reading read_spelled_date(std::string_view text, field_order order) {
    int32_t weekday = 0;
    const normalized found = scan::find_date(text, order, weekday);
    date_reading reading{found.reason, NOTHING_SHOWN, found.fields, weekday, found.day_first_hint};
    if (found.reason != refusal::none)
        return reading;
    const date& f = found.fields;
    reading.reason = reason_for_fields(f);
    if (shows_as_written(f))
        reading.value = f;
    if (reading.reason == refusal::none && weekday != 0 && iso_weekday(day_number(f)) != weekday)
        reading.reason = refusal::wrong_weekday;
    return reading;
}

// "yesterday", "today", "tomorrow": `days` from the caller's today.
date_reading read_relative_day(int32_t days, const reading_options& options) {
    if (options.today == nullptr || !is_valid_date(*options.today))
        return {refusal::today_unknown, NOTHING_SHOWN, {}};
    const date named = date_of_day_number(day_number(*options.today) + days);
    const refusal reason = reason_for_fields(named);
    return {reason, reason == refusal::none ? named : NOTHING_SHOWN, named};
}

}  // namespace

date_reading read_date_general(std::string_view text, const reading_options& options) {
    const int32_t relative = relative_day(text);
    if (relative != RELATIVE_NONE)
        return read_relative_day(relative, options);
    if (!text.empty() && text[0] == '@')
        return read_instant(text, options);
    return read_spelled_date(text, options.order);
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

}  // namespace spanlet
