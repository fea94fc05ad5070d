// Any bytes through batch mode with several workers and parts of a few
// bytes, so that even a short input is cut into many: from memory (as a pipe
// is read, the parts cut where the reads end) and from a regular file (each
// worker reading the lines that start in its part). Whatever the input, the
// answers, the messages and the status are byte for byte those of one
// worker.
//
// The first byte holds the options, the second the number of workers and the
// part size.

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include <unistd.h>

#include "cli/fd_io.h"
#include "cli/line_stream.h"
#include "cli/messages.h"
#include "cli/options.h"
#include "cli/parallel_stream.h"
#include "../tests/memory_io.h"

namespace {

void require(bool property, const char* what) {
    if (!property) {
        std::fprintf(stderr, "property broken: %s\n", what);
        std::abort();
    }
}

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

memory_io::result run_workers(const spanlet::cli::options& opts, spanlet::cli::byte_source& input, size_t part_size) {
    memory_io::sink out;
    memory_io::sink err;
    int status = 0;
    {
        spanlet::cli::message_log messages(err);
        status = spanlet::cli::run_parallel_stream(opts, "NAME", input, out, messages, nullptr, part_size);
    }
    return {out.text, err.text, err.writes, status};
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 2)
        return 0;
    constexpr size_t LIMITS[] = {spanlet::cli::DEFAULT_LINE_LIMIT, 12, 22, 40};
    spanlet::cli::options opts;
    opts.number_only = (data[0] & 1) != 0;
    opts.inclusive = (data[0] & 2) != 0;
    opts.line_limit = LIMITS[(data[0] >> 2) & 3];
    opts.delimiter = (data[0] & 16) != 0 ? "," : nullptr;
    opts.jobs = 2 + (data[1] & 3);
    const size_t part_size = 1 + (data[1] >> 2);
    const std::string_view input(reinterpret_cast<const char*>(data + 2), size - 2);

    const memory_io::result one = memory_io::run(opts, input);

    // Reads of a few bytes, so that the parts are cut where they end.
    std::vector<size_t> reads;
    for (size_t i = 0; i < 64; ++i)
        reads.push_back(1 + (i * 7 + data[1]) % 9);
    memory_io::source from_memory(input, reads, false);
    const memory_io::result parts = run_workers(opts, from_memory, part_size);
    require(parts.output == one.output, "parts read from memory give the answers of one worker");
    require(parts.errors == one.errors, "parts read from memory give the messages of one worker");
    require(parts.status == one.status, "parts read from memory give the status of one worker");

    const scratch_file file(input);
    lseek(file.fd(), 0, SEEK_SET);
    spanlet::cli::fd_source from_file(file.fd());
    const memory_io::result file_parts = run_workers(opts, from_file, part_size);
    require(file_parts.output == one.output, "parts of a file give the answers of one worker");
    require(file_parts.errors == one.errors, "parts of a file give the messages of one worker");
    require(file_parts.status == one.status, "parts of a file give the status of one worker");
    return 0;
}
