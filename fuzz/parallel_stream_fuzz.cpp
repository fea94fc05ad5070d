// Any bytes through batch mode with several workers and parts of a few
// bytes, so that even a short input is cut into many: from memory (as a pipe
// is read, the parts cut where the reads end) and from a regular file (each
// worker reading the lines that start in its part). Whatever the input and
// the options (-n, --inclusive, --day-first, --line-limit, -d, and the
// answers in days, in any units of -u or in working days of -b, read as a
// command line by parse_options: fuzz/fuzz_options.h), the answers, the
// messages and the status are byte for byte those of one worker.
//
// The first byte holds -n (bit 0), --inclusive (1), the line limit (2-3),
// the delimiter (4-5: none, ",", tab, space), --day-first (6) and parts
// eight times larger (7), so that batches of common lines fit in them; the
// second the number of workers (0-1) and the part size (2-7); the third is
// the answer byte of fuzz_options.h; the rest is the input.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include <unistd.h>

#include "fuzz_options.h"
#include "io/fd_io.h"
#include "io/message_log.h"
#include "modes/parallel_stream.h"
#include "../tests/memory_io.h"

namespace {

using fuzz_options::require;

// The input in a file of its own, removed when done.
class scratch_file {
public:
    explicit scratch_file(std::string_view bytes) {
        char name[] = "/tmp/spanlet-fuzz-XXXXXX";
        fd_ = mkstemp(name);
        require(fd_ >= 0, "a scratch file can be made");
        unlink(name);
        require(write(fd_, bytes.data(), bytes.size()) == static_cast<ssize_t>(bytes.size()), "the scratch file is written");
    }
    ~scratch_file() { close(fd_); }
    scratch_file(const scratch_file&) = delete;
    scratch_file& operator=(const scratch_file&) = delete;
    scratch_file(scratch_file&&) = delete;
    scratch_file& operator=(scratch_file&&) = delete;
    [[nodiscard]] int fd() const { return fd_; }

private:
    int fd_;
};

memory_io::result run_workers(const fuzz_options::command& cmd, spanlet::cli::byte_source& input, size_t part_size) {
    memory_io::sink out;
    memory_io::sink err;
    int status = 0;
    {
        spanlet::cli::message_log messages(err);
        status = spanlet::cli::run_parallel_stream(spanlet::cli::run_line_stream, cmd.options(), "NAME", input, out, messages, cmd.rule(), part_size);
    }
    return {out.text, err.text, err.writes, status};
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 3)
        return 0;
    constexpr const char* LIMITS[] = {nullptr, "--line-limit=12", "--line-limit=22", "--line-limit=40"};
    constexpr const char* DELIMITERS[] = {nullptr, ",", "\t", " "};
    fuzz_options::command cmd;
    cmd.add_if((data[0] & 1) != 0, "-n");
    cmd.add_if((data[0] & 2) != 0, "--inclusive");
    if (const char* limit = LIMITS[(data[0] >> 2) & 3]; limit != nullptr)
        cmd.add(limit);
    if (const char* delimiter = DELIMITERS[(data[0] >> 4) & 3]; delimiter != nullptr) {
        cmd.add("-d");
        cmd.add(delimiter);
    }
    cmd.add_if((data[0] & 0x40) != 0, "--day-first");
    cmd.add("-j");
    cmd.add(std::to_string(2 + (data[1] & 3)));
    cmd.answer_in(data[2]);
    cmd.parse();
    const size_t part_size = (1 + (data[1] >> 2)) * ((data[0] & 0x80) != 0 ? 8 : 1);
    const std::string_view input(reinterpret_cast<const char*>(data + 3), size - 3);

    const memory_io::result one = fuzz_options::run(cmd, input);

    // Reads of a few bytes, so that the parts are cut where they end.
    std::vector<size_t> reads;
    for (size_t i = 0; i < 64; ++i)
        reads.push_back(1 + (i * 7 + data[1]) % 9);
    memory_io::source from_memory(input, reads, false);
    const memory_io::result parts = run_workers(cmd, from_memory, part_size);
    require(parts.output == one.output, "parts read from memory give the answers of one worker");
    require(parts.errors == one.errors, "parts read from memory give the messages of one worker");
    require(parts.status == one.status, "parts read from memory give the status of one worker");

    const scratch_file file(input);
    lseek(file.fd(), 0, SEEK_SET);
    spanlet::cli::fd_source from_file(file.fd());
    const memory_io::result file_parts = run_workers(cmd, from_file, part_size);
    require(file_parts.output == one.output, "parts of a file give the answers of one worker");
    require(file_parts.errors == one.errors, "parts of a file give the messages of one worker");
    require(file_parts.status == one.status, "parts of a file give the status of one worker");
    return 0;
}
