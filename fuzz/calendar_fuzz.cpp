// Arbitrary integer triples through the calendar routines, checked against the
// standard library's civil calendar: the same dates are valid, and valid dates
// have the same distances.

#include "date/calendar.h"

#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

struct triple {
    int32_t month, day, year;
};

triple take_triple(const uint8_t*& data) {
    triple t{};
    std::memcpy(&t, data, sizeof t);
    data += sizeof t;
    return t;
}

bool oracle_valid(const triple& t) {
    if (t.month < 1 || t.month > 12 || t.day < 1 || t.day > 31 || t.year < FIRST_YEAR ||
        t.year > LAST_YEAR)
        return false;
    const std::chrono::year_month_day date{std::chrono::year{t.year},
                                           std::chrono::month{static_cast<unsigned>(t.month)},
                                           std::chrono::day{static_cast<unsigned>(t.day)}};
    return date.ok();
}

int32_t oracle_days(const triple& t) {
    const std::chrono::year_month_day date{std::chrono::year{t.year},
                                           std::chrono::month{static_cast<unsigned>(t.month)},
                                           std::chrono::day{static_cast<unsigned>(t.day)}};
    return static_cast<int32_t>(std::chrono::sys_days{date}.time_since_epoch().count());
}

void require(bool property, const char* what, const triple& a, const triple& b) {
    if (!property) {
        std::fprintf(stderr, "property broken: %s, for %d/%d/%d and %d/%d/%d\n", what,
                     static_cast<int>(a.month), static_cast<int>(a.day), static_cast<int>(a.year),
                     static_cast<int>(b.month), static_cast<int>(b.day), static_cast<int>(b.year));
        std::abort();
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 2 * sizeof(triple))
        return 0;
    const triple first = take_triple(data);
    const triple second = take_triple(data);

    const bool first_valid = is_valid_date(first.month, first.day, first.year);
    const bool second_valid = is_valid_date(second.month, second.day, second.year);
    require(first_valid == oracle_valid(first), "validity agrees", first, second);
    require(second_valid == oracle_valid(second), "validity agrees", second, first);
    if (!first_valid || !second_valid)
        return 0;

    const int32_t days = days_between(first.month, first.day, first.year,
                                      second.month, second.day, second.year);
    require(days == oracle_days(first) - oracle_days(second), "distance agrees", first, second);
    return 0;
}
