#include "cli/line_stream.h"

#include <bit>
#include <cerrno>
#include <cstdint>
#include <cstring>
#include <string_view>
#include <vector>

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#else
#include <fcntl.h>
#include <unistd.h>
#endif

#include "cli/dates.h"
#include "cli/output.h"
#include "date/calendar.h"
#include "date/date_text.h"

namespace spanlet::cli {
namespace {

constexpr size_t BLOCK_SIZE = size_t{64} * 1024;  // reads of 64 KiB beat larger ones and mmap

// Input and output as file descriptors, with the system's own calls: a read
// returns what a pipe holds at once, where fread would wait to fill its
// block, and the answers are already in blocks of their own.
#ifdef _WIN32
int open_input(const char* path) { return _open(path, _O_RDONLY | _O_BINARY); }
int standard_input() {
    _setmode(0, _O_BINARY);  // CR LF is read as it stands
    return 0;
}
long read_input(int fd, char* into, size_t size) {
    return _read(fd, into, static_cast<unsigned>(size < BLOCK_SIZE * 1024 ? size : BLOCK_SIZE * 1024));
}
void close_input(int fd) { _close(fd); }
long write_output(int fd, const char* data, size_t size) {
    return _write(fd, data, static_cast<unsigned>(size < BLOCK_SIZE * 1024 ? size : BLOCK_SIZE * 1024));
}
#else
int open_input(const char* path) { return open(path, O_RDONLY); }
int standard_input() { return STDIN_FILENO; }
long read_input(int fd, char* into, size_t size) {
    ssize_t got = 0;
    do {
        got = read(fd, into, size);
    } while (got < 0 && errno == EINTR);
    return static_cast<long>(got);
}
void close_input(int fd) { close(fd); }
long write_output(int fd, const char* data, size_t size) {
    ssize_t put = 0;
    do {
        put = write(fd, data, size);
    } while (put < 0 && errno == EINTR);
    return static_cast<long>(put);
}
#endif

// The digits of a value below 10^8, written at `out` (eight bytes are
// written whatever the length); returns their end. All eight digits are made
// at once in one 64-bit word, a byte each, most significant first in memory:
// the value is split into two halves of four digits, each half into two
// pairs, each pair into two digits, by multiplications that divide every lane
// of the word at once (x * 10486 >> 20 is x / 100 for x < 10^4, x * 103 >> 10
// is x / 10 for x < 100). Leading zeros are then shifted out.
char* eight_digits(char* out, uint32_t value) {
    if constexpr (std::endian::native != std::endian::little)
        return format_padded(out, static_cast<int32_t>(value), 1);
    const uint64_t halves = (value / 10000) | (uint64_t{value % 10000} << 32);  // lanes [0, 9999]
    const uint64_t hundreds = ((halves * 10486) >> 20) & 0x0000007F0000007F;   // lanes [0, 99]
    const uint64_t pairs = hundreds | ((halves - 100 * hundreds) << 16);        // lanes [0, 99]
    const uint64_t tens = ((pairs * 103) >> 10) & 0x000F000F000F000F;          // lanes [0, 9]
    const uint64_t digits = tens | ((pairs - 10 * tens) << 8);                  // lanes [0, 9]
    const int leading_zeros = value == 0 ? 7 : std::countr_zero(digits) / 8;   // [0, 7]
    const uint64_t text = (digits + 0x3030303030303030) >> (8 * leading_zeros);
    std::memcpy(out, &text, sizeof text);
    return out + 8 - leading_zeros;
}

// The answers, written in blocks of BLOCK_SIZE; a text larger than a block
// goes straight through.
class block_writer {
public:
    explicit block_writer(int fd) : fd_(fd), buffer_(BLOCK_SIZE) {}

    void append(std::string_view text) {
        if (text.size() > buffer_.size() - used_) {
            flush();
            if (text.size() > buffer_.size()) {
                write(text.data(), text.size());
                return;
            }
        }
        std::memcpy(buffer_.data() + used_, text.data(), text.size());
        used_ += text.size();
    }
    void append(char c) { append(std::string_view(&c, 1)); }

