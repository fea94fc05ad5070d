#pragma once
// Cutting input into lines (or CSV records), and lines into the two fields
// of a pair. No system input or output: bytes come from a byte_source, so
// that the tests and the fuzzers drive them with any bytes in chunks of any
// size.

#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

#include "io/fd_io.h"

namespace spanlet::cli {

// Bytes are read in blocks of this size.
inline constexpr size_t BLOCK_SIZE = size_t{64} * 1024;

// The input's bytes, read in blocks, and the lines they hold. A line is
// handed out without its line feed; the last line needs none. A line longer
// than the limit (its CR LF or line feed not counted) is never held whole: its bytes are dropped as they come,
// and it is handed out as too_long when its end is reached. A byte order
// mark (EF BB BF) at the very start of the input is skipped. Memory stays
// below the limit and two blocks whatever the input. Everything is kept as
// positions in the buffer, which moves when it grows.
//
// With `quoted_records`, a line feed between double quotes (an odd number of
// them since the line began) does not end the line: the items are the
// records of a CSV file, each as many lines as its quoted fields hold.
class line_buffer {
public:
    // Not `at_start`: the bytes are a later part of an input, and a byte
    // order mark at their start is no mark.
    explicit line_buffer(size_t limit, bool quoted_records = false, bool at_start = true);

    enum class item : uint8_t {
        line,       // a line, in `line`
        too_long,   // a line longer than the limit, now behind us
        need_more,  // no whole line yet: read more (room, added) or end_input
        end,        // the end of the input, everything handed out
    };
    item next(std::string_view& line);

    // Where the next bytes of the input go: at least one byte, at most a
    // block. May grow the buffer, and so throw std::bad_alloc.
    char* room(size_t& size);
    void added(size_t count);  // `count` bytes were read into room()
    void end_input();          // no more bytes will come
    // room(), a read from `input`, then added() or end_input(); false, with
    // the system's error in `error`, when the read failed.
    bool read_from(byte_source& input, int& error);
    // With quoted_records: whether the last item handed out ended inside
    // quotes, at the end of the input.
    [[nodiscard]] bool ended_in_quotes() const { return ended_in_quotes_; }
    // Whether the last item handed out ended in a line feed (the last line
    // of the input needs none).
    [[nodiscard]] bool ended_by_feed() const { return ended_by_feed_; }
    // Whether that line feed came after a CR.
    [[nodiscard]] bool ended_by_crlf() const { return ended_by_crlf_; }
    // With quoted_records: how many line feeds inside quotes the last item
    // held, for the line numbers of the items after it.
    [[nodiscard]] uint64_t feeds_inside() const { return feeds_inside_; }

    // For a caller that recognises whole lines in it without a search for
    // their end: what was read and not yet handed out (empty while the start
    // of the input or the rest of an over-long line is not settled), and
    // handing out its first `count` bytes, which end in the line's feed.
    [[nodiscard]] std::string_view unread() const;
    void skip(size_t count);

private:
    bool settle_start();
    [[nodiscard]] bool over_limit(const char* from, size_t size) const;
    // The item handed out ends at the end of the input, not at a line feed;
    // `in_quotes`: inside quotes there.
    void ended_at_input_end(bool in_quotes);
    const void* find_end(const char* from, size_t size);

    size_t limit_;
    std::vector<char> buffer_;
    size_t begin_ = 0;    // where the next line starts
    size_t end_ = 0;      // where what was read ends
    size_t scanned_ = 0;  // bytes after begin_ known to hold no line feed
    bool start_settled_ = false;  // the byte order mark, if any, is behind us
    bool dropping_ = false;       // inside a line longer than the limit
    bool at_end_ = false;
    bool quoted_records_;
    bool in_quotes_ = false;        // after an odd number of quotes in the record so far
    bool ended_in_quotes_ = false;
    bool ended_by_feed_ = false;
    bool ended_by_crlf_ = false;
    bool dropped_cr_ = false;  // the last byte dropped of an over-long line was a CR
    uint64_t feeds_in_item_ = 0;  // so far, in the item being looked for
    uint64_t feeds_inside_ = 0;   // in the item last handed out
};

// The two date texts of a line, or how many fields it has instead.
struct split_line {
    std::string_view first, second;
    size_t fields;
};

// At `delimiter`, which must occur once; or, with none (nullptr), at the tab
// when the line holds one, or else at runs of spaces, leading and trailing
// spaces ignored.
split_line split_fields(std::string_view line, const char* delimiter);

}  // namespace spanlet::cli
