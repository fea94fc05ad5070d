#pragma once
// The spellings spanlet reads, stated again from the README's rules, with
// none of the reader's code: the text is cut into tokens (runs of blanks,
// of digits, of letters, and single marks), and the spellings are patterns
// over the tokens. The calendar is std::chrono's. The tests and the
// date-text fuzzer require the reader to agree with it on every text.
//
//   text     = BLANKS? [ weekday ( "," BLANKS? | BLANKS ) ] body
//            | "today" | "yesterday" | "tomorrow"              any case
//            | "@" [ "-" ] DIGITS                             Unix time
//   body     = D{8} tail                                      YYYYMMDD
//            | D{7} tail | D{4} "-" D{3} tail                 ordinal dates
//            | D{4} "W" D{2} D tail | D{4} "-W" D{2} "-" D tail   week dates
//            | num SEP num SEP num tail                       same SEP twice, 6 characters at least
//            | day month year tail                            no SEP, or the same SEP twice
//            | year SEP month SEP day tail
//            | month SEP day ( SEP | "," BLANKS? ) year tail
//            | month SEP day BLANKS time BLANKS [ zone BLANKS ] year tail
//   num      = BLANKS? [ "+" ] DIGITS                         a "-" there is refused
//              (and BLANKS? may stand before a month name after a SEP too)
//   SEP      = one character: not a digit, a letter or ":"; or an en dash
//              (in UTF-8, or the byte 0x96 of code page 1252)
//   month    = a month's English name, whole or its first three letters, or
//              "Sept", any case; a shortened one may take a "." after it
//   tail     = nothing | BLANKS | "T" | ("T" | ":") D ANY* | BLANKS D{1,2} ":" ANY*
//            | BLANKS? zone ( nothing | BLANKS ANY* )
//   zone     = "Z" | "UTC" | "GMT" | ("+" | "-") D D [":"] D D
//
// The year leads when the first number has three or more digits or is above
// 50; otherwise the numbers are month, day, year (day, month, year when read
// day first). A year of three or more digits is taken as written; of one or
// two, 00-50 are 2000-2050 and 51-99 are 1951-1999. A day has one or two
// digits in the spellings with a month name. The date must exist, its year
// lie in 1400-9999, and a weekday named must be its weekday.

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "date/calendar.h"

