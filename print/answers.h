#pragma once
// The answers of batch mode, one row for every line read, written in blocks:
//   DATE1<TAB>DATE2<TAB>DIFFERENCE
//   DATE1<TAB>DATE2<TAB>M/D/Y is not a valid date
//   <TAB><TAB>not a pair of dates           (no two fields, or a NUL byte)
//   <TAB><TAB>a date that cannot be echoed  (a tab, CR or LF in a field)
// and number-only, the difference alone, or an empty line.

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string_view>
#include <vector>

#include "io/fd_io.h"
#include "print/messages.h"
#include "io/numbers.h"
#include "print/answer_text.h"
#include "print/output.h"
#include "judge/pair_rule.h"

namespace spanlet::cli {

// Text gathered in a block and written to `sink` when the block is full and
// on flush(); the messages said meanwhile go out with it.
class block_writer {
public:
    block_writer(byte_sink& sink, message_log& messages);

    void append(std::string_view text) {
        if (text.size() > buffer_.size() - used_) {
            flush();
            if (text.size() > buffer_.size()) {
                write(text.data(), text.size());
                return;
            }
        }
        if (!text.empty())  // an empty view may hold no pointer at all
            std::memcpy(buffer_.data() + used_, text.data(), text.size());
        used_ += text.size();
    }

    // An answer, then `ending` (at most two bytes: a line feed, CR LF or
    // nothing).
    void append_answer(const answer& value, std::string_view ending = "\n") {
        char* out = write_answer(room(ANSWER_ROOM + 2), value);
        for (const char c : ending)
            *out++ = c;
        keep(out);
    }

    // For text written in place: `size` bytes of room (at most a block) at
    // the end of the block, then keep() with the end of what was written.
    char* room(size_t size) {
        if (size > buffer_.size() - used_)
            flush();
        return buffer_.data() + used_;
    }
    // The same, and in `available` all the room there is (at least `size`).
    char* room(size_t size, size_t& available) {
        char* at = room(size);
        available = buffer_.size() - used_;
        return at;
    }
    void keep(const char* end) { used_ = static_cast<size_t>(end - buffer_.data()); }

    void flush();
    [[nodiscard]] bool failed() const { return failed_; }
    [[nodiscard]] int error() const { return error_; }

private:
    void write(const char* data, size_t size);

    byte_sink& sink_;
    message_log& messages_;
    std::vector<char> buffer_;
    size_t used_ = 0;
    bool failed_ = false;
    int error_ = 0;
};

class answer_writer {
public:
    answer_writer(block_writer& out, bool number_only) : out_(out), number_only_(number_only) {}

    // The row for a pair whose texts were `first` and `second`.
    void pair(std::string_view first, std::string_view second, const pair_verdict& verdict) {
        if (verdict.answered()) {
            difference(first, second, verdict.result);
            return;
        }
        if (number_only_) {
            out_.append("\n");
            return;
        }
        echo(first, second);
        char message[NOT_VALID_ROOM];
        out_.append({message, not_valid_text(message, verdict.shown_refusal())});
    }

    void difference(std::string_view first, std::string_view second, const answer& value) {
        if (!number_only_)
            echo(first, second);
        out_.append_answer(value);
    }

    // A line that holds no pair of dates.
    void not_a_pair() {
        out_.append(number_only_ ? std::string_view("\n") : std::string_view("\t\tnot a pair of dates\n"));
    }
    // A pair whose texts the row cannot hold: a tab or a line break in one.
    void not_echoed() {
        out_.append(number_only_ ? std::string_view("\n") : std::string_view("\t\ta date that cannot be echoed\n"));
    }
    // Whether the row can echo `text` as one field.
    [[nodiscard]] bool echoes(std::string_view text) const {
        return number_only_ || text.find_first_of("\t\r\n") == std::string_view::npos;
    }

private:
    void echo(std::string_view first, std::string_view second) {
        out_.append(first);
        out_.append("\t");
        out_.append(second);
        out_.append("\t");
    }

    block_writer& out_;
    bool number_only_;
};

}  // namespace spanlet::cli
