#include "cli/messages.h"

#include <algorithm>
#include <cstring>

#include "cli/numbers.h"

namespace spanlet::cli {
namespace {

constexpr std::string_view MONTH_NAMES[13] = {
    "", "January", "February", "March", "April", "May", "June", "July",
    "August", "September", "October", "November", "December",
};

// Slot 0 is a placeholder, so that weekdays index from 1 (Monday).
constexpr std::string_view WEEKDAY_NAMES[8] = {
    "", "Monday", "Tuesday", "Wednesday", "Thursday", "Friday", "Saturday", "Sunday",
};

constexpr std::string_view WRITE_LIKE_THIS = "(write 2010-08-10 or 08-10-2010)";
constexpr std::string_view ELLIPSIS = "\xe2\x80\xa6";  // …
constexpr std::string_view SEE_HELP = " (see spanlet --help)";

// How a control byte is shown: \t, \r, \n, \e, or \xHH.
size_t escape(unsigned char c, char (&out)[4]) {
    constexpr char HEX[] = "0123456789abcdef";
    out[0] = '\\';
    switch (c) {
    case '\t': out[1] = 't'; return 2;
    case '\r': out[1] = 'r'; return 2;
    case '\n': out[1] = 'n'; return 2;
    case 0x1B: out[1] = 'e'; return 2;
    default:
        out[1] = 'x';
        out[2] = HEX[c >> 4];
        out[3] = HEX[c & 0xF];
        return 4;
    }
}

constexpr bool is_control(unsigned char c) { return c < 0x20 || c == 0x7F; }
// The bytes that continue a UTF-8 sequence: a text is never cut before one.
constexpr bool continues_utf8(unsigned char c) { return (c & 0xC0) == 0x80; }

// The words after the quoted text.
void reason_words(message_line& line, const date_reading& reading) {
    const date& f = reading.fields;
    switch (reading.reason) {
    case refusal::none:
        return;
    case refusal::not_a_date:
        line.text("not a date spanlet reads ").text(WRITE_LIKE_THIS);
        return;
    case refusal::missing_digits:
        line.text("a date needs three numbers, each with digits ").text(WRITE_LIKE_THIS);
        return;
    case refusal::negative_number:
        line.text("a date has no negative numbers");
        return;
    case refusal::not_a_time_after:
        line.text("what follows the date is not a time");
        return;
    case refusal::year_before_range:
        line.text("years before 1400 are not read");
        return;
    case refusal::year_after_range:
        line.text("years after 9999 are not read");
        return;
    // A number of more than two digits is named no more: it may have been
    // cut short at the largest 32-bit value.
    case refusal::no_such_month:
        if (f.month > 99)
            line.text("there is no such month");
        else
            line.text("there is no month ").signed_number(f.month);
        if (reading.day_first_hint)
            line.text(" (for day first, use --day-first)");
        return;
    case refusal::no_such_day:
        if (f.day < 1)
            line.text("there is no day ").signed_number(f.day).text(" in a month");
        else if (f.day > 99)
            line.text(MONTH_NAMES[f.month]).text(" ").signed_number(f.year).text(" has no such day");
        else
            line.signed_number(f.day).text(" ").text(MONTH_NAMES[f.month]).text(" ").signed_number(f.year)
                .text(" does not exist");
        return;
    case refusal::today_unknown:
        line.text("the local date is not known");
        return;
    case refusal::instant_unknown:
        line.text("the local date of that instant is not known");
        return;
    case refusal::no_year:
        line.text("a date needs a year");
        return;
    case refusal::wrong_weekday:
        line.signed_number(f.day).text(" ").text(MONTH_NAMES[f.month]).text(" ").signed_number(f.year)
            .text(" was a ").text(WEEKDAY_NAMES[iso_weekday(day_number(f))]).text(", not a ")
            .text(WEEKDAY_NAMES[reading.weekday]);
        return;
    case refusal::week_not_day:
        line.text("a week, not a day (add its weekday: 1 is Monday, 7 Sunday)");
        return;
    case refusal::no_such_week:
        // Here the fields are year, week and weekday.
        if (f.month >= 1 && f.month <= 99)
            line.signed_number(f.year).text(" has ").signed_number(iso_weeks_in_year(f.year)).text(" weeks");
        else
            line.text("there is no week ").signed_number(f.month);
        return;
    case refusal::no_such_weekday:
        line.text("there is no weekday ").signed_number(f.day).text(" (1 is Monday, 7 Sunday)");
        return;
    case refusal::no_such_year_day:
        // Here the fields are year, 0 and the day of the year.
        if (f.day >= 1)
            line.signed_number(f.year).text(" has ").signed_number(days_in_year(f.year)).text(" days");
        else
            line.text("there is no day 0 in a year");
        return;
    }
    line.text("not a date");
}

}  // namespace

// ---- one line ------------------------------------------------------------------

bool message_line::fits(size_t size) {
    if (cut_)
        return false;
    if (used_ + size + ELLIPSIS_ROOM <= sizeof text_)
        return true;
    std::memcpy(text_ + used_, ELLIPSIS.data(), ELLIPSIS.size());
    used_ += ELLIPSIS.size();
    cut_ = true;
    return false;
}

message_line& message_line::text(std::string_view words) {
    if (!words.empty() && fits(words.size())) {
        std::memcpy(text_ + used_, words.data(), words.size());
        used_ += words.size();
    }
    return *this;
}

message_line& message_line::number(uint64_t value) {
    char digits[UINT64_ROOM] = {};
    return text({digits, static_cast<size_t>(write_uint64(digits, value) - digits)});
}

message_line& message_line::signed_number(int32_t value) {
    char digits[INT32_ROOM] = {};
    return text({digits, static_cast<size_t>(write_int32(digits, value) - digits)});
}

void message_line::escaped(std::string_view shown, size_t most) {
    // Most texts have no control byte and fit whole: copied at once.
    const bool fits_whole = shown.size() <= most && used_ + shown.size() + ELLIPSIS_ROOM <= sizeof text_;
    if (!cut_ && fits_whole &&
        std::none_of(shown.begin(), shown.end(), [](char c) { return is_control(static_cast<unsigned char>(c)); })) {
        std::memcpy(text_ + used_, shown.data(), shown.size());
        used_ += shown.size();
        return;
    }
    size_t written = 0;
    for (const char byte : shown) {
        if (cut_)
            return;
        const auto c = static_cast<unsigned char>(byte);
        char escape_text[4] = {byte};
        const size_t length = is_control(c) ? escape(c, escape_text) : 1;
        const bool line_full = used_ + length + ELLIPSIS_ROOM > sizeof text_;
        if (written + length > most || line_full) {
            // Cut before this byte; inside a UTF-8 sequence, before its start.
            if (continues_utf8(c)) {
                while (written > 0 && continues_utf8(static_cast<unsigned char>(text_[used_ - 1]))) {
                    --used_;
                    --written;
                }
                if (written > 0 && static_cast<unsigned char>(text_[used_ - 1]) >= 0xC0)
                    --used_;
            }
            text(ELLIPSIS);
            cut_ = cut_ || line_full;
            return;
        }
        std::memcpy(text_ + used_, escape_text, length);
        used_ += length;
        written += length;
    }
}

message_line& message_line::quoted(std::string_view shown) {
    text("\"");
    escaped(shown, QUOTED_MAX);
    return text("\"");
}

message_line& message_line::name(std::string_view shown, size_t most) {
    escaped(shown, most);
    return *this;
}

std::string_view message_line::end() {
    text_[used_++] = '\n';  // ELLIPSIS_ROOM kept a byte for it
    return {text_, used_};
}

message_line& size_words(message_line& line, size_t bytes) {
    constexpr size_t KIB = 1024;
    if (bytes == 0)
        return line.text("0 bytes");
    if (bytes % (KIB * KIB * KIB) == 0)
        return line.number(bytes / (KIB * KIB * KIB)).text(" GiB");
    if (bytes % (KIB * KIB) == 0)
        return line.number(bytes / (KIB * KIB)).text(" MiB");
    if (bytes % KIB == 0)
        return line.number(bytes / KIB).text(" KiB");
    return line.number(bytes).text(bytes == 1 ? " byte" : " bytes");
}

// ---- the log -------------------------------------------------------------------

void message_log::add(std::string_view line) {
    if (line.size() > sizeof block_ - used_)
        flush();
    std::memcpy(block_ + used_, line.data(), line.size());
    used_ += line.size();
}

void message_log::flush() {
    // Nothing is left to say where standard error itself cannot be written.
    if (used_ != 0)
        static_cast<void>(sink_.write(block_, used_));
    used_ = 0;
}

message_line message_log::start(const place& where) {
    message_line line;
    line.text("spanlet: ");
    // A long path is cut, so that the line number and the reason always fit.
    if (where.name != nullptr)
        line.name(where.name, NAME_BEFORE_LINE_MAX).text(":").number(where.line).text(": ");
    return line;
}

void message_log::refusal(const place& where, std::string_view text, const date_reading& reading) {
    message_line line = start(where);
    line.quoted(text).text(": ");
    reason_words(line, reading);
    add(line.end());
}

void message_log::refusals(const place& where, std::string_view first, std::string_view second,
                           const pair_verdict& verdict) {
    if (verdict.refused(0))
        refusal(where, first, verdict.sides[0]);
    if (verdict.refused(1))
        refusal(where, second, verdict.sides[1]);
}

void message_log::line_problem(const place& where, std::string_view why) {
    message_line line = start(where);
    add(line.text(why).end());
}

void message_log::wrong_field_count(const place& where, size_t fields) {
    message_line line = start(where);
    if (fields == 0)
        line.text("an empty line");
    else
        line.number(fields).text(fields == 1 ? " field" : " fields");
    add(line.text(", where two dates were expected").end());
}

void message_log::line_too_long(const place& where, size_t limit, std::string_view what) {
    message_line line = start(where);
    line.text(what).text(" longer than ");
    add(size_words(line, limit).end());
}

void message_log::column_refusal(const place& where, std::string_view name, size_t number, std::string_view text,
                                 const date_reading& reading) {
    message_line line = start(where);
    line.text("column ");
    if (name.empty())
        line.number(number);
    else
        line.quoted(name);
    line.text(": ").quoted(text).text(": ");
    reason_words(line, reading);
    add(line.end());
}

void message_log::missing_column(const place& where, size_t fields, size_t column) {
    message_line line = start(where);
    line.text("the record has ").number(fields).text(fields == 1 ? " field: no column " : " fields: no column ");
    add(line.number(column).end());
}

void message_log::header_problem(const char* name, std::string_view column, bool twice) {
    message_line line = start({});
    line.name(name).text(twice ? ": column " : ": no column ").quoted(column);
    add(line.text(twice ? " is named twice in the header" : " in the header").end());
}

void message_log::field_not_echoed(const place& where, std::string_view field) {
    message_line line = start(where);
    add(line.quoted(field).text(": a date with a tab or a line break in it cannot be echoed").end());
}

void message_log::file_error(const char* name, std::string_view what, int error) {
    message_line line = start({});
    add(line.name(name).text(": ").text(what).text(std::strerror(error)).end());
}

void message_log::write_error(int error) {
    message_line line = start({});
    add(line.text("write error: ").text(std::strerror(error)).end());
}

void message_log::out_of_memory() {
    message_line line = start({});
    add(line.text("out of memory").end());
}

void message_log::usage_error(const options& opts) {
    message_line line = start({});
    switch (opts.what) {
    case action::bad_option:
        line.text("unknown option ").quoted(opts.offending);
        break;
    case action::missing_value:
        // The words people know from other tools, with nothing after them.
        add(line.text("option ").text(opts.offending_option).text(" needs a ").text(opts.offending_value_name).end());
        return;
    case action::repeated:
        line.text("option ").text(opts.offending_option).text(" is given twice");
        break;
    case action::bad_delimiter:
        line.quoted(opts.offending).text(": a delimiter is one byte, and this is ");
        size_words(line, std::strlen(opts.offending));
        break;
    case action::unusable_delimiter:
        line.quoted(opts.offending)
            .text(opts.offending[0] == '\n' ? ": a line feed ends a line, and cannot separate its fields"
                                             : ": a quote or a CR cannot separate the fields of --csv");
        break;
    case action::standard_input_twice:
        line.text("standard input (-) is named for more than one of -f and --holidays");
        break;
    case action::needs_header:
        line.text("--name goes with --header");
        break;
    case action::bad_size:
        line.quoted(opts.offending).text(": a line limit is a number of bytes, with K, M or G after it for KiB, MiB or GiB");
        break;
    case action::bad_jobs:
        line.quoted(opts.offending).text(": the jobs are a number of workers from 1 to ").number(MOST_JOBS).text(", or 0 for one a processor");
        break;
    case action::bad_units:
        line.quoted(opts.offending).text(": the units are y, m, w and d, or years, months, weeks and days separated by commas, each once");
        break;
    case action::bad_weekend:
        line.quoted(opts.offending).text(": a weekend is weekday names separated by commas, not all seven, or none");
        break;
    case action::units_with_business_days:
        line.text("--business-days counts days: --units ").quoted(opts.offending).text(" does not go with it");
        break;
    case action::needs_business_days:
        line.text(opts.offending).text(" goes with --business-days");
        break;
    case action::bad_columns:
        line.quoted(opts.offending).text(opts.header ? ": the columns are two numbers or names, separated by a comma"
                                                     : ": the columns are two numbers from 1, separated by a comma (names need --header)");
        break;
    case action::needs_csv:
        line.text(opts.offending).text(std::string_view(opts.offending) == "--csv" ? " goes with -f" : " goes with --csv");
        break;
    case action::extra_date:
        line.quoted(opts.offending).text(": a third date; spanlet takes two");
        break;
    case action::mixed_modes:
        line.text(opts.file != nullptr ? "dates on the command line and -f do not go together"
                                       : "-d, --line-limit and --jobs go with -f");
        break;
    default:
        return;
    }
    add(line.text(SEE_HELP).end());
}

}  // namespace spanlet::cli
