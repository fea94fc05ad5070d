#include "frame/line_split.h"

#include "frame/csv_split.h"

#include <cerrno>
#include <cstring>
#include <utility>

namespace spanlet::cli {
namespace {

constexpr std::string_view BYTE_ORDER_MARK = "\xEF\xBB\xBF";

size_t count_of(std::string_view text, char c) {
    size_t count = 0;
    for (size_t at = text.find(c); at != std::string_view::npos; at = text.find(c, at + 1))
        ++count;
    return count;
}

split_line split_at(std::string_view line, char delimiter) {
    const size_t at = line.find(delimiter);
    if (at == std::string_view::npos)
        return {{}, {}, 1};
    const std::string_view rest = line.substr(at + 1);
    if (rest.find(delimiter) != std::string_view::npos)
        return {{}, {}, 2 + count_of(rest, delimiter)};
    return {line.substr(0, at), rest, 2};
}

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

}  // namespace

split_line split_fields(std::string_view line, const char* delimiter) {
    if (delimiter != nullptr)
        return split_at(line, delimiter[0]);
    if (line.find('\t') != std::string_view::npos)
        return split_at(line, '\t');
    return split_at_blanks(line);
}

line_buffer::line_buffer(size_t limit, bool quoted_records, bool at_start)
    : limit_(limit), start_settled_(!at_start), quoted_records_(quoted_records) {}

// The first line feed of `size` bytes at `from` that ends the item: any, or
// for records one outside quotes, the quotes counted as they pass.
const void* line_buffer::find_end(const char* from, size_t size) {
    if (!quoted_records_)
        return std::memchr(from, '\n', size);
    const char* const end = from + size;
    while (from != end) {
        const auto* feed = static_cast<const char*>(std::memchr(from, '\n', static_cast<size_t>(end - from)));
        const char* stop = feed != nullptr ? feed : end;
        in_quotes_ = in_quotes_ != odd_quotes(from, stop);
        if (feed == nullptr)
            return nullptr;
        if (!in_quotes_)
            return feed;
        ++feeds_in_item_;
        from = feed + 1;
    }
    return nullptr;
}

// Whether `size` bytes at `from`, with no line feed yet, are more than a line
// may hold: a last byte CR may be the start of its CR LF.
bool line_buffer::over_limit(const char* from, size_t size) const {
    return size > limit_ + 1 || (size == limit_ + 1 && from[size - 1] != '\r');
}

// False while the first bytes could still be the start of a byte order mark.
bool line_buffer::settle_start() {
    const std::string_view head(buffer_.data() + begin_, end_ - begin_);
    if (head.size() < BYTE_ORDER_MARK.size() && !at_end_ && BYTE_ORDER_MARK.substr(0, head.size()) == head)
        return false;
    if (head.substr(0, BYTE_ORDER_MARK.size()) == BYTE_ORDER_MARK)
        begin_ += BYTE_ORDER_MARK.size();
    start_settled_ = true;
    return true;
}

line_buffer::item line_buffer::next(std::string_view& line) {
    if (!start_settled_ && !settle_start())
        return item::need_more;
    const char* begin = buffer_.data() + begin_;
    const size_t available = end_ - begin_;
    const void* feed = available == scanned_ ? nullptr : find_end(begin + scanned_, available - scanned_);
    if (feed != nullptr) {
        const auto length = static_cast<size_t>(static_cast<const char*>(feed) - begin);
        begin_ += length + 1;
        scanned_ = 0;
        in_quotes_ = false;
        ended_in_quotes_ = false;
        ended_by_feed_ = true;
        // The CR of a CR LF is the line's end, not the line: not counted.
        const bool before_cr = length > 0 ? begin[length - 1] == '\r' : dropping_ && dropped_cr_;
        ended_by_crlf_ = before_cr;
        feeds_inside_ = std::exchange(feeds_in_item_, 0);
        if (dropping_ || length - (length > 0 && before_cr ? 1 : 0) > limit_) {
            dropping_ = false;
            return item::too_long;
        }
        line = {begin, length};
        return item::line;
    }
    if (dropping_ || over_limit(begin, available)) {
        // Too long already: drop what was read of it, and look for its end.
        if (available != 0)
            dropped_cr_ = begin[available - 1] == '\r';
        dropping_ = true;
        begin_ = end_;
        scanned_ = 0;
    } else {
        scanned_ = available;
    }
    if (!at_end_)
        return item::need_more;
    if (dropping_) {
        dropping_ = false;
        ended_at_input_end(false);
        return item::too_long;
    }
    if (available == 0)
        return item::end;
    line = {begin, available};  // a last line without a line feed
    begin_ = end_;
    scanned_ = 0;
    ended_at_input_end(in_quotes_);
    return item::line;
}

void line_buffer::ended_at_input_end(bool in_quotes) {
    ended_in_quotes_ = in_quotes;
    ended_by_feed_ = false;
    ended_by_crlf_ = false;
    in_quotes_ = false;
    feeds_inside_ = std::exchange(feeds_in_item_, 0);
}

char* line_buffer::room(size_t& size) {
    if (buffer_.size() - end_ < BLOCK_SIZE && begin_ != 0) {
        // Move what is kept (less than the limit: part of a line) to the front.
        std::memmove(buffer_.data(), buffer_.data() + begin_, end_ - begin_);
        end_ -= begin_;
        begin_ = 0;
    }
    if (buffer_.size() - end_ < BLOCK_SIZE) {
        // Part of a line is held (at most the limit), and a block behind it.
        const size_t largest = limit_ + BLOCK_SIZE;
        const size_t doubled = buffer_.empty() ? 2 * BLOCK_SIZE : 2 * buffer_.size();
        buffer_.resize(doubled < largest ? doubled : largest);
    }
    const size_t free = buffer_.size() - end_;
    size = free < BLOCK_SIZE ? free : BLOCK_SIZE;
    return buffer_.data() + end_;
}

void line_buffer::added(size_t count) { end_ += count; }

void line_buffer::end_input() { at_end_ = true; }

bool line_buffer::read_from(byte_source& input, int& error) {
    size_t size = 0;
    char* into = room(size);
    const long got = input.read(into, size);
    if (got > 0) {
        added(static_cast<size_t>(got));
        return true;
    }
    end_input();
    if (got < 0) {
        error = errno;
        return false;
    }
    return true;
}

std::string_view line_buffer::unread() const {
    if (!start_settled_ || dropping_)
        return {};
    return {buffer_.data() + begin_, end_ - begin_};
}

void line_buffer::skip(size_t count) {
    begin_ += count;
    scanned_ = 0;
    in_quotes_ = false;
}

}  // namespace spanlet::cli
