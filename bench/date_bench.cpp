// Cost of the date routines per call, as a program embedding them sees it.

#include "date/calendar.h"
#include "date/date_text.h"

#include <benchmark/benchmark.h>

#include <cstdint>
#include <cstdio>
#include <string>
#include <string_view>

namespace {

// A mix of the spellings people write, both orders, two- and four-digit years.
const std::string_view MIXED_DATES[] = {
    "2010-08-10", "08/10/2010", "2010/8/1",   "8-1-10",     "99/08/10",
    "12-31-1999", "2026.12.09", "1850-01-01", "02-29-2004", "2010-08-10T12:34:56",
    "1400-01-01", "9999-12-31", "01/02/03",   "07.04.1776", " 2000-02-29",
};
constexpr size_t MIXED_COUNT = sizeof MIXED_DATES / sizeof MIXED_DATES[0];

// Two date texts read and their difference taken, as the program does for
// one pair. The texts are string views, as the caller has their lengths.
void read_pairs(benchmark::State& state, const std::string_view* texts, size_t count) {
    size_t first = 0;
    size_t second = 7 % count;
    for (auto _ : state) {
        const spanlet::date_reading a = spanlet::read_date(texts[first]);
        const spanlet::date_reading b = spanlet::read_date(texts[second]);
        benchmark::DoNotOptimize(spanlet::days_between(a.value, b.value));
        first = first + 1 == count ? 0 : first + 1;
        second = second + 1 == count ? 0 : second + 1;
    }
    state.SetItemsProcessed(state.iterations());
}

void BM_ReadPairAndDifference(benchmark::State& state) {
    read_pairs(state, MIXED_DATES, MIXED_COUNT);
}
BENCHMARK(BM_ReadPairAndDifference);

// The exact spelling YYYY-MM-DD, which takes the fast path.
const std::string_view CANONICAL_DATES[] = {
    "2010-08-10", "2010-01-01", "1999-12-31", "2026-12-09", "1400-01-01", "9999-12-31",
    "2000-02-29", "1850-07-04", "2024-06-30", "1969-07-20", "2038-01-19", "1582-10-15",
};
constexpr size_t CANONICAL_COUNT = sizeof CANONICAL_DATES / sizeof CANONICAL_DATES[0];

void BM_ReadCanonicalPairAndDifference(benchmark::State& state) {
    read_pairs(state, CANONICAL_DATES, CANONICAL_COUNT);
}
BENCHMARK(BM_ReadCanonicalPairAndDifference);

// Reading alone: linear in the length of the text. The argument is the
// length; the date sits at its end, behind leading zeros.
void BM_ReadByLength(benchmark::State& state) {
    const auto length = static_cast<size_t>(state.range(0));
    const std::string text = std::string(length - 10, '0') + "2010-08-10";
    for (auto _ : state)
        benchmark::DoNotOptimize(spanlet::read_date(text));
    state.SetComplexityN(state.range(0));
}
BENCHMARK(BM_ReadByLength)->RangeMultiplier(10)->Range(10, 100000)->Complexity(benchmark::oN);

// A day number alone, across a century around the argument's year: the cost
// does not depend on the year.
void BM_DayNumber(benchmark::State& state) {
    const auto base_year = static_cast<int32_t>(state.range(0));
    int32_t n = 0;
    for (auto _ : state) {
        const int32_t month = n % 12 + 1;
        const int32_t day = n % 28 + 1;
        const int32_t year = base_year + n % 100;
        benchmark::DoNotOptimize(spanlet::day_number({year, month, day}));
        ++n;
    }
}
BENCHMARK(BM_DayNumber)->Arg(1400)->Arg(2000)->Arg(9800);

void BM_IsValidDate(benchmark::State& state) {
    int32_t n = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(spanlet::is_valid_date({1900 + n % 200, n % 14, n % 33}));
        ++n;
    }
}
BENCHMARK(BM_IsValidDate);

}  // namespace

BENCHMARK_MAIN();
