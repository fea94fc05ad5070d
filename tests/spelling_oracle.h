#pragma once
// The spellings spanlet reads, stated again from the README's rules as a small
// grammar, with none of the reader's code: no canonical text, no layouts. The
// tests and the date-text fuzzer require the reader to agree with it on every
// text.
//
//   text      = "today" (any case)
//             | D D D D D D D D [ ("T" | "t") ANY* ]          year month day
//             | number SEP number SEP last                    six characters at least
//   number    = [ BLANK | "+" ] D+
//   last      = BLANK* [ "+" ] D+ [ tail ]
//   tail      = ("T" | "t") [ D ANY* ] | (any ASCII but a letter or digit) ANY*
//   SEP       = any character but a digit
//
// The year leads when the first number has three or more digits or is above
// 50; otherwise the numbers are month, day, year (day, month, year when read
// day first). A year of three or more digits is taken as written; of one or
// two, 00-50 are 2000-2050 and 51-99 are 1951-1999. The date must exist and
// its year lie in 1400-9999.

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "date/calendar.h"

namespace oracle {

class cursor {
public:
    explicit cursor(std::string_view text) : text_(text) {}
    bool at_end() const { return pos_ == text_.size(); }
    char peek(size_t ahead = 0) const {
        return pos_ + ahead < text_.size() ? text_[pos_ + ahead] : '\0';
    }
    bool more(size_t ahead = 0) const { return pos_ + ahead < text_.size(); }
    void skip(size_t n = 1) { pos_ += n; }

private:
    std::string_view text_;
    size_t pos_ = 0;
};

inline bool digit(char c) { return c >= '0' && c <= '9'; }
inline bool blank(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r'; }
inline bool letter(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }
inline bool ascii(char c) { return static_cast<unsigned char>(c) < 0x80; }

// D+ at the cursor; empty when there is none.
inline std::string digits(cursor& at) {
    std::string out;
    while (at.more() && digit(at.peek())) {
        out += at.peek();
        at.skip();
    }
    return out;
}

// The value of a digit string; anything above 99999 reads as 99999, which
// no field of a date can be.
inline int32_t value_of(const std::string& d) {
    int64_t v = 0;
    for (const char c : d)
        v = std::min<int64_t>(v * 10 + (c - '0'), 99999);  // cppcheck-suppress useStlAlgorithm
    return static_cast<int32_t>(v);
}

inline std::optional<spanlet::date> checked(int32_t year, int32_t month, int32_t day) {
    using namespace std::chrono;
    if (year < 1400 || year > 9999 || month < 1 || month > 12 || day < 1 || day > 31)
        return std::nullopt;
    const year_month_day ymd{std::chrono::year{year}, std::chrono::month{static_cast<unsigned>(month)},
                             std::chrono::day{static_cast<unsigned>(day)}};
    if (!ymd.ok())
        return std::nullopt;
    return spanlet::date{year, month, day};
}

inline bool eight_digits(std::string_view text) {
    if (text.size() < 8)
        return false;
    for (size_t i = 0; i < 8; ++i) {
        if (!digit(text[i]))
            return false;
    }
    return text.size() == 8 || text[8] == 'T' || text[8] == 't';
}

inline std::optional<spanlet::date> read_eight_digits(std::string_view text) {
    const std::string d(text.substr(0, 8));
    return checked(value_of(d.substr(0, 4)), value_of(d.substr(4, 2)), value_of(d.substr(6, 2)));
}

// number = [ BLANK | "+" ] D+
inline std::optional<std::string> read_number(cursor& at) {
    if (at.more() && (blank(at.peek()) || at.peek() == '+'))
        at.skip();
    std::string d = digits(at);
    if (d.empty())
        return std::nullopt;
    return d;
}

inline bool read_separator(cursor& at) {
    if (!at.more() || digit(at.peek()))
        return false;
    at.skip();
    return true;
}

// last = BLANK* [ "+" ] D+ [ tail ]
inline std::optional<std::string> read_last(cursor& at) {
    while (at.more() && blank(at.peek()))
        at.skip();
    if (at.more() && at.peek() == '+')
        at.skip();
    std::string d = digits(at);
    if (d.empty())
        return std::nullopt;
    if (at.at_end())
        return d;
    const char next = at.peek();
    if ((next == 'T' || next == 't') && (!at.more(1) || digit(at.peek(1))))
        return d;
    if (ascii(next) && !letter(next))
        return d;
    return std::nullopt;
}

inline int32_t year_of(const std::string& d) {
    const int32_t v = value_of(d);
    if (d.size() >= 3)
        return v;
    return v <= 50 ? 2000 + v : 1900 + v;
}

// The date `text` names, or nothing when spanlet must refuse it.
inline std::optional<spanlet::date> read(std::string_view text, bool day_first,
                                         const spanlet::date* today = nullptr) {
    if (text.size() == 5) {
        std::string lower;
        for (const char c : text)
            lower += static_cast<char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
        if (lower == "today")
            return today ? std::optional<spanlet::date>(*today) : std::nullopt;
    }
    if (eight_digits(text))
        return read_eight_digits(text);
    if (text.size() < 6)
        return std::nullopt;

    cursor at(text);
    const auto first = read_number(at);
    if (!first || !read_separator(at))
        return std::nullopt;
    const auto second = read_number(at);
    if (!second || !read_separator(at))
        return std::nullopt;
    const auto last = read_last(at);
    if (!last)
        return std::nullopt;

    if (first->size() >= 3 || value_of(*first) > 50)
        return checked(year_of(*first), value_of(*second), value_of(*last));
    const std::string& month = day_first ? *second : *first;
    const std::string& day = day_first ? *first : *second;
    return checked(year_of(*last), value_of(month), value_of(day));
}

}  // namespace oracle