namespace oracle {

inline bool digit(char c) { return c >= '0' && c <= '9'; }
inline bool blank(char c) { return c == ' ' || c == '\t'; }
inline bool letter(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }
inline bool ascii(char c) { return static_cast<unsigned char>(c) < 0x80; }
inline std::string lowered(std::string_view s) {
    std::string out(s);
    std::transform(out.begin(), out.end(), out.begin(),
                   [](char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; });
    return out;
}

enum class kind { blanks, digits, word, mark, other };

struct token {
    kind k;
    std::string text;
    size_t end;  // where it ends in the text
};

inline std::vector<token> tokens_of(std::string_view s) {
    std::vector<token> out;
    size_t i = 0;
    while (i < s.size()) {
        const size_t start = i;
        kind k = kind::other;
        if (blank(s[i])) {
            k = kind::blanks;
            while (i < s.size() && blank(s[i]))
                ++i;
        } else if (digit(s[i])) {
            k = kind::digits;
            while (i < s.size() && digit(s[i]))
                ++i;
        } else if (letter(s[i])) {
            k = kind::word;
            while (i < s.size() && letter(s[i]))
                ++i;
        } else if (s.substr(i, 3) == "\xE2\x80\x93") {
            k = kind::mark;
            i += 3;
        } else if (s[i] == '\x96') {  // the en dash of code page 1252
            k = kind::mark;
            ++i;
        } else {
            k = ascii(s[i]) ? kind::mark : kind::other;
            ++i;
        }
        out.push_back({k, std::string(s.substr(start, i - start)), i});
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

inline int32_t year_of(const std::string& d) {
    const int32_t v = value_of(d);
    if (d.size() >= 3)
        return v;
    return v <= 50 ? 2000 + v : 1900 + v;
}

inline std::optional<spanlet::date> checked(int32_t year, int32_t month, int32_t day) {
    if (year < 1400 || year > 9999 || month < 1 || month > 12 || day < 1 || day > 31)
        return std::nullopt;
    const std::chrono::year_month_day ymd{std::chrono::year{year}, std::chrono::month{static_cast<unsigned>(month)},
                                          std::chrono::day{static_cast<unsigned>(day)}};
    if (!ymd.ok())
        return std::nullopt;
    return spanlet::date{year, month, day};
}

inline std::optional<spanlet::date> of_days(std::chrono::sys_days d) {
    const std::chrono::year_month_day ymd{d};
    return checked(int{ymd.year()}, static_cast<int32_t>(unsigned{ymd.month()}),
                   static_cast<int32_t>(unsigned{ymd.day()}));
}

// The name's number from 1, or 0: whole, its first three letters, or Sept.
inline int32_t name_number(const std::string& word, const std::vector<std::string>& names, bool& shortened) {
    const std::string w = lowered(word);
    for (size_t i = 0; i < names.size(); ++i) {
        if (w == names[i] || w == names[i].substr(0, 3) || (names[i] == "september" && w == "sept")) {
            shortened = w != names[i];
            return static_cast<int32_t>(i + 1);
        }
    }
    return 0;
}
inline int32_t month_number(const std::string& word, bool& shortened) {
    static const std::vector<std::string> names = {"january", "february", "march", "april", "may", "june", "july",
                                                   "august", "september", "october", "november", "december"};
    return name_number(word, names, shortened);
}
inline int32_t weekday_number(const std::string& word) {
    static const std::vector<std::string> names = {"monday", "tuesday", "wednesday", "thursday",
                                                   "friday", "saturday", "sunday"};
    bool shortened = false;
    return name_number(word, names, shortened);
}

// zone = "Z" | "UTC" | "GMT" | ("+" | "-") D D [":"] D D; its length, or 0.
inline size_t zone_length(std::string_view q) {
    if (!q.empty() && (q[0] == 'Z' || q[0] == 'z'))
        return 1;
    if (q.substr(0, 3) == "UTC" || q.substr(0, 3) == "GMT")
        return 3;
    if (q.size() >= 5 && (q[0] == '+' || q[0] == '-') && digit(q[1]) && digit(q[2])) {
        const size_t colon = q[3] == ':' ? 1 : 0;
        if (q.size() >= 5 + colon && digit(q[3 + colon]) && digit(q[4 + colon]))
            return 5 + colon;
    }
    return 0;
}

// What may follow the last number of a date.
inline bool tail_ok(std::string_view r) {
    if (r.empty())
        return true;
    if ((r[0] == 'T' || r[0] == 't') && (r.size() == 1 || digit(r[1])))
        return true;
    if (r[0] == ':' && r.size() > 1 && digit(r[1]))
        return true;
    size_t b = 0;
    while (b < r.size() && blank(r[b]))
        ++b;
    const std::string_view q = r.substr(b);
    if (q.empty())
        return true;
    if (b > 0 && digit(q[0]) && ((q.size() > 1 && q[1] == ':') || (q.size() > 2 && digit(q[1]) && q[2] == ':')))
        return true;
    const size_t z = zone_length(q);
    return z != 0 && (q.size() == z || blank(q[z]));
}

// The grammar over the tokens of one text.
class parser {
public:
    parser(std::string_view text, bool day_first) : text_(text), t_(tokens_of(text)), day_first_(day_first) {}

    std::optional<spanlet::date> run() {
        if (is(kind::blanks))
            ++p_;
        int32_t weekday = 0;
        if (is(kind::word) && weekday_number(t_[p_].text) != 0) {
            weekday = weekday_number(t_[p_].text);
            ++p_;
            if (is_mark(",")) {
                ++p_;
                if (is(kind::blanks))
                    ++p_;
            } else if (is(kind::blanks)) {
                ++p_;
            } else {
                return std::nullopt;
            }
        }
        const auto found = body();
        if (!found || weekday == 0)
            return found;
        const std::chrono::weekday named{static_cast<unsigned>(weekday % 7)};  // 7, Sunday, is 0 here
        const std::chrono::weekday actual{std::chrono::sys_days{std::chrono::year{found->year} /
                                                                std::chrono::month{static_cast<unsigned>(found->month)} /
                                                                std::chrono::day{static_cast<unsigned>(found->day)}}};
        return named == actual ? found : std::nullopt;
    }

private:
    struct num {
        std::string digits;
        bool negative = false;
        bool plain = true;  // nothing before the digits
    };

    [[nodiscard]] bool is(kind k, size_t ahead = 0) const { return p_ + ahead < t_.size() && t_[p_ + ahead].k == k; }
    [[nodiscard]] bool is_mark(const std::string& m, size_t ahead = 0) const {
        return is(kind::mark, ahead) && t_[p_ + ahead].text == m;
    }
    [[nodiscard]] std::string_view rest() const { return text_.substr(p_ == 0 ? 0 : t_[p_ - 1].end); }
    [[nodiscard]] bool tail() const { return tail_ok(rest()); }

    // num = BLANKS? [ "+" | "-" ] DIGITS
    std::optional<num> number() {
        num n;
        if (is(kind::blanks)) {
            ++p_;
            n.plain = false;
        }
        if (is_mark("+") || is_mark("-")) {
            n.negative = t_[p_].text == "-";
            n.plain = false;
            ++p_;
        }
        if (!is(kind::digits))
            return std::nullopt;
        n.digits = t_[p_++].text;
        return n;
    }

    // SEP: a mark other than ':' (an en dash too), or the first blank of a
    // run, the rest of which stands before the next number.
    std::optional<std::string> separator() {
        if (is(kind::blanks))
            return std::string(1, t_[p_++].text[0]);
        if (is(kind::mark) && t_[p_].text != ":")
            return t_[p_++].text;
        return std::nullopt;
    }

    bool same_separator(const std::string& sep) {
        if (sep == " " || sep == "\t") {
            if (!is(kind::blanks) || t_[p_].text[0] != sep[0])
                return false;
            // The rest of the run is the blanks before the next number.
            t_[p_].text.erase(0, 1);
            if (t_[p_].text.empty())
                ++p_;
            return true;
        }
        if (!is_mark(sep))
            return false;
        ++p_;
        return true;
    }

    static bool leads_as_year(const num& n) { return n.digits.size() >= 3 || value_of(n.digits) > 50; }

    std::optional<spanlet::date> body() {
        if (is(kind::word))
            return month_first();
        const auto first = number();
        if (!first)
            return std::nullopt;
        if (first->plain && !first->negative) {
            const std::string& d = first->digits;
            if (d.size() == 8)
                return tail() ? checked(value_of(d.substr(0, 4)), value_of(d.substr(4, 2)), value_of(d.substr(6, 2)))
                              : std::nullopt;
            if (d.size() == 7)
                return tail() ? ordinal(value_of(d.substr(0, 4)), value_of(d.substr(4))) : std::nullopt;
            if (d.size() == 4 && is(kind::word) && lowered(t_[p_].text) == "w") {  // YYYYWwwD
                ++p_;
                if (!is(kind::digits) || t_[p_].text.size() != 3)
                    return std::nullopt;
                const std::string wd = t_[p_++].text;
                return tail() ? week(value_of(d), value_of(wd.substr(0, 2)), value_of(wd.substr(2))) : std::nullopt;
            }
        }
        if (is(kind::word)) {  // 10AUG2010
            if (leads_as_year(*first) || first->negative)
                return std::nullopt;
            return month_second(*first, "");
        }
        const auto sep = separator();
        if (!sep)
            return std::nullopt;
        if (is(kind::blanks) && is(kind::word, 1))
            ++p_;  // blanks before a name, as before a number
        const bool four_digits = first->plain && !first->negative && first->digits.size() == 4;
        if (four_digits && *sep == "-" && is(kind::word) && lowered(t_[p_].text) == "w") {  // YYYY-Www-D
            ++p_;
            if (!is(kind::digits) || t_[p_].text.size() != 2)
                return std::nullopt;
            const int32_t w = value_of(t_[p_++].text);
            if (!is_mark("-") || !is(kind::digits, 1) || t_[p_ + 1].text.size() != 1)
                return std::nullopt;
            p_ += 2;
            return tail() ? week(value_of(first->digits), w, value_of(t_[p_ - 1].text)) : std::nullopt;
        }
        if (is(kind::word)) {
            if (first->negative)
                return std::nullopt;
            return month_second(*first, *sep);
        }
        const auto second = number();
        if (!second)
            return std::nullopt;
        if (four_digits && *sep == "-" && second->plain && second->digits.size() == 3 && !is_mark("-"))
            return tail() ? ordinal(value_of(first->digits), value_of(second->digits)) : std::nullopt;
        if (!same_separator(*sep))
            return std::nullopt;
        const auto third = number();
        if (!third || text_.size() < 6 || first->negative || second->negative || third->negative || !tail())
            return std::nullopt;
        if (leads_as_year(*first))
            return checked(year_of(first->digits), value_of(second->digits), value_of(third->digits));
        const num& month = day_first_ ? *second : *first;
        const num& day = day_first_ ? *first : *second;
        return checked(year_of(third->digits), value_of(month.digits), value_of(day.digits));
    }

    // day month year, year month day: the word after the first number.
    std::optional<spanlet::date> month_second(const num& first, const std::string& sep) {
        bool shortened = false;
        const int32_t month = month_number(t_[p_++].text, shortened);
        if (month == 0)
            return std::nullopt;
        if (shortened && is_mark(".") && sep != ".")
            ++p_;
        if (sep.empty() ? !is(kind::digits) : !same_separator(sep))
            return std::nullopt;
        const auto third = number();
        if (!third || third->negative)
            return std::nullopt;
        if (leads_as_year(first)) {
            if (third->digits.size() > 2 || !tail())
                return std::nullopt;
            return checked(year_of(first.digits), month, value_of(third->digits));
        }
        if (third->digits.size() <= 2 && !rest().empty() && rest()[0] == ':')
            return std::nullopt;  // the hour of a time, not a year
        return tail() ? checked(year_of(third->digits), month, value_of(first.digits)) : std::nullopt;
    }

    // month day year, and the forms with the year after the time.
    std::optional<spanlet::date> month_first() {
        bool shortened = false;
        const int32_t month = month_number(t_[p_++].text, shortened);
        if (month == 0)
            return std::nullopt;
        if (shortened && is_mark(".") && !is(kind::digits, 1))
            ++p_;
        const auto sep = separator();
        if (!sep)
            return std::nullopt;
        const auto day = number();
        if (!day || day->negative || day->digits.size() > 2)
            return std::nullopt;
        const size_t after_day = p_;
        if (is(kind::blanks)) {
            ++p_;
            if (time()) {
                if (!is(kind::blanks))
                    return std::nullopt;
                ++p_;
                // A zone between the time and the year: a word of up to
                // five letters, or an offset.
                const std::string_view r = rest();
                const size_t z = zone_length(r);
                if (is(kind::word) && t_[p_].text.size() <= 5 && is(kind::blanks, 1)) {
                    ++p_;
                } else if (z != 0 && z < r.size() && blank(r[z])) {
                    while (!is(kind::blanks))  // the zone's tokens hold no blank
                        ++p_;
                }
                const auto year = number();
                if (!year || year->negative || !tail())
                    return std::nullopt;
                return checked(year_of(year->digits), month, value_of(day->digits));
            }
        }
        p_ = after_day;
        if (is_mark(",")) {
            ++p_;
        } else if (!same_separator(*sep)) {
            return std::nullopt;
        }
        const auto year = number();
        if (!year || year->negative)
            return std::nullopt;
        if (year->digits.size() <= 2 && !rest().empty() && rest()[0] == ':')
            return std::nullopt;
        return tail() ? checked(year_of(year->digits), month, value_of(day->digits)) : std::nullopt;
    }

    // H:MM, HH:MM:SS, HH:MM:SS.FFF
    bool time() {
        if (!is(kind::digits) || t_[p_].text.size() > 2 || !is_mark(":", 1) || !is(kind::digits, 2) ||
            t_[p_ + 2].text.size() != 2)
            return false;
        p_ += 3;
        if (is_mark(":") && is(kind::digits, 1) && t_[p_ + 1].text.size() == 2) {
            p_ += 2;
            if ((is_mark(".") || is_mark(",")) && is(kind::digits, 1))
                p_ += 2;
        }
        return p_ == t_.size() || is(kind::blanks);
    }

    // ISO 8601: week 1 is the week of the year's first Thursday.
    static std::optional<spanlet::date> week(int32_t y, int32_t w, int32_t d) {
        using namespace std::chrono;
        if (y < 1400 || w < 1 || d < 1 || d > 7)
            return std::nullopt;
        const auto week_one = [](int32_t of) {
            return sys_days{year_month_weekday{year{of} / January / Thursday[1]}} - days{3};
        };
        const auto weeks = (week_one(y + 1) - week_one(y)).count() / 7;
        if (w > weeks)
            return std::nullopt;
        return of_days(week_one(y) + days{(w - 1) * 7 + (d - 1)});
    }

    static std::optional<spanlet::date> ordinal(int32_t y, int32_t n) {
        using namespace std::chrono;
        if (y < 1400 || n < 1)
            return std::nullopt;
        const sys_days jan1{year{y} / January / 1};
        const sys_days d = jan1 + days{n - 1};
        if (year_month_day{d}.year() != year{y})
            return std::nullopt;
        return of_days(d);
    }

    std::string_view text_;
    std::vector<token> t_;
    bool day_first_;
    size_t p_ = 0;
};

// The date `text` names, or nothing when spanlet must refuse it. `today`
// is what today names; `instant` gives the local date of Unix time.
inline std::optional<spanlet::date> read(std::string_view text, bool day_first, const spanlet::date* today = nullptr,
                                         std::optional<spanlet::date> (*instant)(int64_t) = nullptr) {
    const std::string lower = lowered(text);
    for (const auto& [name, offset] : {std::pair{"yesterday", -1}, std::pair{"today", 0}, std::pair{"tomorrow", 1}}) {
        if (lower == name) {
            if (today == nullptr)
                return std::nullopt;
            using namespace std::chrono;
            const sys_days d = sys_days{year{today->year} / month{static_cast<unsigned>(today->month)} /
                                        day{static_cast<unsigned>(today->day)}} + days{offset};
            return of_days(d);
        }
    }
    if (!text.empty() && text[0] == '@') {
        std::string_view digits = text.substr(1);
        const bool negative = !digits.empty() && digits[0] == '-';
        digits.remove_prefix(negative ? 1 : 0);
        while (digits.size() > 1 && digits[0] == '0')
            digits.remove_prefix(1);
        if (digits.empty() || digits.size() > 12 || instant == nullptr ||  // 10^12 s is 31,700 years
            !std::all_of(digits.begin(), digits.end(), digit))
            return std::nullopt;
        const int64_t magnitude = std::stoll(std::string(digits));
        const auto d = instant(negative ? -magnitude : magnitude);
        return d ? checked(d->year, d->month, d->day) : std::nullopt;
    }
    return parser(text, day_first).run();
}

}  // namespace oracle
