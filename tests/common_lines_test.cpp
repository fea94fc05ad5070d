// The common line answered eight at a time, against an oracle that shares
// nothing with it: the standard library's civil calendar for the counts and
// its text conversion for the numbers, and a plain reading of the line for
// which lines are the common line.

#include "judge/common_lines.h"

#include <gtest/gtest.h>

#include <array>
#include <charconv>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

namespace {

using spanlet::cli::BATCH_BYTES;
using spanlet::cli::BATCH_LINES;
using spanlet::cli::BATCH_ROOM;
using spanlet::cli::batch_answerer;
using spanlet::cli::batch_options;
using std::chrono::sys_days;
using std::chrono::year_month_day;

std::string iso(const year_month_day& d) {
    char text[16];
    std::snprintf(text, sizeof text, "%04d-%02u-%02u", int{d.year()}, unsigned{d.month()}, unsigned{d.day()});
    return text;
}

// What the rows of `lines` must be, or "" when a line is not the common line.
// A line is common when it is ten bytes, a tab, ten bytes and a line feed,
// and each ten read by sscanf as a real date of 1400-9999 written back the same.
std::string expected_rows(const std::string& lines, batch_options how) {
    std::string rows;
    for (size_t at = 0; at < lines.size(); at += 22) {
        const std::string line = lines.substr(at, 22);
        if (line[10] != '\t' || line[21] != '\n')
            return "";
        sys_days days[2];
        for (int side = 0; side < 2; ++side) {
            const std::string text = line.substr(side == 0 ? 0 : 11, 10);
            int y = 0;
            unsigned m = 0;
            unsigned d = 0;
            char end = 0;
            if (std::sscanf(text.c_str(), "%4d-%2u-%2u%c", &y, &m, &d, &end) != 3)
                return "";
            const year_month_day ymd{std::chrono::year{y}, std::chrono::month{m}, std::chrono::day{d}};
            if (!ymd.ok() || y < 1400 || iso(ymd) != text)
                return "";
            days[side] = sys_days{ymd};
        }
        long long count = (days[0] - days[1]).count();
        if (how.inclusive)
            count += count >= 0 ? 1 : -1;
        char number[24];
        const auto end = std::to_chars(number, number + sizeof number, count).ptr;
        if (!how.number_only)
            rows += line.substr(0, 21) + "\t";
        rows += std::string(number, end) + "\n";
    }
    return rows;
}

// The rows an answerer writes for whole batches, or "" when it leaves one
// of them (and then it must have answered the batches before it alone).
std::string answered(batch_answerer answer, const std::string& lines, batch_options how) {
    const size_t batches = lines.size() / BATCH_BYTES;
    std::vector<char> out(batches * BATCH_ROOM);
    const std::string bytes = lines + std::string(spanlet::cli::BATCH_OVERREAD, '\n');
    const spanlet::cli::batch_run run = answer(bytes.data(), bytes.size(), out.data(), out.size(), how);
    if (run.left)
        return "";
    EXPECT_EQ(run.read, lines.size());
    return std::string(out.data(), run.end);
}

const std::array<batch_answerer, 2> ANSWERERS = {spanlet::cli::answer_batches_portable,
                                                 spanlet::cli::pick_batch_answerer()};
const std::array<batch_options, 4> HOWS = {{{true, false}, {false, false}, {true, true}, {false, true}}};

// Every date of 1400-9999 on the first side and on the second, against
// partners that sweep the range, in every form of answer, by the portable
// answerer and the one this processor picks.
TEST(CommonBatches, EveryDateAgreesWithTheOracle) {
    ASSERT_NE(spanlet::cli::pick_batch_answerer(), nullptr);
    const sys_days first{std::chrono::year{1400} / 1 / 1};
    const sys_days last{std::chrono::year{9999} / 12 / 31};
    const auto span = (last - first).count() + 1;
    std::string lines;
    std::string expected[HOWS.size()];
    long long n = 0;
    for (sys_days d = first; d <= last || !lines.empty(); d += std::chrono::days{1}, ++n) {
        // A partner that moves fast through the range, so that answers of
        // every length and both signs come up; past the last date, the
        // last batch is filled up with the first dates again.
        const sys_days date = d <= last ? d : d - std::chrono::days{span};
        const sys_days partner = first + std::chrono::days{(n * 7919 + n / 3) % span};
        const bool swap = n % 2 == 1;
        const sys_days one = swap ? partner : date;
        const sys_days other = swap ? date : partner;
        const std::string line = iso(year_month_day{one}) + "\t" + iso(year_month_day{other});
        lines += line + "\n";
        for (size_t i = 0; i < HOWS.size(); ++i) {
            long long count = (one - other).count();
            if (HOWS[i].inclusive)
                count += count >= 0 ? 1 : -1;
            expected[i] += (HOWS[i].number_only ? "" : line + "\t") + std::to_string(count) + "\n";
        }
        // Sixteen batches a call; after the last date, what there is once it
        // makes whole batches.
        if (lines.size() < 16 * BATCH_BYTES && (d < last || lines.size() % BATCH_BYTES != 0))
            continue;
        for (size_t i = 0; i < HOWS.size(); ++i) {
            for (const batch_answerer answer : ANSWERERS)
                ASSERT_EQ(answered(answer, lines, HOWS[i]), expected[i]) << lines;
            expected[i].clear();
        }
        lines.clear();
    }
}

// A batch of real lines with one byte changed: left exactly when the change
// makes a line other than the common line or its date not real.
TEST(CommonBatches, OneByteChangedLeavesTheBatchExactlyWhenItMust) {
    const std::string base_line[BATCH_LINES] = {
        "2024-02-29\t2023-02-28\n", "1400-01-01\t9999-12-31\n", "9999-12-31\t1400-01-01\n",
        "2000-02-29\t1900-02-28\n", "2010-08-10\t2010-08-10\n", "1999-12-31\t2000-01-01\n",
        "2026-12-10\t2026-04-30\n", "1600-02-29\t1700-02-28\n"};
    std::string base;
    for (const std::string& line : base_line)
        base += line;
    const char replacements[] = {'0', '1', '2', '3', '4', '9', '-', '/', '\t', '\n', '\r', ' ', 'a', '\0', '\x80', '\xff'};
    int left = 0;
    for (size_t at = 0; at < BATCH_BYTES; ++at) {
        for (const char c : replacements) {
            std::string lines = base;
            lines[at] = c;
            for (const batch_options how : HOWS) {
                const std::string expected = expected_rows(lines, how);
                left += expected.empty() ? 1 : 0;
                for (const batch_answerer answer : ANSWERERS)
                    ASSERT_EQ(answered(answer, lines, how), expected) << "byte " << at << " made " << int{c};
            }
        }
    }
    EXPECT_GT(left, 0);
}

// The dates that make or break a line: months 00 and 13, days 29-32,
// February of leap and common years, the years at the ends of the range.
TEST(CommonBatches, DatesAtTheEdgesOfTheCalendar) {
    const char* const dates[] = {"2023-02-28", "2023-02-29", "2024-02-29", "2024-02-30", "1900-02-29", "2000-02-29",
                                 "2100-02-29", "2010-00-10", "2010-13-10", "2010-12-00", "2010-12-32", "2010-04-31",
                                 "2010-04-30", "1399-12-31", "1400-01-01", "9999-12-31", "0000-01-01", "2010-1-010"};
    const std::string partner = "2010-08-10";
    for (const char* text : dates) {
        std::string lines;
        for (size_t i = 0; i < BATCH_LINES; ++i)
            lines += (i == 5 ? std::string(text) : partner) + "\t" + (i == 2 ? std::string(text) : partner) + "\n";
        for (const batch_options how : HOWS)
            for (const batch_answerer answer : ANSWERERS)
                EXPECT_EQ(answered(answer, lines, how), expected_rows(lines, how)) << text;
    }
}

}  // namespace
