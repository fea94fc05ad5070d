#pragma once
// Batch mode with several workers (--jobs): the input is cut into parts of
// whole lines, workers answer consecutive parts at once, and the rows are
// written in the order of the lines, byte for byte what one worker writes.

#include <cstddef>
#include <cstdint>

#include "io/fd_io.h"
#include "print/messages.h"
#include "options/options.h"
#include "judge/pair_rule.h"

namespace spanlet::cli {

// A part of a larger input, answered on its own: its first line is the one
// after `lines_before`, a byte order mark is skipped only `at_start`, and
// `lines` is set to how many lines it held. `stopped` is set when the part
// was left before its end (memory ran out): no line after it is answered.
struct input_part {
    uint64_t lines_before = 0;
    bool at_start = true;
    uint64_t lines = 0;
    bool stopped = false;
};

// How one worker answers a part: the rows on `answers`, the messages to
// `messages`, judged by `rule`; the exit status.
using part_answerer = int (*)(const options& opts, const char* name, byte_source& input, byte_sink& answers,
                              message_log& messages, const pair_rule& rule, input_part& part);

// The input answered by opts.jobs workers (0: one a processor), each part
// by `answer_part`, the rows written in the order of the lines. A part
// whose lines drew a message is answered again, in order, so that the
// messages name their lines as one worker names them; a line too long for a
// part sends the rest of the input through one worker. Parts are of about
// `part_size` bytes (at least 1; the tests and the fuzzers cut small inputs
// into many).
inline constexpr size_t DEFAULT_PART_SIZE = size_t{1} << 20;
int run_parallel_stream(part_answerer answer_part, const options& opts, const char* name, byte_source& input,
                        byte_sink& answers, message_log& messages, const pair_rule& rule,
                        size_t part_size = DEFAULT_PART_SIZE);

}  // namespace spanlet::cli
