#pragma once
// The line stream over memory instead of descriptors, for the tests and the
// fuzzers: input handed out whole or in chunks of chosen sizes, as a file or
// a pipe gives it, and answers and messages kept.

#include <algorithm>
#include <cstddef>
#include <cstring>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "modes/csv_stream.h"
#include "io/fd_io.h"
#include "modes/line_stream.h"
#include "print/messages.h"
#include "options/options.h"

namespace memory_io {

// `bytes` in reads of the sizes `chunks` gives in turn (the last size
// repeats); a read never gives more than asked. With `pipe`, may_wait().
class source final : public spanlet::cli::byte_source {
public:
    source(std::string_view bytes, std::vector<size_t> chunks, bool pipe)
        : bytes_(bytes), chunks_(std::move(chunks)), pipe_(pipe) {}
    long read(char* into, size_t size) override {
        size_t n = chunks_.empty() ? size : chunks_[next_ < chunks_.size() ? next_++ : chunks_.size() - 1];
        n = std::min({n == 0 ? size_t{1} : n, size, bytes_.size() - at_});
        std::memcpy(into, bytes_.data() + at_, n);
        at_ += n;
        return static_cast<long>(n);
    }
    [[nodiscard]] bool may_wait() const override { return pipe_; }

private:
    std::string_view bytes_;
    std::vector<size_t> chunks_;
    bool pipe_;
    size_t at_ = 0;
    size_t next_ = 0;
};

class sink final : public spanlet::cli::byte_sink {
public:
    bool write(const char* data, size_t size) override {
        text.append(data, size);
        writes.push_back(size);
        return true;
    }
    std::string text;
    std::vector<size_t> writes;  // the size of every write
};

struct result {
    std::string output;
    std::string errors;
    std::vector<size_t> error_writes;
    int status;
};

// spanlet -f NAME with `opts`, over `input` read in `chunks` (whole reads
// when empty).
inline result run(spanlet::cli::options opts, std::string_view input, std::vector<size_t> chunks = {},
                  bool pipe = false) {
    opts.what = spanlet::cli::action::batch;
    opts.file = "NAME";
    source in(input, std::move(chunks), pipe);
    sink out;
    sink err;
    int status = 0;
    {
        spanlet::cli::message_log messages(err);
        status = opts.csv ? spanlet::cli::run_csv_stream(opts, "NAME", in, out, messages)
                          : spanlet::cli::run_line_stream(opts, "NAME", in, out, messages);
    }
    return {out.text, err.text, err.writes, status};
}

}  // namespace memory_io
