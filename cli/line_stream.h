#pragma once
// Batch mode: a pair of dates on every line of a file or of standard input,
// and exactly one line of answer for every line read, in order, whatever it
// holds. Reads and writes in large blocks; memory grows only with the longest
// line.

#include "cli/options.h"

namespace spanlet::cli {

// Runs spanlet -f: answers every line of opts.file ("-" is standard input)
// on the file descriptor `output_fd`, which nothing else writes to meanwhile.
// Returns the exit status: 0 when every line got a difference, 1 when a line
// was refused or the input or the output failed (each said on standard error).
int run_line_stream(const options& opts, int output_fd);

}  // namespace spanlet::cli
