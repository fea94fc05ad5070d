// Any bytes as a CSV file, with options taken from the first bytes and read
// as a command line by parse_options (fuzz/fuzz_options.h): -n, --header,
// --line-limit, -d, --columns, --inclusive, --day-first, --name, and the
// answers in days, in any units of -u or in working days of -b. Whatever
// the input and the options:
// - the records the reader hands out, each with the line feed that ended it,
//   give back the input's bytes (but a byte order mark at the start), read
//   whole or in chunks of random sizes; and the fields of each record,
//   joined by the delimiter, give back the record;
// - CSV mode writes exactly one record for every record read: with -n one
//   line each, otherwise records that the reader reads back as as many;
// - the input read in chunks gives the very bytes a whole read gives.
//
// The first byte holds -n (bit 0), --header (1), the line limit (2: 24
// bytes when clear), the delimiter (3-4: ",", ";", tab, "-") and the columns
// (5-7); the second seeds the chunk sizes; the third is the answer byte of
// fuzz_options.h; the fourth holds --inclusive (bit 0), --day-first (1),
// the answer column's --name, with --header (2-3), "--columns=" for "-k" (4)
// and "-d ," written out (5); the rest is the input.

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <random>
#include <string>
#include <string_view>
#include <vector>

#include "frame/csv_split.h"
#include "frame/line_split.h"
#include "fuzz_options.h"
#include "options/options.h"
#include "../tests/memory_io.h"

namespace {

using fuzz_options::require;

// The records of `input` in chunks of the sizes `chunks` gives, each with
// the line feed that ended it; too-long ones as they come. Returns how many.
size_t read_records(std::string_view input, const std::vector<size_t>& chunks, size_t limit, std::string* joined,
                    char delimiter) {
    spanlet::cli::line_buffer records(limit, true);
    memory_io::source source(input, chunks, true);
    size_t count = 0;
    int error = 0;
    while (true) {
        std::string_view record;
        const auto got = records.next(record);
        if (got == spanlet::cli::line_buffer::item::end)
            return count;
        if (got == spanlet::cli::line_buffer::item::need_more) {
            records.read_from(source, error);
            continue;
        }
        ++count;
        if (joined == nullptr || got != spanlet::cli::line_buffer::item::line)
            continue;
        std::string fields_joined;
        spanlet::cli::csv_fields fields(record, delimiter);
        bool first = true;
        for (; fields.more(); first = false)
            fields_joined += (first ? "" : std::string(1, delimiter)) + std::string(fields.next());
        require(fields_joined == record, "a record's fields, joined by the delimiter, are the record");
        *joined += record;
        if (records.ended_by_feed())
            *joined += '\n';
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 4)
        return 0;
    constexpr const char* DELIMITERS[] = {",", ";", "\t", "-"};
    constexpr const char* COLUMNS[] = {nullptr, "2,1", "1,3", "2,4", "3,1", "1,1", "2,3", "4,2"};
    // Answer column names: plain, holding every delimiter, a quote, a line
    // feed (which a name that needs quotes gets, with -n too).
    constexpr const char* NAMES[] = {nullptr, "span", "a,b;c\td-e", "say \"hi\"\ntwice"};
    fuzz_options::command cmd;
    cmd.add("--csv");
    cmd.add_if((data[0] & 1) != 0, "-n");
    cmd.add_if((data[0] & 2) != 0, "--header");
    cmd.add_if((data[0] & 4) == 0, "--line-limit=24");
    const char delimiter = DELIMITERS[(data[0] >> 3) & 3][0];
    if (delimiter != ',' || (data[3] & 0x20) != 0) {
        cmd.add("-d");
        cmd.add(std::string(1, delimiter));
    }
    if (const char* columns = COLUMNS[(data[0] >> 5) & 7]; columns != nullptr) {
        if ((data[3] & 0x10) != 0) {
            cmd.add(std::string("--columns=") + columns);
        } else {
            cmd.add("-k");
            cmd.add(columns);
        }
    }
    cmd.answer_in(data[2]);
    cmd.add_if((data[3] & 1) != 0, "--inclusive");
    cmd.add_if((data[3] & 2) != 0, "--day-first");
    // --name goes with --header alone.
    const char* name = (data[0] & 2) != 0 ? NAMES[(data[3] >> 2) & 3] : nullptr;
    if (name != nullptr)
        cmd.add(std::string("--name=") + name);
    const spanlet::cli::options& opts = cmd.parse();
    require(opts.delimiter == nullptr ? delimiter == ',' : opts.delimiter[0] == delimiter, "the delimiter is read as given");
    std::mt19937 random(data[1]);
    const std::string_view input(reinterpret_cast<const char*>(data + 4), size - 4);
    std::vector<size_t> chunks;
    std::uniform_int_distribution<size_t> chunk_size(1, 40);
    for (int i = 0; i < 64; ++i)
        chunks.push_back(chunk_size(random));

    const std::string_view without_mark = input.substr(0, 3) == "\xEF\xBB\xBF" ? input.substr(3) : input;
    std::string whole_joined;
    std::string piecewise_joined;
    const size_t records = read_records(input, {}, spanlet::cli::DEFAULT_LINE_LIMIT, &whole_joined, delimiter);
    read_records(input, chunks, spanlet::cli::DEFAULT_LINE_LIMIT, &piecewise_joined, delimiter);
    require(whole_joined == without_mark, "the records give back the input");
    require(piecewise_joined == without_mark, "the records read in chunks give back the input");

    const memory_io::result whole = fuzz_options::run(cmd, input);
    const memory_io::result piecewise = fuzz_options::run(cmd, input, chunks, true);
    require(piecewise.output == whole.output, "a pipe's chunks give the output a whole read gives");
    require(piecewise.errors == whole.errors, "a pipe's chunks give the messages a whole read gives");
    require(piecewise.status == whole.status, "a pipe's chunks give the status a whole read gives");
    // Records longer than a small limit are counted as they are read with it.
    const size_t read = read_records(input, {}, opts.line_limit, nullptr, delimiter);
    require(read == records || opts.line_limit != spanlet::cli::DEFAULT_LINE_LIMIT, "one limit, one count");
    size_t written = 0;
    if (opts.number_only) {
        written = static_cast<size_t>(std::count(whole.output.begin(), whole.output.end(), '\n'));
        // The header's line is the answer column's name, quoted with its
        // line feeds when it holds any.
        if (opts.header && name != nullptr && !whole.output.empty())
            written -= static_cast<size_t>(std::count(name, name + std::strlen(name), '\n'));
    } else {
        written = read_records(whole.output, {}, size_t{1} << 30, nullptr, delimiter);
    }
    // A header that names no column would stop the run before any output;
    // the columns here are numbers, which a header may also hold as names.
    require(written == read || (opts.header && whole.output.empty() && whole.status == 1),
            "one record out for every record in");
    return 0;
}
