#pragma once
// Batch mode with several workers (--jobs): the input is cut into parts of
// whole lines, workers answer consecutive parts at once, and the rows are
// written in the order of the lines, byte for byte what one worker writes.

#include <cstddef>

#include "io/fd_io.h"
#include "print/messages.h"
#include "options/options.h"
#include "judge/pair_rule.h"
#include "date/working_days.h"

namespace spanlet::cli {

// As run_line_stream, with opts.jobs workers (0: one a processor). A part
// whose lines drew a message is answered again, in order, so that the
// messages name their lines as one worker names them; a line too long for a
// part sends the rest of the input through one worker.
// Every worker judges by `rule`, the run's one judge.
int run_parallel_stream(const options& opts, const char* name, byte_source& input, byte_sink& answers,
                        message_log& messages, const pair_rule& rule);

// The same with parts of about `part_size` bytes (at least 1), so that the
// tests and the fuzzers cut small inputs into many parts.
int run_parallel_stream(const options& opts, const char* name, byte_source& input, byte_sink& answers,
                        message_log& messages, const pair_rule& rule, size_t part_size);

}  // namespace spanlet::cli
