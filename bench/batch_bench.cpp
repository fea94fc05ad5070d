// Batch mode in process: spanlet -n -f FILE over files of 1,000 to 10 million
// lines, answers to /dev/null. The cost a line should not change with the
// number of lines (bench/batch.sh measures the whole program, and memory).

#include <benchmark/benchmark.h>

#include <fcntl.h>
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <random>
#include <string>
#include <vector>

#include "io/fd_io.h"
#include "modes/line_stream.h"
#include "print/messages.h"
#include "options/options.h"
#include "date/calendar.h"
#include "date/working_days.h"

namespace {

// A file of `count` lines of random dates of 1400-9999, YYYY-MM-DD<TAB>YYYY-MM-DD
// or, `mixed`, in five spellings; removed when it goes.
class pairs_file {
public:
    pairs_file(int64_t count, bool mixed)
        : path_(std::filesystem::temp_directory_path() /
                ("spanlet-bench-" + std::to_string(count) + (mixed ? "-mixed" : "") + ".txt")) {
        std::mt19937 random(7);
        std::uniform_int_distribution<int> year(1400, 9999), month(1, 12), day(1, 28), style(0, 4);
        std::FILE* file = std::fopen(path_.c_str(), "wb");
        for (int64_t i = 0; i < count && file != nullptr; ++i) {
            for (int side = 0; side < 2; ++side) {
                const int y = year(random), m = month(random), d = day(random);
                const char* const formats[] = {"%04d-%02d-%02d", "%2$d/%3$d/%1$d", "%2$02d.%3$02d.%1$d",
                                               "%04d%02d%02d", "%d/%d/%d"};
                std::fprintf(file, mixed ? formats[style(random)] : formats[0], y, m, d);
                std::fputc(side == 0 ? '\t' : '\n', file);
            }
        }
        if (file != nullptr)
            std::fclose(file);
    }
    ~pairs_file() { std::filesystem::remove(path_); }
    pairs_file(const pairs_file&) = delete;
    pairs_file& operator=(const pairs_file&) = delete;
    [[nodiscard]] std::string path() const { return path_.string(); }

private:
    std::filesystem::path path_;
};

// How the lines are answered: in days, in years, months and days, or in
// working days with a thousand holidays.
enum class answered_in : uint8_t { days, years_months_days, working_days };

void run_batch(benchmark::State& state, bool mixed, answered_in how = answered_in::days) {
    const int64_t lines = state.range(0);
    const pairs_file file(lines, mixed);
    const std::string path = file.path();
    spanlet::cli::options opts;
    opts.what = spanlet::cli::action::batch;
    opts.number_only = true;
    opts.file = path.c_str();
    if (how == answered_in::years_months_days)
        opts.units = spanlet::UNIT_YEARS | spanlet::UNIT_MONTHS | spanlet::UNIT_DAYS;
    std::vector<int32_t> holidays;
    std::mt19937 random(11);
    std::uniform_int_distribution<int32_t> any_day(spanlet::day_number({1400, 1, 1}), spanlet::day_number({9999, 12, 31}));
    for (int i = 0; i < 1000; ++i)
        holidays.push_back(any_day(random));
    const spanlet::working_days calendar(spanlet::SATURDAY_AND_SUNDAY, holidays);
    opts.business_days = how == answered_in::working_days;
    const int null_output = open("/dev/null", O_WRONLY);
    spanlet::cli::fd_sink null_errors(null_output);
    spanlet::cli::message_log messages(null_errors);
    const spanlet::cli::run_clock clock = spanlet::cli::clock_of_this_run();
    const spanlet::cli::pair_rule rule(opts, clock, opts.business_days ? &calendar : nullptr);
    for (auto _ : state)
        benchmark::DoNotOptimize(spanlet::cli::run_line_stream(opts, null_output, messages, rule));
    close(null_output);
    state.SetItemsProcessed(state.iterations() * lines);
    state.SetComplexityN(lines);
}

void BM_BatchCanonicalLines(benchmark::State& state) { run_batch(state, false); }
BENCHMARK(BM_BatchCanonicalLines)->RangeMultiplier(10)->Range(1000, 10'000'000)->Complexity(benchmark::oN)
    ->Unit(benchmark::kMillisecond);

void BM_BatchMixedLines(benchmark::State& state) { run_batch(state, true); }
BENCHMARK(BM_BatchMixedLines)->Arg(1'000'000)->Unit(benchmark::kMillisecond);

// Side by side with BM_BatchCanonicalLines/1000000.
void BM_BatchYearsMonthsDays(benchmark::State& state) { run_batch(state, false, answered_in::years_months_days); }
BENCHMARK(BM_BatchYearsMonthsDays)->Arg(1'000'000)->Unit(benchmark::kMillisecond);

void BM_BatchWorkingDays(benchmark::State& state) { run_batch(state, false, answered_in::working_days); }
BENCHMARK(BM_BatchWorkingDays)->Arg(1'000'000)->Unit(benchmark::kMillisecond);

}  // namespace
