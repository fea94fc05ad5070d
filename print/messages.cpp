#include "print/messages.h"

#include <cstring>

#include "date/names.h"
#include "io/numbers.h"

namespace spanlet::cli::say {
namespace {

// A month's or a weekday's name as a sentence writes it: "August".
message_line& name_of(message_line& line, std::string_view lower_case) {
    const char first = static_cast<char>(lower_case[0] - 'a' + 'A');
    return line.text({&first, 1}).text(lower_case.substr(1));
}
std::string_view month_name(int32_t month) { return MONTH_NAMES[month - 1]; }    // month [1, 12]
std::string_view weekday_name(int32_t day) { return WEEKDAY_NAMES[day - 1]; }  // day [1, 7]

constexpr std::string_view WRITE_LIKE_THIS = "(write 2010-08-10 or 08-10-2010)";
constexpr std::string_view SEE_HELP = " (see spanlet --help)";

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
            name_of(line, month_name(f.month)).text(" ").signed_number(f.year).text(" has no such day");
        else
            name_of(line.signed_number(f.day).text(" "), month_name(f.month)).text(" ").signed_number(f.year)
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
        name_of(line.signed_number(f.day).text(" "), month_name(f.month)).text(" ").signed_number(f.year).text(" was a ");
        name_of(line, weekday_name(iso_weekday(day_number(f)))).text(", not a ");
        name_of(line, weekday_name(reading.weekday));
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

message_line start(const place& where) {
    message_line line;
    line.text("spanlet: ");
    // A long path is cut, so that the line number and the reason always fit.
    if (where.name != nullptr)
        line.name(where.name, NAME_BEFORE_LINE_MAX).text(":").number(where.line).text(": ");
    return line;
}

}  // namespace

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

void refusal(message_log& log, const place& where, std::string_view text, const date_reading& reading) {
    message_line line = start(where);
    line.quoted(text).text(": ");
    reason_words(line, reading);
    log.add(line.end());
}

void refusals(message_log& log, const place& where, std::string_view first, std::string_view second,
                           const pair_verdict& verdict) {
    if (verdict.refused(0))
        refusal(log, where, first, verdict.sides[0]);
    if (verdict.refused(1))
        refusal(log, where, second, verdict.sides[1]);
}

void line_problem(message_log& log, const place& where, std::string_view why) {
    message_line line = start(where);
    log.add(line.text(why).end());
}

void wrong_field_count(message_log& log, const place& where, size_t fields) {
    message_line line = start(where);
    if (fields == 0)
        line.text("an empty line");
    else
        line.number(fields).text(fields == 1 ? " field" : " fields");
    log.add(line.text(", where two dates were expected").end());
}

void line_too_long(message_log& log, const place& where, size_t limit, std::string_view what) {
    message_line line = start(where);
    line.text(what).text(" longer than ");
    log.add(size_words(line, limit).end());
}

void column_refusal(message_log& log, const place& where, std::string_view name, size_t number, std::string_view text,
                                 const date_reading& reading) {
    message_line line = start(where);
    line.text("column ");
    if (name.empty())
        line.number(number);
    else
        line.quoted(name);
    line.text(": ").quoted(text).text(": ");
    reason_words(line, reading);
    log.add(line.end());
}

void missing_column(message_log& log, const place& where, size_t fields, size_t column) {
    message_line line = start(where);
    line.text("the record has ").number(fields).text(fields == 1 ? " field: no column " : " fields: no column ");
    log.add(line.number(column).end());
}

void header_problem(message_log& log, const char* name, std::string_view column, bool twice) {
    message_line line = start({});
    line.name(name).text(twice ? ": column " : ": no column ").quoted(column);
    log.add(line.text(twice ? " is named twice in the header" : " in the header").end());
}

void field_not_echoed(message_log& log, const place& where, std::string_view field) {
    message_line line = start(where);
    log.add(line.quoted(field).text(": a date with a tab or a line break in it cannot be echoed").end());
}

void file_error(message_log& log, const char* name, std::string_view what, int error) {
    message_line line = start({});
    log.add(line.name(name).text(": ").text(what).text(std::strerror(error)).end());
}

void write_error(message_log& log, int error) {
    message_line line = start({});
    log.add(line.text("write error: ").text(std::strerror(error)).end());
}

void out_of_memory(message_log& log) {
    message_line line = start({});
    log.add(line.text("out of memory").end());
}

void usage_error(message_log& log, const options& opts) {
    message_line line = start({});
    switch (opts.what) {
    case action::bad_option:
        line.text("unknown option ").quoted(opts.offending);
        break;
    case action::missing_value:
        // The words people know from other tools, with nothing after them.
        log.add(line.text("option ").text(opts.offending_option).text(" needs a ").text(opts.offending_value_name).end());
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
    log.add(line.text(SEE_HELP).end());
}

}  // namespace spanlet::cli::say
