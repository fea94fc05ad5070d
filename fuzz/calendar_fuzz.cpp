// Dates through the calendar routines, checked against the standard library's
// civil calendar: the same dates are valid, and valid dates have the same
// distances and weekdays, and their day numbers give them back. Most inputs are made into valid dates (a year of 1-9999, a month
// of 1-12, a day of 1-31), so that most reach days_between; one input in
// eight keeps its raw integers to try validity on anything.

#include "date/calendar.h"

#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

using spanlet::date;

date take_date(const uint8_t*& data, bool raw) {
    int32_t fields[3];
    std::memcpy(fields, data, sizeof fields);
    data += sizeof fields;
    if (raw)
        return {fields[0], fields[1], fields[2]};
    const auto in = [](int32_t value, uint32_t count) {
        return static_cast<int32_t>(static_cast<uint32_t>(value) % count) + 1;
    };
    return {in(fields[0], 9999), in(fields[1], 12), in(fields[2], 31)};
}

bool oracle_valid(const date& d) {
    if (d.month < 1 || d.month > 12 || d.day < 1 || d.day > 31 || d.year < spanlet::FIRST_YEAR ||
        d.year > spanlet::LAST_YEAR)
        return false;
    const std::chrono::year_month_day ymd{std::chrono::year{d.year},
                                          std::chrono::month{static_cast<unsigned>(d.month)},
                                          std::chrono::day{static_cast<unsigned>(d.day)}};
    return ymd.ok();
}

int32_t oracle_days(const date& d) {
    const std::chrono::year_month_day ymd{std::chrono::year{d.year},
                                          std::chrono::month{static_cast<unsigned>(d.month)},
                                          std::chrono::day{static_cast<unsigned>(d.day)}};
    return static_cast<int32_t>(std::chrono::sys_days{ymd}.time_since_epoch().count());
}

void require(bool property, const char* what, const date& a, const date& b) {
    if (!property) {
        std::fprintf(stderr, "property broken: %s, for %d-%d-%d and %d-%d-%d\n", what,
                     static_cast<int>(a.year), static_cast<int>(a.month), static_cast<int>(a.day),
                     static_cast<int>(b.year), static_cast<int>(b.month), static_cast<int>(b.day));
        std::abort();
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 1 + 6 * sizeof(int32_t))
        return 0;
    const bool raw = (data[0] & 7) == 0;
    ++data;
    const date first = take_date(data, raw);
    const date second = take_date(data, raw);

    const bool first_valid = spanlet::is_valid_date(first);
    const bool second_valid = spanlet::is_valid_date(second);
    require(first_valid == oracle_valid(first), "validity agrees", first, second);
    require(second_valid == oracle_valid(second), "validity agrees", second, first);
    if (!first_valid || !second_valid)
        return 0;

    require(spanlet::days_between(first, second) == oracle_days(first) - oracle_days(second),
            "distance agrees", first, second);
    require(spanlet::date_of_day_number(spanlet::day_number(first)) == first, "a day number's date is the date",
            first, second);
    const std::chrono::weekday weekday{std::chrono::sys_days{std::chrono::days{oracle_days(first)}}};
    require(spanlet::iso_weekday(spanlet::day_number(first)) == static_cast<int32_t>(weekday.iso_encoding()),
            "the weekday agrees", first, second);
    return 0;
}
