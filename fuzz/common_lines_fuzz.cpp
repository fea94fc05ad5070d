// Blocks of mostly common lines (YYYY-MM-DD<TAB>YYYY-MM-DD), with a byte or a
// field changed here and there, through the line stream of batch mode, where
// whole batches of common lines are answered together. Whatever the changes,
// the output is byte for byte that of answering each line alone (which never
// makes a batch), and the status is 0 exactly when nothing was refused; in
// days, in any units of -u and in working days of -b alike, the options read
// as a command line by parse_options (fuzz/fuzz_options.h).
//
// The first byte holds -n (bit 0), --inclusive (1), line ends (2), the count
// of lines (3-6) and a last line without its line feed (7); the second seeds
// the dates; the third is the answer byte of fuzz_options.h; the fourth
// holds --day-first (bit 0), "-d TAB" (1), which keeps the common lines, and
// the line limit (2-3: none, 21, 22 or 23 bytes, about the common line's
// 21 and its CR). Each pair of bytes after them is a change: where, and
// what.

#include <cstdint>
#include <cstdio>
#include <random>
#include <string>
#include <string_view>

#include "fuzz_options.h"
#include "../tests/memory_io.h"

namespace {

using fuzz_options::require;

// Dates near the edges of what is read: leap days, month ends, the years at
// the ends of the range.
constexpr const char* DATES[] = {"2024-02-29", "2023-02-28", "2000-02-29", "1900-02-28", "1400-01-01",
                                 "9999-12-31", "2010-08-10", "1999-12-31", "2026-12-10", "2010-04-30"};
// Fields put in place of a date's year, month or day.
constexpr const char* YEARS[] = {"1399", "1400", "9999", "2100", "2000", "0000"};
constexpr const char* MONTHS[] = {"00", "13", "02", "12", "1-"};
constexpr const char* DAYS[] = {"28", "29", "30", "31", "32", "00"};
// Bytes put anywhere.
constexpr char BYTES[] = {'0', '5', '9', '-', '/', '\t', '\n', '\r', ' ', '\0', 'T', '\xEF'};

std::string random_date(std::mt19937& random) {
    if (random() % 2 == 0)
        return DATES[random() % std::size(DATES)];
    char text[16];
    const auto below = [&random](unsigned n) { return static_cast<unsigned>(random() % n); };
    std::snprintf(text, sizeof text, "%04u-%02u-%02u", 1400 + below(8600), 1 + below(12), 1 + below(28));
    return text;
}

// Puts `field` at the start of the year (0), month (1) or day (2) of the
// date at `date`.
void replace_field(std::string& lines, size_t date, int which, std::string_view field) {
    const size_t offset[] = {0, 5, 8};
    lines.replace(date + offset[which], field.size(), field);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 4)
        return 0;
    constexpr const char* LIMITS[] = {nullptr, "--line-limit=21", "--line-limit=22", "--line-limit=23"};
    fuzz_options::command cmd;
    cmd.add_if((data[0] & 1) != 0, "-n");
    cmd.add_if((data[0] & 2) != 0, "--inclusive");
    cmd.answer_in(data[2]);
    cmd.add_if((data[3] & 1) != 0, "--day-first");
    cmd.add_if((data[3] & 2) != 0, "-d\t");
    if (const char* limit = LIMITS[(data[3] >> 2) & 3]; limit != nullptr)
        cmd.add(limit);
    cmd.parse();
    const bool crlf_everywhere = (data[0] & 4) != 0;
    const size_t count = 8 + (data[0] >> 3) % 24;  // lines
    std::mt19937 random(data[1]);
    std::string lines;
    for (size_t i = 0; i < count; ++i)
        lines += random_date(random) + "\t" + random_date(random) + (crlf_everywhere && i % 5 == 0 ? "\r\n" : "\n");

    for (size_t i = 4; i + 1 < size; i += 2) {
        const size_t at = data[i] % lines.size();
        const uint8_t what = data[i + 1];
        if (what < 128) {
            lines[at] = BYTES[what % std::size(BYTES)];
            continue;
        }
        // A field of the date that holds byte `at`, if a common date starts there.
        const size_t line_start = lines.rfind('\n', at) == std::string::npos ? 0 : lines.rfind('\n', at) + 1;
        const size_t date = at - line_start >= 11 ? line_start + 11 : line_start;
        if (date + 10 > lines.size())
            continue;
        const int which = what % 3;
        const size_t pick = (what >> 2) % 6;
        replace_field(lines, date, which,
                      which == 0 ? YEARS[pick] : which == 1 ? MONTHS[pick % std::size(MONTHS)] : DAYS[pick]);
    }
    if ((data[0] & 0x80) != 0 && !lines.empty() && lines.back() == '\n')
        lines.pop_back();  // a last line without its line feed

    const memory_io::result whole = fuzz_options::run(cmd, lines);
    std::string alone_output;
    bool all_answered = true;
    for (size_t start = 0; start < lines.size();) {
        const size_t feed = lines.find('\n', start);
        const size_t end = feed == std::string::npos ? lines.size() : feed + 1;
        const memory_io::result alone = fuzz_options::run(cmd, lines.substr(start, end - start));
        alone_output += alone.output;
        all_answered &= alone.status == 0;
        start = end;
    }
    require(whole.output == alone_output, "the rows are those of each line answered alone");
    require((whole.status == 0) == all_answered, "the status is 0 exactly when every line was answered");
    require((whole.status == 0) == whole.errors.empty(), "exit 0 exactly when nothing was said");
    return 0;
}