    // A number and a line feed.
    void append_number(int32_t value) {
        constexpr size_t NUMBER_ROOM = 16;  // "-2147483648\n" and what eight_digits may write past it
        if (NUMBER_ROOM > buffer_.size() - used_)
            flush();
        char* out = buffer_.data() + used_;
        // The magnitude in unsigned arithmetic, where INT32_MIN has one.
        const uint32_t magnitude = value < 0 ? 0U - static_cast<uint32_t>(value) : static_cast<uint32_t>(value);
        if (magnitude >= 100'000'000) {
            out = format_padded(out, value, 1);  // no difference of two dates is this large
        } else {
            *out = '-';  // kept only for a negative value: no branch to mispredict on the sign
            out += value < 0 ? 1 : 0;
            out = eight_digits(out, magnitude);
        }
        *out++ = '\n';
        used_ = static_cast<size_t>(out - buffer_.data());
    }

    void flush() {
        write(buffer_.data(), used_);
        used_ = 0;
    }
    [[nodiscard]] bool failed() const { return failed_; }
    [[nodiscard]] int error() const { return error_; }

private:
    void write(const char* data, size_t size) {
        while (!failed_ && size != 0) {
            const long put = write_output(fd_, data, size);
            if (put <= 0) {
                failed_ = true;
                error_ = errno;
                return;
            }
            data += put;
            size -= static_cast<size_t>(put);
        }
    }

    int fd_;
    std::vector<char> buffer_;
    size_t used_ = 0;
    bool failed_ = false;
    int error_ = 0;
};

// The lines of a file, read in blocks. A line is handed out without its line
// feed; the last line needs none. When the input has nothing more at once (a
// pipe from a slow writer, a terminal), what was answered so far is written
// out before waiting for more.
class line_source {
public:
    line_source(int fd, block_writer& answers) : fd_(fd), answers_(answers), buffer_(BLOCK_SIZE) {}

    // False at the end of the input, or when it could not be read (failed()).
    bool next(std::string_view& line) {
        for (;;) {
            const char* begin = buffer_.data() + begin_;
            const size_t available = end_ - begin_;
            const void* feed = std::memchr(begin + scanned_, '\n', available - scanned_);
            if (feed != nullptr) {
                const auto length = static_cast<size_t>(static_cast<const char*>(feed) - begin);
                line = {begin, length};
                begin_ += length + 1;
                scanned_ = 0;
                return true;
            }
            scanned_ = available;
            if (at_end_) {
                if (available == 0)
                    return false;
                line = {begin, available};  // a last line without a line feed
                begin_ = end_;
                scanned_ = 0;
                return true;
            }
            fill();
        }
    }

    // What was read and not yet handed out: part of a line, or several.
    [[nodiscard]] std::string_view unread() const { return {buffer_.data() + begin_, end_ - begin_}; }

    // Hands out the first `length` bytes of unread() as a line, which the
    // caller has seen to end in a line feed and to hold no other.
    void skip_line(size_t length) {
        begin_ += length;
        scanned_ = 0;
    }

    // Whether `line`, the last one handed out, holds a NUL byte. Each part
    // of the input is searched once, whatever the number of lines.
    bool holds_nul(std::string_view line) {
        const char* begin = line.data();
        const char* end = begin + line.size();
        if (next_nul_ == nullptr || next_nul_ < begin) {
            const char* buffer_end = buffer_.data() + end_;
            next_nul_ = static_cast<const char*>(std::memchr(begin, '\0', static_cast<size_t>(buffer_end - begin)));
            if (next_nul_ == nullptr)
                next_nul_ = buffer_end;
        }
        return next_nul_ < end;
    }

