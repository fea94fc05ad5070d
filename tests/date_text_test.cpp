#include "date/date_text.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdio>
#include <iterator>
#include <random>
#include <string>
#include <vector>

#include "printing.h"
#include "spelling_oracle.h"

namespace {

using spanlet::date;
using spanlet::field_order;
using spanlet::refusal;

spanlet::date_reading read(const std::string& text, bool day_first = false) {
    spanlet::reading_options options;
    options.order = day_first ? field_order::day_first : field_order::month_first;
    return spanlet::read_date(text, options);
}

// Accepted texts and the date each names.
struct accepted {
    std::string text;
    date value;
};

TEST(ReadDate, AcceptedSpellings) {
    const std::vector<accepted> cases = {
        {"2010-08-10", {2010, 8, 10}},
        {"08-10-2010", {2010, 8, 10}},
        {"2010/8/1", {2010, 8, 1}},
        {"8-1-10", {2010, 8, 1}},
        {"08/10/10", {2010, 8, 10}},
        {"08/10/99", {1999, 8, 10}},
        {"99/08/10", {1999, 8, 10}},
        {"10/08/10", {2010, 10, 8}},
        {"51-01-02", {1951, 1, 2}},
        {"01-02-51", {1951, 1, 2}},
        {"2010.08.10", {2010, 8, 10}},
        {"2010 08 10", {2010, 8, 10}},
        {" 2010-08-10", {2010, 8, 10}},
        {"\t2010-08-10", {2010, 8, 10}},
        {"+2010-+8-  +10", {2010, 8, 10}},
        // Runs of blanks before a number and before the text used to shift
        // every field, and were refused.
        {"  8/10/2010", {2010, 8, 10}},
        {"2010-  08-10", {2010, 8, 10}},
        {" \t 2010-08-10", {2010, 8, 10}},
        {"2010\xe2\x80\x93" "08\xe2\x80\x93" "10", {2010, 8, 10}},  // en dashes
        {"2010-08-10T12:34:56", {2010, 8, 10}},
        {"2010-08-10t1", {2010, 8, 10}},
        // A T alone used to be refused as a letter, while 20100810T was read.
        {"2010-08-10T", {2010, 8, 10}},
        {"8/10/2010t", {2010, 8, 10}},
        {"2010-08-10 12:34 and more", {2010, 8, 10}},
        {"1400-01-01", {1400, 1, 1}},
        {"9999-12-31", {9999, 12, 31}},
        {"12-31-9999", {9999, 12, 31}},
        {"1850-01-01", {1850, 1, 1}},
        // Two-digit years 20-50 are 2020-2050: they used to be refused, so
        // that today written the US short way (12/10/26) was no date.
        {"12/10/26", {2026, 12, 10}},
        {"08-10-30", {2030, 8, 10}},
        {"10-10-21", {2021, 10, 10}},
        {"01-02-50", {2050, 1, 2}},
        {"01-02-00", {2000, 1, 2}},
        // Eight digits: year, month, day.
        {"20100810", {2010, 8, 10}},
        {"20100810T1234", {2010, 8, 10}},
        {"20100810t", {2010, 8, 10}},
    };
    for (const accepted& c : cases) {
        SCOPED_TRACE("text \"" + c.text + "\"");
        const spanlet::date_reading r = read(c.text);
        EXPECT_EQ(r.reason, refusal::none);
        EXPECT_EQ(r.value, c.value);
        EXPECT_EQ(spanlet::read_date_general(c.text).value, c.value);
    }
}

// Refused texts: the reason, and the value the refusal carries: the numbers
// found when each can stand in a date's field (a year of 1400-9999, a month
// and a day of 1-99), else 0/0/1900. (The message shows the numbers found.)
// Each row marked "used to" printed a number for a text that names no date.
struct refused {
    std::string text;
    refusal reason;
    date shown;
};

void expect_refused(const std::vector<refused>& cases, bool day_first = false) {
    for (const refused& c : cases) {
        SCOPED_TRACE("text \"" + c.text + "\"");
        const spanlet::date_reading r = read(c.text, day_first);
        EXPECT_EQ(r.reason, c.reason);
        EXPECT_EQ(r.value, c.shown);
        EXPECT_EQ(spanlet::read_date_general(c.text, {day_first ? field_order::day_first : field_order::month_first}).reason, c.reason);
    }
}

const date NOTHING_READ = {1900, 0, 0};  // no numbers to carry

TEST(ReadDate, RefusesYearsWrittenWideOutsideTheRange) {
    expect_refused({
        {"0001-06-15", refusal::year_before_range, NOTHING_READ},  // used to be 6 Jan 2015
        {"0099-12-31", refusal::year_before_range, NOTHING_READ},  // used to be 31 Dec 1999
        {"12/31/0099", refusal::year_before_range, NOTHING_READ},
        {"01-01-0099", refusal::year_before_range, NOTHING_READ},
        {"0010-01-01", refusal::year_before_range, NOTHING_READ},  // used to be 2001
        {"007-01-01", refusal::year_before_range, NOTHING_READ},   // used to be 1 Jul 2001
        {"03/04/0000", refusal::year_before_range, NOTHING_READ},  // used to be 4 Mar 2000
        {"01-01-100", refusal::year_before_range, NOTHING_READ},
        {"1399-12-31", refusal::year_before_range, NOTHING_READ},
        {"1111-11-11", refusal::year_before_range, NOTHING_READ},
        {"10000-01-01", refusal::year_after_range, NOTHING_READ},
        {"01-01-10000", refusal::year_after_range, NOTHING_READ},
        {"13991231", refusal::year_before_range, NOTHING_READ},
    });
}

TEST(ReadDate, RefusesNegativeNumbers) {
    expect_refused({
        {"1/1/-600", refusal::negative_number, NOTHING_READ},   // used to be 1 Jan 1400
        {"01-02--81", refusal::negative_number, NOTHING_READ},  // used to be 2 Jan 1919
        {"01-02--5", refusal::negative_number, NOTHING_READ},   // used to be 2 Jan 1995
        {"2010--08--10", refusal::negative_number, NOTHING_READ},
        {"-2010-08-10", refusal::negative_number, NOTHING_READ},
        {"2004-01--7", refusal::negative_number, NOTHING_READ},
    });
}

TEST(ReadDate, RefusesNumbersWithoutDigits) {
    expect_refused({
        {"08-10-", refusal::missing_digits, NOTHING_READ},       // used to be 10 Aug 2000
        {"08/10/ab", refusal::missing_digits, NOTHING_READ},     // used to be 10 Aug 2000
        {"2010-08-", refusal::missing_digits, NOTHING_READ},
        {"2010-+ 8-10", refusal::missing_digits, NOTHING_READ},
    });
}

// What may follow the last number: nothing, blanks, T, a time, a zone. Each
// row used to be read as a date.
TEST(ReadDate, RefusesWhatIsNotATimeAfterTheDate) {
    expect_refused({
        {"2010-08-1O", refusal::not_a_time_after, NOTHING_READ},  // 1 Aug 2010
        {"2010-08-10x", refusal::not_a_time_after, NOTHING_READ},
        {"08-10-2010y", refusal::not_a_time_after, NOTHING_READ},
        {"2010-08-10Tx", refusal::not_a_time_after, NOTHING_READ},
        {"2010-08-10\xc3\xa9", refusal::not_a_time_after, NOTHING_READ},
        {"10.1.1.1", refusal::not_a_time_after, NOTHING_READ},        // an IP address: 1 Oct 2001
        {"01 23 45 67 89", refusal::not_a_time_after, NOTHING_READ},  // a phone number: 23 Jan 2045
        {"2010-08-10 and more", refusal::not_a_time_after, NOTHING_READ},
        {"2010-08-10.x", refusal::not_a_time_after, NOTHING_READ},
        {"2010-08-10 1", refusal::not_a_time_after, NOTHING_READ},
        {"2010-08-10 Zulu", refusal::not_a_time_after, NOTHING_READ},
        {"2010-08-10 +00", refusal::not_a_time_after, NOTHING_READ},
        {"20100810x", refusal::not_a_time_after, NOTHING_READ},
    });
    for (const std::string text : {"2010-08-10T", "2010-08-10 12:34", "8/10/2010 3:45 PM", "2010-08-10 +0000",
                                   "2010-08-10Z", "2010-08-10 UTC", "2010-08-10GMT", "2010-08-10-07:00",
                                   "2010-08-10:12:00", "2010-08-10  \t", "20100810 12:34", "20100810T1234",
                                   "2010-08-10 +0000 (UTC)"}) {
        EXPECT_EQ(read(text).reason, refusal::none) << text;
        EXPECT_EQ(read(text).value, (date{2010, 8, 10})) << text;
    }
}

// The separators of a numeric date: the same character twice, never a letter
// or a colon. Each row used to be read as a date.
TEST(ReadDate, RefusesSeparatorsThatAreNoSeparators) {
    expect_refused({
        {"12:30:45", refusal::not_a_date, NOTHING_READ},    // a time: 30 Dec 2045
        {"12.5,3.2", refusal::not_a_date, NOTHING_READ},    // a coordinate pair: 5 Dec 2003
        {"10x20x30", refusal::not_a_date, NOTHING_READ},    // a box size: 20 Oct 2030
        {"2010a08a10", refusal::not_a_date, NOTHING_READ},  // 10 Aug 2010
        {"2010-08/10", refusal::not_a_date, NOTHING_READ},
        {"2010\xc3\xa9" "08\xc3\xa9" "10", refusal::not_a_date, NOTHING_READ},
    });
}

TEST(ReadDate, RefusesTextsOfNoShape) {
    expect_refused({
        {"", refusal::not_a_date, NOTHING_READ},
        {"abc", refusal::not_a_date, NOTHING_READ},
        {"abcdef", refusal::not_a_date, NOTHING_READ},
        {"1-2-3", refusal::not_a_date, NOTHING_READ},
        {"2010-0810", refusal::not_a_date, NOTHING_READ},
        {"20100-", refusal::missing_digits, NOTHING_READ},
        {"2010-8", refusal::not_a_date, NOTHING_READ},
        {"201008", refusal::not_a_date, NOTHING_READ},
        {"201008100", refusal::not_a_date, NOTHING_READ},
        {"today", refusal::today_unknown, NOTHING_READ},
    });
}

// Months and days that no calendar has: the value carries them as found.
TEST(ReadDate, RefusesDatesThatDoNotExist) {
    expect_refused({
        {"2010-02-30", refusal::no_such_day, {2010, 2, 30}},
        {"2/30/2010", refusal::no_such_day, {2010, 2, 30}},
        {"2010-04-31", refusal::no_such_day, {2010, 4, 31}},
        {"1900-02-29", refusal::no_such_day, {1900, 2, 29}},
        {"2010-01-32", refusal::no_such_day, {2010, 1, 32}},
        // Used to be 1905-00-00: the month's last digit, read back as a year.
        {"2010-05-00", refusal::no_such_day, NOTHING_READ},
        {"2010-08-123", refusal::no_such_day, NOTHING_READ},
        {"2010-13-01", refusal::no_such_month, {2010, 13, 1}},
        {"31-12-1999", refusal::no_such_month, {1999, 31, 12}},
        {"2010-00-10", refusal::no_such_month, {1900, 0, 0}},
        {"50-01-02", refusal::no_such_month, {2002, 50, 1}},
        {"2010-100-01", refusal::no_such_month, NOTHING_READ},
        {"2010-08-99999999999", refusal::no_such_day, NOTHING_READ},  // saturates, never wraps
        {"99999999999-08-10", refusal::year_after_range, NOTHING_READ},
        {"20101301", refusal::no_such_month, {2010, 13, 1}},
    });
}

// Day first reads only the texts whose year comes last, and never falls back
// to month first.
TEST(ReadDate, DayFirst) {
    spanlet::reading_options day_first;
    day_first.order = field_order::day_first;
    const std::vector<std::pair<std::string, date>> cases = {
        {"10.08.2010", {2010, 8, 10}}, {"31-12-1999", {1999, 12, 31}},
        {"1/2/03", {2003, 2, 1}},      {"2010-08-10", {2010, 8, 10}},
        {"99/08/10", {1999, 8, 10}},   {"20100810", {2010, 8, 10}},
    };
    for (const auto& [text, value] : cases) {
        const spanlet::date_reading r = spanlet::read_date(text, day_first);
        EXPECT_EQ(r.reason, refusal::none) << text;
        EXPECT_EQ(r.value, value) << text;
    }
    expect_refused({{"12-31-1999", refusal::no_such_month, {1999, 31, 12}}}, true);
}

TEST(ReadDate, TodayInAnyCase) {
    const date today{2026, 12, 10};
    spanlet::reading_options options;
    options.today = &today;
    for (const std::string text : {"today", "TODAY", "ToDay"})
        EXPECT_EQ(spanlet::read_date(text, options).value, today) << text;
    for (const std::string text : {"todays", "to day", " today", "yesterdays"})
        EXPECT_NE(spanlet::read_date(text, options).reason, refusal::none) << text;
}

// Any length is read whole: nothing is truncated, nothing overflows.
TEST(ReadDate, LongTextsAreReadWhole) {
    EXPECT_EQ(read(std::string(10000, '0') + "2010-08-10").value, (date{2010, 8, 10}));
    EXPECT_EQ(read("2010-08-10 12:00 " + std::string(10000, 'x')).value, (date{2010, 8, 10}));
    EXPECT_EQ(read("2010-08-" + std::string(10000, '0') + "10").value, (date{2010, 8, 10}));
    EXPECT_EQ(read(std::string(10000, '9') + "-08-10").reason, refusal::year_after_range);
    EXPECT_EQ(read("2010-08-10" + std::string(10000, 'x')).reason, refusal::not_a_time_after);
    EXPECT_EQ(read(std::string(10000, '-')).reason, refusal::missing_digits);
}

// Bytes outside 7-bit ASCII are never digits, blanks or separators, but for
// the en dash.
TEST(ReadDate, NonAsciiBytesNeverCount) {
    EXPECT_EQ(read("2010\xff" "08\xff" "10").reason, refusal::not_a_date);
    EXPECT_EQ(read("\xa0" "2010-08-10").reason, refusal::missing_digits);
}

// Texts that programs and people write with month names, each read as the
// date it names; every one of them used to be refused.
TEST(ReadDate, MonthNames) {
    const std::vector<std::pair<std::string, date>> cases = {
        {"10 Aug 2010", {2010, 8, 10}},       {"10-Aug-2010", {2010, 8, 10}},
        {"10/Aug/2010", {2010, 8, 10}},       {"10AUG2010", {2010, 8, 10}},
        {"10-AUG-10", {2010, 8, 10}},         {"10 August 2010", {2010, 8, 10}},
        {"Aug 10 2010", {2010, 8, 10}},       {"Aug 10, 2010", {2010, 8, 10}},
        {"August 10, 2010", {2010, 8, 10}},   {"aUgUsT 10,2010", {2010, 8, 10}},
        {"Aug. 10, 2010", {2010, 8, 10}},     {"10 Aug. 2010", {2010, 8, 10}},
        {"Sept 5 2010", {2010, 9, 5}},        {"5 Sep 99", {1999, 9, 5}},
        {"2010-Aug-10", {2010, 8, 10}},       {"2010 Aug 10", {2010, 8, 10}},
        {"2010-aug.-10", {2010, 8, 10}},      {"10.Aug.2010", {2010, 8, 10}},
        {"Aug.10.2010", {2010, 8, 10}},       {"10\xe2\x80\x93" "Aug\xe2\x80\x93" "2010", {2010, 8, 10}},
        {"29 Feb 2000", {2000, 2, 29}},       {"1 jan 1400", {1400, 1, 1}},
        {"31 DECEMBER 9999", {9999, 12, 31}}, {"10 Aug 2010 12:00", {2010, 8, 10}},
    };
    for (const auto& [text, value] : cases) {
        EXPECT_EQ(read(text).reason, refusal::none) << text;
        EXPECT_EQ(read(text).value, value) << text;
    }
    expect_refused({
        {"29 Feb 2001", refusal::no_such_day, {2001, 2, 29}},
        {"32 Aug 2010", refusal::no_such_day, {2010, 8, 32}},
        {"Augu 10 2010", refusal::not_a_date, NOTHING_READ},
        {"Aug 100 2010", refusal::not_a_date, NOTHING_READ},
        {"2010-Aug-100", refusal::not_a_date, NOTHING_READ},
        {"10 Aug/2010", refusal::not_a_date, NOTHING_READ},
        {"10Aug 2010", refusal::not_a_date, NOTHING_READ},
        {"2010Aug10", refusal::not_a_date, NOTHING_READ},
        {"10 Aug -2010", refusal::negative_number, NOTHING_READ},
    });
}

// A month and a day with no year are never guessed; a short number after
// them that is the hour of a time is no year either.
TEST(ReadDate, RefusesDatesWithoutAYear) {
    expect_refused({
        {"Dec 10 02:42", refusal::no_year, NOTHING_READ},  // ls -l, syslog
        {"Dec 10", refusal::no_year, NOTHING_READ},
        {"10 Dec", refusal::no_year, NOTHING_READ},
        {"10 Dec 02:42", refusal::no_year, NOTHING_READ},
        {"Dec 10, 02:42", refusal::no_year, NOTHING_READ},
        {"Thu Dec 10 02:56:35", refusal::no_year, NOTHING_READ},
    });
}

// What date(1), e-mail, certificates, git and web servers print, read whole;
// a weekday may lead any spelling and must be the date's.
TEST(ReadDate, WhatProgramsPrint) {
    const std::vector<std::pair<std::string, date>> cases = {
        {"Thu Dec 10 02:56:35 UTC 2026", {2026, 12, 10}},    // date
        {"Thu Dec 10 02:56:35 2026", {2026, 12, 10}},        // ctime
        {"Thu, 10 Dec 2026 02:56:35 +0000", {2026, 12, 10}}, // date -R, e-mail
        {"Mar  1 12:00:00 2027 GMT", {2027, 3, 1}},          // certificates
        {"Thu Dec 10 01:53:51 2026 +0000", {2026, 12, 10}},  // git
        {"10/Oct/2000:13:55:36 -0700", {2000, 10, 10}},      // web server logs
        {"Tue Aug 10 00:00:00.123 CEST 2010", {2010, 8, 10}},
        {"Tuesday, August 10, 2010", {2010, 8, 10}},
        {"tue 2010-08-10", {2010, 8, 10}},
        {"Tue,10 Aug 2010", {2010, 8, 10}},
    };
    for (const auto& [text, value] : cases) {
        EXPECT_EQ(read(text).reason, refusal::none) << text;
        EXPECT_EQ(read(text).value, value) << text;
    }
    // No peer checks the weekday: GNU date reads the first as 10 August.
    const spanlet::date_reading wrong = read("Fri, 10 Aug 2010");
    EXPECT_EQ(wrong.reason, refusal::wrong_weekday);
    EXPECT_EQ(wrong.fields, (date{2010, 8, 10}));
    EXPECT_EQ(wrong.weekday, 5);
    expect_refused({
        {"Sun Dec 10 02:56:35 UTC 2026", refusal::wrong_weekday, {2026, 12, 10}},
        {"Thu2026-12-10", refusal::not_a_date, NOTHING_READ},
        {"Thursd 2026-12-10", refusal::not_a_date, NOTHING_READ},
    });
}

// ISO 8601 week dates and ordinal dates; each used to be refused, or (seven
// digits) read as nothing.
TEST(ReadDate, WeekAndOrdinalDates) {
    const std::vector<std::pair<std::string, date>> cases = {
        {"2026-W50-4", {2026, 12, 10}}, {"2026W504", {2026, 12, 10}},   {"2026-w50-4", {2026, 12, 10}},
        {"2020-W53-1", {2020, 12, 28}}, {"2026-W01-1", {2025, 12, 29}}, {"2026-344", {2026, 12, 10}},
        {"2026344", {2026, 12, 10}},    {"2024-366", {2024, 12, 31}},   {"2026-344T10:00", {2026, 12, 10}},
        {"2010081", {2010, 3, 22}},
    };
    for (const auto& [text, value] : cases) {
        EXPECT_EQ(read(text).reason, refusal::none) << text;
        EXPECT_EQ(read(text).value, value) << text;
    }
    expect_refused({
        {"2026-W50", refusal::week_not_day, NOTHING_READ},
        {"2026W50", refusal::week_not_day, NOTHING_READ},
        {"2021-W53-1", refusal::no_such_week, NOTHING_READ},
        {"2026-W00-1", refusal::no_such_week, NOTHING_READ},
        {"2026-W50-8", refusal::no_such_weekday, NOTHING_READ},
        {"2026-W50-0", refusal::no_such_weekday, NOTHING_READ},
        {"2026-366", refusal::no_such_year_day, NOTHING_READ},
        {"2026-000", refusal::no_such_year_day, NOTHING_READ},
        {"1399-365", refusal::year_before_range, NOTHING_READ},
        {"2026-W50-4x", refusal::not_a_time_after, NOTHING_READ},
    });
    EXPECT_EQ(read("2021-W53-1").fields, (date{2021, 53, 0}));
}

// A month above 12 that is a real date read day first says so.
TEST(ReadDate, HintsAtDayFirst) {
    EXPECT_TRUE(read("24.12.2026").day_first_hint);
    EXPECT_FALSE(read("31.02.2026").day_first_hint);  // no 31 February either way
    EXPECT_FALSE(read("2026-24-12").day_first_hint);  // year first is never reordered
    EXPECT_FALSE(read("13.13.2026").day_first_hint);
    EXPECT_FALSE(read("24.12.2026", true).day_first_hint);
}

TEST(ReadDate, RelativeDaysAndUnixTime) {
    const date today{2026, 12, 10};
    spanlet::reading_options options;
    options.today = &today;
    options.local_date_of = [](int64_t seconds, date& out) {
        out = spanlet::date_of_day_number(static_cast<int32_t>(seconds / 86400) + spanlet::day_number({1970, 1, 1}));
        return true;
    };
    const std::vector<std::pair<std::string, date>> cases = {
        {"yesterday", {2026, 12, 9}}, {"TOMORROW", {2026, 12, 11}}, {"Today", today},
        {"@1281398400", {2010, 8, 10}}, {"@0", {1970, 1, 1}},
    };
    for (const auto& [text, value] : cases) {
        EXPECT_EQ(spanlet::read_date(text, options).reason, refusal::none) << text;
        EXPECT_EQ(spanlet::read_date(text, options).value, value) << text;
    }
    EXPECT_EQ(spanlet::read_date("@99999999999999999999", options).reason, refusal::year_after_range);
    EXPECT_EQ(spanlet::read_date("@-99999999999", options).reason, refusal::year_before_range);
    EXPECT_EQ(spanlet::read_date("@12x", options).reason, refusal::not_a_date);
    EXPECT_EQ(spanlet::read_date("@1281398400").reason, refusal::instant_unknown);
    const date last{9999, 12, 31};
    options.today = &last;
    EXPECT_EQ(spanlet::read_date("tomorrow", options).reason, refusal::year_after_range);
}

// The reader agrees with the grammar of the README on every text built from
// pieces that sit near each rule's edges, in both orders.
TEST(ReadDate, AgreesWithTheSpellingGrammar) {
    const std::vector<std::string> numbers = {
        "", "0", "1", "08", "12", "13", "29", "31", "50", "51", "99", "007", "0099",
        "1399", "1400", "2010", "9999", "10000", " 8", "+8", "-8", "  8",
    };
    const std::vector<std::string> separators = {"-", "/", " ", "a", "T", "\xe2"};
    const std::vector<std::string> tails = {"", "x", "T1", "T", " z", ".", "\xc3\xa9", "t9"};
    int64_t texts = 0;
    int64_t dates = 0;
    for (const std::string& a : numbers)
        for (const std::string& b : numbers)
            for (const std::string& c : numbers)
                for (const std::string& sep : separators)
                    for (const std::string& tail : tails)
                        for (const bool day_first : {false, true}) {
                            const std::string text = a + sep + b + sep + c + tail;
                            const spanlet::date_reading r = read(text, day_first);
                            const auto expected = oracle::read(text, day_first);
                            ASSERT_EQ(r.reason == refusal::none, expected.has_value())
                                << "text \"" << text << "\" day first " << day_first;
                            if (expected) {
                                ASSERT_EQ(r.value, *expected) << "text \"" << text << "\"";
                                ++dates;
                            }
                            ++texts;
                        }
    EXPECT_GT(texts, 1'000'000);
    EXPECT_GT(dates, 10'000);
}

// The same for the spellings with names, times, zones, weekdays, week and
// ordinal dates, and texts that only look like dates.
TEST(ReadDate, AgreesWithTheSpellingGrammarOnNamesAndTimes) {
    const date today{2026, 12, 10};
    spanlet::reading_options options;
    options.today = &today;
    const std::vector<std::string> leads = {"", " ", "Tue ", "Tue, ", "fri,", "Tuesday ", "Mon"};
    const std::vector<std::string> numbers = {"10", "1", " 9", "31", "50", "51", "2010", "99", "0", "100"};
    const std::vector<std::string> months = {"Aug", "aug.", "AUGUST", "Sept", "Feb", "Febr", "x", "W"};
    const std::vector<std::string> separators = {" ", "-", "/", ".", ",", "", ":", "\xe2\x80\x93", "  "};
    const std::vector<std::string> tails = {"", " 12:34", "T", "Z", " +0000", " x", ".1", ":13:55", " 1",
                                            " UTC", "T1", "-07:00", ", 2010", " 12:00:00 2010"};
    int64_t texts = 0;
    int64_t dates = 0;
    const auto check = [&](const std::string& text) {
        for (const bool day_first : {false, true}) {
            options.order = day_first ? field_order::day_first : field_order::month_first;
            const spanlet::date_reading r = spanlet::read_date(text, options);
            const auto expected = oracle::read(text, day_first, &today);
            ASSERT_EQ(r.reason == refusal::none, expected.has_value())
                << "text \"" << text << "\" day first " << day_first;
            if (expected) {
                ASSERT_EQ(r.value, *expected) << "text \"" << text << "\"";
                ++dates;
            }
            ++texts;
        }
    };
    for (const std::string& lead : leads)
        for (const std::string& sep : separators)
            for (const std::string& tail : tails) {
                for (const std::string& a : numbers)
                    for (const std::string& m : months) {
                        for (const std::string& b : numbers) {
                            check(lead + a + sep + m + sep + b + tail);  // day month year, year month day
                            check(lead + m + sep + a + sep + b + tail);  // month day year
                        }
                        check(lead + m + sep + a + tail);  // no year
                    }
                for (const std::string wd : {"2026-W50-4", "2026W504", "2021-W53-1", "2026-W50", "2026-344",
                                              "2026344", "2024-366", "20261210", "1400-W01-1"})
                    check(lead + wd + sep + tail);
            }
    EXPECT_GT(texts, 1'000'000);
    EXPECT_GT(dates, 10'000);
}

// The numeric fast path against the general reader, on texts of its shapes
// and their near misses: numbers of 0-5 digits, separators it takes and
// separators it must leave (a blank, a comma, ':', a letter), both orders.
// Whatever it accepts, the general reader accepts as the same date; and it
// takes enough of them to matter.
TEST(NumericFastPath, AgreesWithTheGeneralReader) {
    const char separators[] = {'/', '.', '-', ' ', ',', ':', 'x', '\t', '+'};
    std::mt19937 random(2026);
    const auto digits = [&random](size_t count) {
        std::string text;
        for (size_t i = 0; i < count; ++i)
            text += static_cast<char>('0' + random() % 10);
        return text;
    };
    const auto near_date = [&random, &digits](size_t width, int below) {
        // Mostly a plausible number below `below`, written in `width` digits.
        std::string text = digits(width);
        if (width > 0 && width <= 2 && random() % 2 == 0)
            text = std::to_string(1 + random() % static_cast<unsigned>(below));
        if (width == 4 && random() % 2 == 0)
            text = std::to_string(1390 + random() % 8620);
        return text;
    };
    int accepted = 0;
    for (int round = 0; round < 200000; ++round) {
        const size_t widths[3] = {random() % 6, random() % 6, random() % 6};
        const char first = separators[random() % std::size(separators)];
        const char second = random() % 4 == 0 ? separators[random() % std::size(separators)] : first;
        std::string text;
        switch (random() % 3) {
        case 0:  // year first
            text = near_date(4 + widths[0] % 2 * (random() % 2), 10000) + first + near_date(widths[1], 13) + second +
                   near_date(widths[2], 32);
            break;
        case 1:  // year last
            text = near_date(widths[0], 32) + first + near_date(widths[1], 32) + second + near_date(4, 10000);
            break;
        default:  // no separators
            text = digits(6 + random() % 4);
            if (random() % 2 == 0)
                text = std::to_string(1390 + random() % 8620) + (random() % 2 ? "0" : "1") + digits(1) +
                       std::to_string(random() % 4) + digits(1);
        }
        for (const field_order order : {field_order::month_first, field_order::day_first}) {
            date fast{};
            if (!spanlet::read_numeric_spelling(text, order, fast))
                continue;
            ++accepted;
            const spanlet::date_reading general = spanlet::read_date_general(text, {order});
            ASSERT_EQ(general.reason, spanlet::refusal::none) << '"' << text << '"';
            ASSERT_EQ(general.value, fast) << '"' << text << '"';
        }
    }
    EXPECT_GT(accepted, 20000);
}

}  // namespace
