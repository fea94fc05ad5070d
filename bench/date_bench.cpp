// Cost of the date routines per call, as a program embedding them sees it.

#include "date/calendar.h"
#include "date/date_text.h"

#include <benchmark/benchmark.h>

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

namespace {

// A mix of the spellings people write, both orders, two- and four-digit years.
const char* const MIXED_DATES[] = {
    "2010-08-10", "08/10/2010", "2010/8/1",   "8-1-10",     "99/08/10",
    "12-31-1999", "2026.12.09", "1850-01-01", "02-29-2004", "2010-08-10T12:34:56",
    "1400-01-01", "9999-12-31", "01/02/03",   "07.04.1776", " 2000-02-29",
};
constexpr size_t MIXED_COUNT = sizeof MIXED_DATES / sizeof MIXED_DATES[0];

struct triple {
    int32_t month, day, year;
};

// What the program does with one argument, in a working text of its size.
triple read_date(const char* text, char* working) {
    std::strcpy(working, text);
    normalize_date_text(working);
    triple t{};
    read_date_fields(working, t.month, t.day, t.year);
    return t;
}

void BM_ReadPairAndDifference(benchmark::State& state) {
    char first_text[64];
    char second_text[64];
    size_t i = 0;
    for (auto _ : state) {
        const triple a = read_date(MIXED_DATES[i % MIXED_COUNT], first_text);
        const triple b = read_date(MIXED_DATES[(i + 7) % MIXED_COUNT], second_text);
        benchmark::DoNotOptimize(days_between(a.month, a.day, a.year, b.month, b.day, b.year));
        ++i;
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_ReadPairAndDifference);

// Normalising alone: linear in the length of the text. The argument is the
// length; the date sits at its end, behind leading zeros.
void BM_NormalizeByLength(benchmark::State& state) {
    const auto length = static_cast<size_t>(state.range(0));
    const std::string text = std::string(length - 10, '0') + "2010-08-10";
    std::vector<char> working(working_text_size(length));
    for (auto _ : state) {
        std::memcpy(working.data(), text.c_str(), length + 1);
        normalize_date_text(working.data());
        benchmark::DoNotOptimize(working.data());
    }
    state.SetComplexityN(state.range(0));
}
BENCHMARK(BM_NormalizeByLength)->RangeMultiplier(10)->Range(10, 100000)->Complexity(benchmark::oN);

// A day number alone, across a century around the argument's year: the cost
// does not depend on the year.
void BM_DayNumber(benchmark::State& state) {
    const auto base_year = static_cast<int32_t>(state.range(0));
    int32_t n = 0;
    for (auto _ : state) {
        const int32_t month = n % 12 + 1;
        const int32_t day = n % 28 + 1;
        const int32_t year = base_year + n % 100;
        benchmark::DoNotOptimize(day_number(month, day, year));
        ++n;
    }
}
BENCHMARK(BM_DayNumber)->Arg(1400)->Arg(2000)->Arg(9800);

void BM_IsValidDate(benchmark::State& state) {
    int32_t n = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(is_valid_date(n % 14, n % 33, 1900 + n % 200));
        ++n;
    }
}
BENCHMARK(BM_IsValidDate);

// The canonical text: the exact formatter against snprintf, for reference.
void write_exact(char* out, int32_t year, int32_t month, int32_t day) {
    char* end = format_padded(out, year, 4);
    *end++ = '/';
    end = format_padded(end, month, 2);
    *end++ = '/';
    *format_padded(end, day, 2) = '\0';
}

void write_snprintf(char* out, int32_t year, int32_t month, int32_t day) {
    std::snprintf(out, 32, "%04d/%02d/%02d", static_cast<int>(year), static_cast<int>(month),
                  static_cast<int>(day));
}

template <void (*write)(char*, int32_t, int32_t, int32_t)>
void BM_CanonicalText(benchmark::State& state) {
    char out[32];
    int32_t n = 0;
    for (auto _ : state) {
        write(out, 1900 + n % 200, n % 12 + 1, n % 28 + 1);
        benchmark::DoNotOptimize(out);
        ++n;
    }
}
BENCHMARK(BM_CanonicalText<write_exact>)->Name("BM_CanonicalText");
BENCHMARK(BM_CanonicalText<write_snprintf>)->Name("BM_CanonicalTextSnprintf");

}  // namespace

BENCHMARK_MAIN();