    [[nodiscard]] bool failed() const { return failed_; }
    [[nodiscard]] int error() const { return error_; }

private:
    // Moves the unfinished line to the front, grows the buffer when that line
    // fills it, and reads the next block behind it.
    void fill() {
        const size_t kept = end_ - begin_;
        next_nul_ = nullptr;
        if (begin_ != 0) {
            std::memmove(buffer_.data(), buffer_.data() + begin_, kept);
            begin_ = 0;
            end_ = kept;
        }
        if (buffer_.size() - end_ < BLOCK_SIZE)
            buffer_.resize(buffer_.size() * 2);
        if (last_read_short_)
            answers_.flush();
        const size_t room = buffer_.size() - end_;
        const long got = read_input(fd_, buffer_.data() + end_, room);
        if (got <= 0) {
            at_end_ = true;
            if (got < 0) {
                failed_ = true;
                error_ = errno;
            }
            return;
        }
        end_ += static_cast<size_t>(got);
        last_read_short_ = static_cast<size_t>(got) < room;
    }

    int fd_;
    block_writer& answers_;
    std::vector<char> buffer_;
    size_t begin_ = 0;    // where the next line starts
    size_t end_ = 0;      // where what was read ends
    size_t scanned_ = 0;  // bytes after begin_ known to hold no line feed
    const char* next_nul_ = nullptr;  // the first NUL at or after the last line, or the end
    bool at_end_ = false;
    bool last_read_short_ = false;
    bool failed_ = false;
    int error_ = 0;
};

// The two date texts of a line, or how many fields it has instead.
struct split_line {
    std::string_view first, second;
    size_t fields;
};

size_t count_of(std::string_view text, char c) {
    size_t count = 0;
    for (const char* at = text.data(), *end = at + text.size();
         (at = static_cast<const char*>(std::memchr(at, c, static_cast<size_t>(end - at)))) != nullptr;
         ++at)
        ++count;
    return count;
}

// At `delimiter`, which must occur once.
split_line split_at(std::string_view line, char delimiter) {
    const size_t at = line.find(delimiter);
    if (at == std::string_view::npos)
        return {{}, {}, 1};
    const std::string_view rest = line.substr(at + 1);
    if (rest.find(delimiter) != std::string_view::npos)
        return {{}, {}, 2 + count_of(rest, delimiter)};
    return {line.substr(0, at), rest, 2};
}

// At runs of spaces, with leading and trailing spaces ignored.
split_line split_at_blanks(std::string_view line) {
    const size_t first = line.find_first_not_of(' ');
    if (first == std::string_view::npos)
        return {{}, {}, 0};
    line = line.substr(first, line.find_last_not_of(' ') - first + 1);
    const size_t gap = line.find(' ');
    if (gap == std::string_view::npos)
        return {{}, {}, 1};
    const std::string_view rest = line.substr(line.find_first_not_of(' ', gap));
    if (rest.find(' ') != std::string_view::npos) {
        size_t words = 2;
        for (size_t i = 1; i < rest.size(); ++i)
            words += rest[i] != ' ' && rest[i - 1] == ' ';
        return {{}, {}, words};
    }
    return {line.substr(0, gap), rest, 2};
}

class line_answerer {
public:
    line_answerer(const options& opts, const char* name, block_writer& out)
        : opts_(opts), reader_(opts), name_(name), out_(out) {}

    // Writes the answer to one line; false when the line was refused.
    // `has_nul` says whether the line holds a NUL byte.
    bool answer(std::string_view line, uint64_t number, bool has_nul) {
        if (!line.empty() && line.back() == '\r')
            line.remove_suffix(1);
        date first{};
        date second{};
        if (canonical_pair(line, first, second)) {
            answer_pair(line.substr(0, CANONICAL_LENGTH), line.substr(CANONICAL_LENGTH + 1), first, second);
            return true;
        }
        if (has_nul) {
            report_line(where(number), "a NUL byte in the line");
            return refuse_whole_line();
        }
        const split_line pair = split(line);
        if (pair.fields != 2) {
            report_fields(where(number), pair.fields);
            return refuse_whole_line();
        }
        const date_reading a = reader_.read(pair.first);
        const date_reading b = reader_.read(pair.second);
        if (a.reason == refusal::none && b.reason == refusal::none) {
            answer_pair(pair.first, pair.second, a.value, b.value);
            return true;
        }
        const bool first_refused = a.reason != refusal::none;
        const date_reading& refused = first_refused ? a : b;
        report_refusal(where(number), first_refused ? pair.first : pair.second, refused);
        if (opts_.number_only) {
            out_.append('\n');
        } else {
            echo(pair.first, pair.second);
            char message[64];
            out_.append(std::string_view(message, not_valid_text(message, refused.value)));
        }
        return false;
    }

