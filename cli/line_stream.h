#pragma once
// Batch mode: a pair of dates on every line of a file or of standard input,
// and exactly one row of answer for every line read, in order, whatever it
// holds. Reads and writes in large blocks; memory stays bounded by the line
// limit, whatever the input.

#include "cli/fd_io.h"
#include "cli/messages.h"
#include "cli/options.h"
#include "date/working_days.h"

namespace spanlet::cli {

// Answers every line of `input` (called `name` in messages) on `answers`,
// which nothing else writes to meanwhile. Answers are written before every
// read that may wait. Returns the exit status: 0 when every line got a
// difference, 1 when a line was refused, or the input, the output or memory
// failed (each said in `messages`). `calendar` is what -b counts.
int run_line_stream(const options& opts, const char* name, byte_source& input, byte_sink& answers,
                    message_log& messages, const working_days* calendar = nullptr);

// The same for opts.file ("-" is standard input), answers on `output_fd`.
int run_line_stream(const options& opts, int output_fd, message_log& messages,
                    const working_days* calendar = nullptr);

}  // namespace spanlet::cli
