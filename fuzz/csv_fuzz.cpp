// Any bytes as a CSV file, with options taken from the first byte. Whatever
// the input:
// - the records the reader hands out, each with the line feed that ended it,
//   give back the input's bytes (but a byte order mark at the start), read
//   whole or in chunks of random sizes; and the fields of each record,
//   joined by the delimiter, give back the record;
// - CSV mode writes exactly one record for every record read: with -n one
//   line each, otherwise records that the reader reads back as as many;
// - the input read in chunks gives the very bytes a whole read gives.

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <random>
#include <string>
#include <string_view>
#include <vector>

#include "cli/csv_split.h"
#include "cli/line_split.h"
#include "cli/options.h"
#include "../tests/memory_io.h"

namespace {

void require(bool property, const char* what) {
    if (!property) {
        std::fprintf(stderr, "property broken: %s\n", what);
        std::abort();
    }
}

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
    if (size < 2)
        return 0;
    constexpr const char* DELIMITERS[] = {",", ";", "\t", "-"};
    spanlet::cli::options opts;
    opts.csv = true;
    opts.number_only = (data[0] & 1) != 0;
    opts.header = (data[0] & 2) != 0;
    opts.line_limit = (data[0] & 4) != 0 ? spanlet::cli::DEFAULT_LINE_LIMIT : 24;
    opts.delimiter = DELIMITERS[(data[0] >> 3) & 3];
    constexpr const char* COLUMNS[] = {"1,2", "2,1", "1,3", "2,4", "3,1", "1,1", "2,3", "4,2"};
    spanlet::cli::parse_columns(COLUMNS[(data[0] >> 5) & 7], opts.columns);
    const char delimiter = opts.delimiter[0];
    std::mt19937 random(data[1]);
    const std::string_view input(reinterpret_cast<const char*>(data + 2), size - 2);
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

    const memory_io::result whole = memory_io::run(opts, input);
    const memory_io::result piecewise = memory_io::run(opts, input, chunks, true);
    require(piecewise.output == whole.output, "a pipe's chunks give the output a whole read gives");
    require(piecewise.errors == whole.errors, "a pipe's chunks give the messages a whole read gives");
    require(piecewise.status == whole.status, "a pipe's chunks give the status a whole read gives");
    // Records longer than a small limit are counted as they are read with it.
    const size_t read = read_records(input, {}, opts.line_limit, nullptr, delimiter);
    require(read == records || opts.line_limit != spanlet::cli::DEFAULT_LINE_LIMIT, "one limit, one count");
    size_t written = 0;
    if (opts.number_only) {
        written = static_cast<size_t>(std::count(whole.output.begin(), whole.output.end(), '\n'));
    } else {
        written = read_records(whole.output, {}, size_t{1} << 30, nullptr, delimiter);
    }
    // A header that names no column would stop the run before any output;
    // the columns here are numbers, which a header may also hold as names.
    require(written == read || (opts.header && whole.output.empty() && whole.status == 1),
            "one record out for every record in");
    return 0;
}