    // Answers the line at the head of `unread` when it is the common line
    // YYYY-MM-DD<TAB>YYYY-MM-DD, ended by LF or CR LF, without searching for
    // its end: returns its length with the line end, or 0 to go the usual way.
    size_t answer_canonical(std::string_view unread) {
        constexpr size_t LINE = 2 * CANONICAL_LENGTH + 1;
        if (unread.size() <= LINE + 1)
            return 0;
        const size_t feed = unread[LINE] == '\r' ? LINE + 1 : LINE;
        date first{};
        date second{};
        if (unread[feed] != '\n' || !canonical_pair(unread.substr(0, LINE), first, second))
            return 0;
        answer_pair(unread.substr(0, CANONICAL_LENGTH), unread.substr(CANONICAL_LENGTH + 1, CANONICAL_LENGTH),
                    first, second);
        return feed + 1;
    }

private:
    [[nodiscard]] place where(uint64_t number) const { return {name_, number}; }

    [[nodiscard]] split_line split(std::string_view line) const {
        if (opts_.delimiter != nullptr)
            return split_at(line, opts_.delimiter[0]);
        if (line.find('\t') != std::string_view::npos)
            return split_at(line, '\t');
        return split_at_blanks(line);
    }

    // The common line, YYYY-MM-DD<TAB>YYYY-MM-DD, read without splitting it.
    static constexpr size_t CANONICAL_LENGTH = 10;
    static bool canonical_pair(std::string_view line, date& first, date& second) {
        return line.size() == 2 * CANONICAL_LENGTH + 1 && line[CANONICAL_LENGTH] == '\t' &&
               read_canonical_spelling(line.substr(0, CANONICAL_LENGTH), first) &&
               read_canonical_spelling(line.substr(CANONICAL_LENGTH + 1), second);
    }

    void answer_pair(std::string_view first_text, std::string_view second_text, const date& first,
                     const date& second) {
        if (!opts_.number_only)
            echo(first_text, second_text);
        out_.append_number(counted(days_between(first, second), opts_.inclusive));
    }

    void echo(std::string_view first_text, std::string_view second_text) {
        out_.append(first_text);
        out_.append('\t');
        out_.append(second_text);
        out_.append('\t');
    }

    // A line that holds no pair gets a row with no number in it.
    bool refuse_whole_line() {
        out_.append(opts_.number_only ? std::string_view("\n") : std::string_view("\t\tnot a pair of dates\n"));
        return false;
    }

    const options& opts_;
    date_reader reader_;
    const char* name_;
    block_writer& out_;
};

}  // namespace

int run_line_stream(const options& opts, int output_fd) {
    const bool from_stdin = std::strcmp(opts.file, "-") == 0;
    const char* name = from_stdin ? "(standard input)" : opts.file;
    const int fd = from_stdin ? standard_input() : open_input(opts.file);
    if (fd < 0) {
        report_file_error(name, "", errno);
        return EXIT_FAILED;
    }

    block_writer out(output_fd);
    line_source lines(fd, out);
    line_answerer answerer(opts, name, out);
    bool all_answered = true;
    for (uint64_t number = 1; !out.failed(); ++number) {
        const size_t common = answerer.answer_canonical(lines.unread());
        if (common != 0) {
            lines.skip_line(common);
            continue;
        }
        std::string_view line;
        if (!lines.next(line))
            break;
        all_answered &= answerer.answer(line, number, lines.holds_nul(line));
    }
    out.flush();

    int status = all_answered ? EXIT_OK : EXIT_FAILED;
    if (lines.failed()) {
        report_file_error(name, "read error: ", lines.error());
        status = EXIT_FAILED;
    }
    if (out.failed()) {
        report_write_error(out.error());
        status = EXIT_FAILED;
    }
    if (!from_stdin)
        close_input(fd);
    return status;
}

}  // namespace spanlet::cli
