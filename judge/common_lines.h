#pragma once
// The common line of batch mode, YYYY-MM-DD<TAB>YYYY-MM-DD<LF>, answered
// eight lines at a time: the sixteen dates are checked and counted together,
// lane by lane, and the answers written without a branch on their bytes. A
// batch that holds any other line is left whole to the line-by-line path, so
// that what is written is byte for byte what that path writes.

#include <cstddef>

#include "io/numbers.h"

namespace spanlet::cli {

inline constexpr size_t COMMON_DATE = 10;                    // YYYY-MM-DD
inline constexpr size_t COMMON_LINE = 2 * COMMON_DATE + 2;   // with its tab and line feed
inline constexpr size_t BATCH_LINES = 8;
inline constexpr size_t BATCH_BYTES = BATCH_LINES * COMMON_LINE;
// A batch reads this many bytes past its lines (the last date's sixteen bytes).
inline constexpr size_t BATCH_OVERREAD = 16 - COMMON_DATE - 1;
// The most a batch's rows take: each line echoed, a tab, a number, a line feed.
inline constexpr size_t BATCH_ROOM = BATCH_LINES * (COMMON_LINE + INT32_ROOM + 1);

struct batch_options {
    bool number_only;  // the difference alone, or the line echoed before it
    bool inclusive;    // both ends counted
};

// What a run of batches did: how many bytes of lines it answered (whole
// batches), where their rows end, and whether it stopped at a batch it left
// (one that holds another line) rather than at the end of the bytes or of
// the room.
struct batch_run {
    size_t read;
    char* end;
    bool left;
};

// Answers batch after batch of the `size` bytes at `lines`, while a whole
// batch remains (and BATCH_OVERREAD bytes after it) and room for its rows:
// BATCH_LINES lines of BATCH_BYTES bytes, each the common line naming two
// real dates of 1400-9999. The rows are written at `out`, which has `room`
// bytes; past `end`, what is there is to be ignored.
using batch_answerer = batch_run (*)(const char* lines, size_t size, char* out, size_t room, batch_options how);

// The fastest way this processor has, chosen once at run time: vector
// instructions where the processor has them, else the same arithmetic in
// whatever the build's baseline holds.
batch_answerer pick_batch_answerer();

// The portable way, which every processor runs: for the tests to hold the
// two equal.
batch_run answer_batches_portable(const char* lines, size_t size, char* out, size_t room, batch_options how);

}  // namespace spanlet::cli
