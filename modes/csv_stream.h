#pragma once
// CSV mode (--csv): every record of a CSV file written back as it was read,
// with the delimiter and the answer for two of its columns appended; with
// -n, the answer alone. Reads and writes in large blocks; memory stays
// bounded by the line limit, which a record must keep to.

#include "io/fd_io.h"
#include "print/messages.h"
#include "options/options.h"
#include "judge/pair_rule.h"
#include "date/working_days.h"

namespace spanlet::cli {

// Answers every record of `input` (called `name` in messages) on `answers`,
// judged by `rule`, the run's one judge. Returns the exit status: 0 when
// every record got an answer, 1 when one was refused, the header lacked a
// column, or the input, the output or memory failed (each said in
// `messages`).
int run_csv_stream(const options& opts, const char* name, byte_source& input, byte_sink& answers,
                   message_log& messages, const pair_rule& rule);

// The same for a whole run that has no judge yet: its clock and its judge
// are made here. `calendar` is what -b counts.
int run_csv_stream(const options& opts, const char* name, byte_source& input, byte_sink& answers,
                   message_log& messages, const working_days* calendar = nullptr);

// The same for opts.file ("-" is standard input), answers on `output_fd`.
int run_csv_stream(const options& opts, int output_fd, message_log& messages, const pair_rule& rule);

}  // namespace spanlet::cli
