// Any bytes through the line stream of batch mode, in process, with options
// taken from the first bytes and read as a command line by parse_options
// (fuzz/fuzz_options.h). Whatever the input and the options (-n,
// --inclusive, --day-first, --line-limit, -d, and the answers in days, in
// any units of -u or in working days of -b):
// - there is exactly one answer row for every line read;
// - every row is the row of its line read alone;
// - the input read in chunks of random sizes, as from a pipe, gives the very
//   bytes (answers and messages) and status that one whole read gives;
// - no message line is longer than its room, and every write of messages
//   ends a line and holds at most PIPE_BUF bytes.
//
// The first byte holds -n (bit 0), --inclusive (1), --day-first (2), the
// line limit (3-4) and the delimiter (5-7); the second seeds the chunk
// sizes; the third is the answer byte of fuzz_options.h; the rest is the
// input. Eight common lines together are answered as a batch, which a line
// read alone never is, so that every row the batches write is checked
// against the line-by-line path, in every form of answer.

#include <cstdint>
#include <random>
#include <string>
#include <string_view>
#include <vector>

#include "fuzz_options.h"
#include "io/message_log.h"
#include "../tests/memory_io.h"

namespace {

using fuzz_options::require;

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
    if (size < 3)
        return 0;
    constexpr const char* DELIMITERS[] = {nullptr, "\t", ",", " ", "-", "0"};
    constexpr const char* LIMITS[] = {nullptr, "20", "22", "64"};
    fuzz_options::command cmd;
    cmd.add_if((data[0] & 1) != 0, "-n");
    cmd.add_if((data[0] & 2) != 0, "--inclusive");
    cmd.add_if((data[0] & 4) != 0, "--day-first");
    if (const char* limit = LIMITS[(data[0] >> 3) & 3]; limit != nullptr)
        cmd.add(std::string("--line-limit=") + limit);
    if (const char* delimiter = DELIMITERS[(data[0] >> 5) % 6]; delimiter != nullptr) {
        cmd.add("-d");
        cmd.add(delimiter);
    }
    cmd.answer_in(data[2]);
    cmd.parse();
    std::mt19937 random(data[1]);
    const std::string_view input(reinterpret_cast<const char*>(data + 3), size - 3);

    const memory_io::result whole = fuzz_options::run(cmd, input);
    std::vector<size_t> chunks;
    std::uniform_int_distribution<size_t> chunk_size(1, 40);
    for (int i = 0; i < 64; ++i)
        chunks.push_back(chunk_size(random));
    const memory_io::result piecewise = fuzz_options::run(cmd, input, chunks, true);
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
        const memory_io::result alone_result = fuzz_options::run(cmd, alone);
        const std::vector<std::string_view> alone_rows = rows_of(alone_result.output);
        require(alone_rows.size() == 2 && alone_rows[1] == rows[i], "a row is the row of its line read alone");
    }
    return 0;
}
