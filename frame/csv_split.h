#pragma once
// The fields of a CSV record, as RFC 4180 writes them: separated by a
// delimiter, optionally enclosed in double quotes, a quote inside a quoted
// field written twice; a quoted field may hold the delimiter, CR and LF.
// Fields are positions in the record, never copies; a value is copied only
// when a doubled quote must be made single. A quote anywhere in a field
// opens a quoted part, which the next lone quote closes.

#include <bit>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>

namespace spanlet::cli {

namespace csv_detail {

// Eight bytes at a time: a word's bytes, the first in the lowest, and the
// top bit of each byte that equals a given one, exactly for every byte.
inline constexpr uint64_t ONES = 0x0101010101010101;
inline constexpr uint64_t LOW_SEVEN = 0x7F7F7F7F7F7F7F7F;
inline constexpr bool WORDS_WORK = std::endian::native == std::endian::little;

inline uint64_t word_at(const char* at) {
    uint64_t word = 0;
    std::memcpy(&word, at, sizeof word);
    return word;
}

inline uint64_t equal_bytes(uint64_t word, char c) {
    const uint64_t x = word ^ (ONES * static_cast<unsigned char>(c));
    return ~(((x & LOW_SEVEN) + LOW_SEVEN) | x | LOW_SEVEN);
}

// The bytes [at, end), fewer than eight, in the low bytes of a word, the
// rest zero; nothing before `begin` or from `end` on is read. Where the
// text is eight bytes long or more, its last eight bytes are read at once
// and the ones already seen shifted out.
inline uint64_t tail_word(const char* begin, const char* at, const char* end) {
    const auto count = static_cast<int>(end - at);  // [0, 7]
    if (count == 0)
        return 0;
    if (end - begin >= 8)
        return word_at(end - 8) >> (8 * (8 - count));
    uint64_t word = 0;
    for (int k = count - 1; k >= 0; --k)
        word = (word << 8) | static_cast<unsigned char>(at[k]);
    return word;
}

// Eight bytes from `at`, of the text [begin, end): fewer before its end,
// the rest zero.
inline uint64_t word_before(const char* begin, const char* at, const char* end) {
    return end - at >= 8 ? word_at(at) : tail_word(begin, at, end);
}

}  // namespace csv_detail

// The record is read eight bytes at a time: a mask of its delimiters
// outside quotes, found without a branch per byte, hands out the fields.
class csv_fields {
public:
    // `record` without its line ending.
    csv_fields(std::string_view record, char delimiter)
        : record_(record.data()), start_(record.data()), word_(record.data()), end_(record.data() + record.size()),
          delimiter_(delimiter) {
        load();
    }

    // Whether a field is left. A record always has one field at least, an
    // empty record one empty field.
    [[nodiscard]] bool more() const { return !done_; }
    // The next field as written, quotes and all; more() must be true. Given
    // back by value, in registers: read back from memory it would wait for
    // its own store.
    std::string_view next();

private:
    void load();

    const char* record_;
    const char* start_;  // of the next field
    const char* word_;   // the eight bytes that `delimiters_` covers
    const char* end_;
    uint64_t delimiters_ = 0;  // the top bit of each delimiter outside quotes in word_, not yet handed out
    uint64_t in_quotes_ = 0;   // 1 after an odd number of quotes before the word after word_
    char delimiter_;
    bool done_ = false;
};

// The mask of the word at word_: its delimiters (top bits) that stand
// outside quotes. The quotes' running count, a byte each (at most 8, so no
// byte carries into the next), is made by one multiplication; its lowest bit
// says whether a byte lies inside quotes.
inline void csv_fields::load() {
    using namespace csv_detail;
    if constexpr (WORDS_WORK) {
        const uint64_t word = word_before(record_, word_, end_);
        const uint64_t quotes = equal_bytes(word, '"') >> 7;
        const uint64_t counts = quotes * ONES;
        const uint64_t inside = (counts ^ (in_quotes_ * ONES)) & ONES;
        const uint64_t valid = end_ - word_ >= 8 ? ~uint64_t{0} : (uint64_t{1} << (8 * (end_ - word_))) - 1;
        delimiters_ = equal_bytes(word, delimiter_) & ~(inside << 7) & valid;
        in_quotes_ = (in_quotes_ ^ (counts >> 56)) & 1;
    } else {
        // Byte by byte where words do not hold bytes in reading order.
        delimiters_ = 0;
        for (int k = 0; k < 8 && word_ + k < end_; ++k) {
            if (word_[k] == '"')
                in_quotes_ ^= 1;
            else if (word_[k] == delimiter_ && in_quotes_ == 0)
                delimiters_ |= uint64_t{0x80} << (8 * k);
        }
    }
}

inline std::string_view csv_fields::next() {
    const char* const start = start_;
    while (delimiters_ == 0) {
        if (end_ - word_ <= 8) {  // the last word: the last field
            done_ = true;
            start_ = end_;
            return {start, static_cast<size_t>(end_ - start)};
        }
        word_ += 8;
        load();
    }
    const char* delimiter = word_ + std::countr_zero(delimiters_) / 8;
    delimiters_ &= delimiters_ - 1;
    start_ = delimiter + 1;
    return {start, static_cast<size_t>(delimiter - start)};
}

// Whether [from, to) holds an odd number of double quotes. The C library's
// search passes over the bytes between quotes many at a time; a record has
// few quotes.
inline bool odd_quotes(const char* from, const char* to) {
    bool odd = false;
    while (from != to) {
        const void* quote = std::memchr(from, '"', static_cast<size_t>(to - from));
        if (quote == nullptr)
            break;
        odd = !odd;
        from = static_cast<const char*>(quote) + 1;
    }
    return odd;
}

namespace csv_detail {

// Whether `raw` holds a double quote.
inline bool holds_quote(std::string_view raw) {
    const char* at = raw.data();
    const char* const end = at + raw.size();
    const char* const begin = at;
    uint64_t flags = 0;
    for (; end - at >= 8; at += 8)
        flags |= equal_bytes(word_at(at), '"');
    if (at != end)
        flags |= equal_bytes(tail_word(begin, at, end), '"') & ((uint64_t{1} << (8 * (end - at))) - 1);
    return flags != 0;
}

}  // namespace csv_detail

// The value of a field as written: the quotes of its quoted parts removed,
// a doubled quote inside them made one. In `scratch` when a quote had to be
// taken out from inside it, else a part of `raw`.
std::string_view csv_quoted_value(std::string_view raw, std::string& scratch);
inline std::string_view csv_value(std::string_view raw, std::string& scratch) {
    return csv_detail::holds_quote(raw) ? csv_quoted_value(raw, scratch) : raw;
}


// `text` as one field: as it is, or in quotes with its quotes doubled when
// it holds the delimiter, a quote, CR or LF.
std::string csv_field_text(std::string_view text, char delimiter);

}  // namespace spanlet::cli
