// Any bytes through the line stream of batch mode, in process, with options
// taken from the first byte. Whatever the input:
// - there is exactly one answer row for every line read;
// - every row is the row of its line read alone;
// - the input read in chunks of random sizes, as from a pipe, gives the very
//   bytes (answers and messages) and status that one whole read gives;
// - no message line is longer than its room, and every write of messages
//   ends a line and holds at most PIPE_BUF bytes.

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <random>
#include <string>
#include <string_view>
#include <vector>

#include "cli/messages.h"
#include "cli/options.h"
#include "../tests/memory_io.h"

namespace {

void require(bool property, const char* what) {
    if (!property) {
        std::fprintf(stderr, "property broken: %s\n", what);
        std::abort();
    }
}

constexpr std::string_view BYTE_ORDER_MARK = "\xEF\xBB\xBF";

// The lines of `input` as the README describes them: split at line feeds,
// the last needs none, a byte order mark at the very start is no part of
// the first.
std::vector<std::string_view> lines_of(std::string_view input) {
    if (input.substr(0, BYTE_ORDER_MARK.size()) == BYTE_ORDER_MARK)
        input.remove_prefix(BYTE_ORDER_MARK.size());
    std::vector<std::string_view> lines;
    while (!input.empty()) {
        const size_t feed = input.find('\n');
        lines.push_back(input.substr(0, feed));
        input.remove_prefix(feed == std::string_view::npos ? input.size() : feed + 1);
    }
    return lines;
}

std::vector<std::string_view> rows_of(std::string_view output) {
    std::vector<std::string_view> rows;
    for (size_t feed = output.find('\n'); feed != std::string_view::npos; feed = output.find('\n')) {
        rows.push_back(output.substr(0, feed));
        output.remove_prefix(feed + 1);
    }
    require(output.empty(), "every row ends in a line feed");
    return rows;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 2)
        return 0;
    constexpr const char* DELIMITERS[] = {nullptr, "\t", ",", " ", "-", "0"};
    constexpr size_t LIMITS[] = {spanlet::cli::DEFAULT_LINE_LIMIT, 20, 22, 64};
    spanlet::cli::options opts;
    opts.number_only = (data[0] & 1) != 0;
    opts.inclusive = (data[0] & 2) != 0;
    opts.day_first = (data[0] & 4) != 0;
    opts.line_limit = LIMITS[(data[0] >> 3) & 3];
    opts.delimiter = DELIMITERS[(data[0] >> 5) % 6];
    std::mt19937 random(data[1]);
    const std::string_view input(reinterpret_cast<const char*>(data + 2), size - 2);

    const memory_io::result whole = memory_io::run(opts, input);
    std::vector<size_t> chunks;
    std::uniform_int_distribution<size_t> chunk_size(1, 40);
    for (int i = 0; i < 64; ++i)
        chunks.push_back(chunk_size(random));
    const memory_io::result piecewise = memory_io::run(opts, input, chunks, true);
    require(piecewise.output == whole.output, "a pipe's chunks give the answers a whole read gives");
    require(piecewise.errors == whole.errors, "a pipe's chunks give the messages a whole read gives");
    require(piecewise.status == whole.status, "a pipe's chunks give the status a whole read gives");

    const std::vector<std::string_view> lines = lines_of(input);
    const std::vector<std::string_view> rows = rows_of(whole.output);
    require(rows.size() == lines.size(), "one row for every line");
    require((whole.status == 0) == whole.errors.empty(), "exit 0 exactly when nothing was refused");

    size_t at = 0;
    for (const size_t write : whole.error_writes) {
        require(write <= spanlet::cli::MESSAGE_BLOCK, "a write of messages holds at most PIPE_BUF bytes");
        require(whole.errors[at + write - 1] == '\n', "a write of messages ends a line");
        at += write;
    }
    for (size_t start = 0; start < whole.errors.size();) {
        const size_t end = whole.errors.find('\n', start);
        require(end != std::string::npos, "every message ends in a line feed");
        require(end - start + 1 <= spanlet::cli::MESSAGE_LINE_MAX, "a message line fits its room");
        start = end + 1;
    }

    // Each line alone, behind an empty line so that nothing at its start
    // counts as the start of the input, gives the same row.
    for (size_t i = 0; i < lines.size() && i < 64; ++i) {
        std::string alone = "\n";
        alone += lines[i];
        alone += '\n';
        const memory_io::result alone_result = memory_io::run(opts, alone);
        const std::vector<std::string_view> alone_rows = rows_of(alone_result.output);
        require(alone_rows.size() == 2 && alone_rows[1] == rows[i], "a row is the row of its line read alone");
    }
    return 0;
}
