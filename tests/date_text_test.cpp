#include "date/date_text.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "reading.h"

namespace {

const std::string SIX_SPACES = "      ";

// A date text through both stages: the canonical text, the layout the reader
// sees in it, and the triple it reads.
struct reading {
    std::string text;
    std::string canonical;
    int32_t layout;
    triple fields;
};

void expect_readings(const std::vector<reading>& cases) {
    for (const reading& c : cases) {
        SCOPED_TRACE("text \"" + c.text + "\"");
        const std::string canonical = normalized(c.text);
        EXPECT_EQ(canonical, c.canonical);
        EXPECT_EQ(detect_date_layout(canonical.c_str()), c.layout);
        EXPECT_EQ(read_fields(canonical), c.fields);
    }
}

TEST(DateTextReading, AcceptedSpellings) {
    expect_readings({
        {"2010-08-10", "2010/08/10", 14, {8, 10, 2010}},
        {"08-10-2010", "2010/08/10", 14, {8, 10, 2010}},
        {"2010/8/1", "2010/08/01", 14, {8, 1, 2010}},
        {"8-1-10", "2010/08/01", 14, {8, 1, 2010}},
        {"08/10/10", "2010/08/10", 14, {8, 10, 2010}},
        {"08/10/99", "1999/08/10", 14, {8, 10, 1999}},
        {"99/08/10", "1999/08/10", 14, {8, 10, 1999}},
        {"10/08/10", "2010/10/08", 14, {10, 8, 2010}},
        {"51-01-02", "1951/01/02", 14, {1, 2, 1951}},
        {"01-02-51", "1951/01/02", 14, {1, 2, 1951}},
        {"007-01-01", "2001/07/01", 14, {7, 1, 2001}},
        {"2010.08.10", "2010/08/10", 14, {8, 10, 2010}},
        {"2010 08 10", "2010/08/10", 14, {8, 10, 2010}},
        {"01-02--5", "1995/01/02", 14, {1, 2, 1995}},
        {" 2010-08-10", "2010/08/10", 14, {8, 10, 2010}},
        {"\t2010-08-10", "2010/08/10", 14, {8, 10, 2010}},
        {"2010-08-10T12:34:56", "2010/08/10", 14, {8, 10, 2010}},
        {"2010-08-10 and more", "2010/08/10", 14, {8, 10, 2010}},
        {"1400-01-01", "1400/01/01", 14, {1, 1, 1400}},
        {"9999-12-31", "9999/12/31", 14, {12, 31, 9999}},
        {"12-31-9999", "9999/12/31", 14, {12, 31, 9999}},
    });
}

// Four-digit years are kept as written: years below 1900 used to have 1900
// added, so 1850-01-01 was read as 3750.
TEST(DateTextReading, FourDigitYearsAreKept) {
    expect_readings({
        {"1850-01-01", "1850/01/01", 14, {1, 1, 1850}},
        {"01-01-1850", "1850/01/01", 14, {1, 1, 1850}},
        {"1899-12-31", "1899/12/31", 14, {12, 31, 1899}},
        {"1900-01-01", "1900/01/01", 14, {1, 1, 1900}},
    });
}

// A first value of exactly 50 is month first, like any value up to 50.
TEST(DateTextReading, FiftyIsReadMonthFirst) {
    expect_readings({
        {"50-01-2010", "2010/50/01", 14, {50, 1, 2010}},
        {"50-01-01", "2001/50/01", 14, {50, 1, 2001}},
        {"01-02-50", "0050/01/02", 12, {0, 0, 1901}},
        {"50-01-50", "0050/50/01", 12, {0, 0, 1900}},
    });
}

// Texts that are not dates still give a triple; none of these is a real date.
TEST(DateTextReading, NonDatesGiveNoRealDate) {
    expect_readings({
        {"31-12-1999", "1999/31/12", 14, {31, 12, 1999}},
        {"2010-13-01", "2010/13/01", 14, {13, 1, 2010}},
        {"08-10-30", "0030/08/10", 12, {0, 0, 1908}},
        {"10-10-21", "0021/10/10", 12, {0, 1, 1900}},
        {"2010-00-10", "0000/00/10", 12, {0, 0, 1900}},
        {"2010-05-00", "0000/05/00", 12, {0, 0, 1905}},
        {"2010-08-", "0000/08/00", 12, {0, 0, 1908}},
        {"abcdef", "0000/00/00", 12, {0, 0, 1900}},
        {"abc", SIX_SPACES, 8, {0, 0, 1900}},
        {"1-2-3", SIX_SPACES, 8, {0, 0, 1900}},
        {"", SIX_SPACES, 8, {0, 0, 1900}},
    });
}

// Texts whose canonical text would not read back as the same date become six
// spaces. Each used to be read silently as another date: 2010-08-123 as
// 12 Aug 2010, 2004-01--7 as 1 Apr 1920, 1111-11-11 as 1 Nov 1901.
TEST(DateTextReading, TextsThatWouldReadBackChangedBecomeSixSpaces) {
    const std::vector<std::string> texts = {
        "2010-08-123", "2004-01--7", "1111-11-11", "1399-12-31", "10000-01-01",
        "2010--08--10", "  2010-08-10", "2010-100-01", "0100-01-01", "01-01-100",
        "-1000-01-01",
    };
    for (const std::string& text : texts) {
        SCOPED_TRACE("text \"" + text + "\"");
        const std::string canonical = normalized(text);
        EXPECT_EQ(canonical, SIX_SPACES);
        EXPECT_EQ(detect_date_layout(canonical.c_str()), LAYOUT_SEPARATED);
        EXPECT_EQ(read_fields(canonical), (triple{0, 0, 1900}));
    }
}

// A scan for a separator that reaches the end of the text has no reading; it
// must neither read past the terminator nor guess.
TEST(DateTextReading, TextsWithoutTwoSeparatorsBecomeSixSpaces) {
    for (const std::string text : {"20100810", "2010-0810", "20100-", "2010-8", "123456"}) {
        EXPECT_EQ(normalized(text), SIX_SPACES) << "text \"" << text << "\"";
    }
}

// Negative years below 100 are written out; what they read back as is no date.
TEST(DateTextReading, NegativeYearsReadBackAsNoDate) {
    expect_readings({
        {"01-02--2100", "-100/01/02", 12, {-1, 0, 1901}},
        {"01-02--10000", "-8000/01/02", 0, {-8, 0, 1900}},
        {"01-02--2147483648", "-2147481648/01/02", 4, {-2, 14, 7481}},
    });
}

// Any length is read whole: nothing is truncated, nothing overflows.
TEST(DateTextReading, LongTextsAreReadWhole) {
    EXPECT_EQ(normalized(std::string(10000, '0') + "2010-08-10"), "2010/08/10");
    EXPECT_EQ(normalized("2010-08-10" + std::string(10000, 'x')), "2010/08/10");
    EXPECT_EQ(normalized("2010-08-" + std::string(10000, '0') + "10"), "2010/08/10");
    EXPECT_EQ(normalized(std::string(10000, '9') + "-08-10"), SIX_SPACES);
    EXPECT_EQ(normalized(std::string(10000, '-')), "0000/00/00");
}

// Bytes outside 7-bit ASCII are neither digits nor white space.
TEST(DateTextReading, NonAsciiBytesSeparateButNeverCount) {
    EXPECT_EQ(normalized("2010\xc3\xa9" "08\xc3\xa9" "10"), "0000/00/00");
    EXPECT_EQ(normalized("\xa0\xa0" "2010-08-10"), SIX_SPACES);
    EXPECT_EQ(normalized("2010\xff" "08\xff" "10"), "2010/08/10");
    EXPECT_EQ(detect_date_layout("\xb2\xb3\xb4\xb5\xb6\xb7\xb8\xb9"), LAYOUT_SEPARATED);
}

TEST(DetectDateLayout, EachLayout) {
    const std::vector<std::pair<std::string, int32_t>> cases = {
        {"081010", 0},    {"100810", 0},      {"08102010", 4},    {"20100810", 6},
        {"14100810", 6},  {"21000810", 2},    {"0810107", 0},     {"08101 ", 0},
        {"08-10-10", 8},  {"13-08-10", 10},   {"08-10-201", 8},   {"08-10-2010", 12},
        {"1310-08-10", 12}, {"1410-08-10", 14}, {"2010-08-10", 14}, {"      ", 8},
        {"", 8},          {"13100810", 4},    {"12345", 0},
    };
    for (const auto& [text, layout] : cases)
        EXPECT_EQ(detect_date_layout(text.c_str()), layout) << "text \"" << text << "\"";
}

TEST(ReadDateFields, FixedPositions) {
    const std::vector<std::pair<std::string, triple>> cases = {
        {"08-10-10", {8, 10, 1910}},    {"081010", {8, 10, 1910}},
        {"20100810", {8, 10, 2010}},    {"1299/05/06", {12, 9, 1905}},
        {"12345/08/10", {12, 34, 1905}}, {"08102010", {8, 10, 2010}},
        {"990810", {8, 10, 1999}},      {"13-08-10", {8, 10, 1913}},
        {"0810", {8, 0, 1900}},
    };
    for (const auto& [text, fields] : cases)
        EXPECT_EQ(read_fields(text), fields) << "text \"" << text << "\"";
}

// The reader adds 1900 only to a year below 100.
TEST(ReadDateFields, OnlyTwoDigitYearsAreWidened) {
    EXPECT_EQ(read_fields("1850/01/01"), (triple{1, 1, 1850}));
    EXPECT_EQ(read_fields("01-01-0099"), (triple{1, 1, 1999}));
    EXPECT_EQ(read_fields("01-01-0100"), (triple{1, 1, 100}));
}

TEST(ParseInt32, ReadsAsAtoiAndSaturates) {
    const std::vector<std::pair<std::string, int32_t>> cases = {
        {"", 0},
        {"abc", 0},
        {"42", 42},
        {" \t\n\v\f\r42x", 42},
        {"+7", 7},
        {"-7", -7},
        {"--7", 0},
        {"- 7", 0},
        {"0042", 42},
        {"2147483647", INT32_MAX},
        {"2147483648", INT32_MAX},
        {"-2147483648", INT32_MIN},
        {"-2147483649", INT32_MIN},
        {"99999999999999999999999999", INT32_MAX},
        {"-99999999999999999999999999", INT32_MIN},
        {"\xa0" "5", 0},
    };
    for (const auto& [text, value] : cases) {
        EXPECT_EQ(parse_int32(text.data(), text.data() + text.size()), value)
            << "text \"" << text << "\"";
    }
}

TEST(ParseInt32, StopsAtTheEndOfItsRange) {
    const char text[] = "12345";
    EXPECT_EQ(parse_int32(text, text + 2), 12);
    EXPECT_EQ(parse_int32(text, text), 0);
}

// The canonical text's fields must be exactly what "%0*d" writes.
TEST(FormatPadded, MatchesPrintfForEveryKindOfValue) {
    std::vector<int32_t> values = {INT32_MIN, INT32_MIN + 1, INT32_MAX, INT32_MAX - 1};
    for (int32_t v = -10000; v <= 10000; ++v)
        values.push_back(v);
    for (int32_t v = 10; v < INT32_MAX / 10; v *= 10) {
        for (int32_t near : {v - 1, v, v + 1})
            values.push_back(near), values.push_back(-near);
    }
    for (const int32_t width : {2, 4}) {
        for (const int32_t value : values) {
            char expected[32];
            std::snprintf(expected, sizeof expected, "%0*d", static_cast<int>(width),
                          static_cast<int>(value));
            char actual[32];
            *format_padded(actual, value, width) = '\0';
            ASSERT_STREQ(actual, expected) << "value " << value << ", width " << width;
        }
    }
}

}  // namespace
