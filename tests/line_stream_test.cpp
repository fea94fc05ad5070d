// The pieces of batch mode in process: the line and field splitters, the
// message lines, the option parser's sizes, and the whole line stream over
// memory read in chunks of every size.

#include <gtest/gtest.h>

#ifndef _WIN32
#include <unistd.h>
#endif

#include <algorithm>
#include <cstdint>
#include <random>
#include <string>
#include <string_view>
#include <vector>

#include "frame/csv_split.h"
#include "io/fd_io.h"
#include "frame/line_split.h"
#include "print/messages.h"
#include "options/options.h"
#include "memory_io.h"

namespace {

using spanlet::cli::line_buffer;

// What the splitter hands out for `input` read in chunks of `chunk` bytes:
// each line in brackets, an over-long one as <long>; for records, a record
// with line feeds inside quotes followed by their count, and one that ends
// inside quotes by an open quote.
std::string lines_of(std::string_view input, size_t limit, size_t chunk, bool quoted_records) {
    line_buffer lines(limit, quoted_records);
    std::string shown;
    size_t at = 0;
    for (;;) {
        std::string_view line;
        const line_buffer::item got = lines.next(line);
        if (got == line_buffer::item::end)
            return shown;
        const std::string inside = lines.feeds_inside() != 0 ? std::to_string(lines.feeds_inside()) : "";
        if (got == line_buffer::item::line) {
            shown += "[" + std::string(line) + "]" + inside + (lines.ended_in_quotes() ? "\"" : "");
        } else if (got == line_buffer::item::too_long) {
            shown += "<long>" + inside;
        } else if (at == input.size()) {
            lines.end_input();
        } else {
            size_t room = 0;
            char* into = lines.room(room);
            EXPECT_GE(room, 1u);
            const size_t n = std::min({room, chunk, input.size() - at});
            std::copy_n(input.data() + at, n, into);
            lines.added(n);
            at += n;
        }
    }
}

struct split_case {
    std::string input;
    size_t limit;
    std::string lines;
};

// Every case split the same way in chunks of 1 byte to 64 KiB.
void expect_split(const std::vector<split_case>& cases, bool quoted_records) {
    for (const split_case& c : cases) {
        for (const size_t chunk : {size_t{1}, size_t{2}, size_t{3}, size_t{7}, size_t{65536}}) {
            SCOPED_TRACE("input \"" + c.input.substr(0, 40) + "\" in chunks of " + std::to_string(chunk));
            EXPECT_EQ(lines_of(c.input, c.limit, chunk, quoted_records), c.lines);
        }
    }
}

TEST(LineBuffer, HandsOutTheSameLinesInChunksOfAnySize) {
    const std::vector<split_case> cases = {
        {"", 100, ""},
        {"a\nb\n", 100, "[a][b]"},
        {"a\nb", 100, "[a][b]"},  // the last line needs no line feed
        {"\n\n", 100, "[][]"},
        {"a\r\n", 100, "[a\r]"},  // the CR is the caller's to strip
        {"\xEF\xBB\xBF" "a\n", 100, "[a]"},
        {"\xEF\xBB\xBF", 100, ""},
        {"\xEF\xBB", 100, "[\xEF\xBB]"},  // part of a mark is no mark
        {"\xEF\xBB\xBF\xEF\xBB\xBF" "a", 100, "[\xEF\xBB\xBF" "a]"},
        {"a\n\xEF\xBB\xBF" "b", 100, "[a][\xEF\xBB\xBF" "b]"},
        {"1234\n12345\n123456\nab", 5, "[1234][12345]<long>[ab]"},
        {"123456", 5, "<long>"},
        {"123456\n", 5, "<long>"},
        {std::string(300000, 'x') + "\nok\n" + std::string(300000, 'y'), 1000, "<long>[ok]<long>"},
    };
    expect_split(cases, false);
}

#ifndef _WIN32
// Ranges of a file cut anywhere give each line to exactly one of them, the
// one where it starts: the cuts placed at line starts, one byte either side,
// inside long lines and past the end, each range read in small pieces.
TEST(FileLines, ConsecutiveRangesGiveEveryLineOnce) {
    std::mt19937 random(17);
    for (int round = 0; round < 40; ++round) {
        std::string text;
        std::vector<uint64_t> starts;
        for (int i = 0; i < 60; ++i) {
            starts.push_back(text.size());
            text += std::string(random() % 10 == 0 ? 100 + random() % 300 : random() % 30, 'x') + "\n";
        }
        if (round % 2 == 1)
            text += "last line without its line feed";
        char name[] = "/tmp/spanlet-lines-XXXXXX";
        const int fd = mkstemp(name);
        ASSERT_GE(fd, 0);
        ASSERT_EQ(write(fd, text.data(), text.size()), static_cast<ssize_t>(text.size()));
        std::vector<uint64_t> cuts;
        for (int i = 0; i < 12; ++i) {
            const uint64_t start = starts[random() % starts.size()];
            const uint64_t cut = start + (random() % 3) - 1 + (random() % 4 == 0 ? random() % 200 : 0);
            if (cut >= 1 && cut < text.size() + 50)
                cuts.push_back(cut);
        }
        std::sort(cuts.begin(), cuts.end());
        cuts.erase(std::unique(cuts.begin(), cuts.end()), cuts.end());
        std::string joined;
        for (size_t k = 0; k <= cuts.size(); ++k) {
            const uint64_t from = k == 0 ? 0 : cuts[k - 1];
            const uint64_t to = k == cuts.size() ? 0 : cuts[k];
            spanlet::cli::file_lines range(fd, from, to, k == 0);
            std::string bytes;
            char piece[7];
            for (long got; (got = range.read(piece, 1 + random() % sizeof piece)) > 0;)
                bytes.append(piece, static_cast<size_t>(got));
            if (!bytes.empty()) {
                // It begins with a line that starts in the range.
                const size_t begins = joined.size();
                ASSERT_TRUE(begins == 0 || text[begins - 1] == '\n') << "round " << round << ", from " << from;
                ASSERT_GE(begins, from) << "round " << round;
                ASSERT_TRUE(to == 0 || begins < to) << "round " << round << ", to " << to;
            }
            joined += bytes;
        }
        close(fd);
        unlink(name);
        ASSERT_EQ(joined, text) << "round " << round;
    }
}
#endif

TEST(SplitFields, AtTheDelimiterTheTabOrBlanks) {
    struct field_case {
        std::string line;
        const char* delimiter;
        size_t fields;
        std::string first, second;
    };
    const std::vector<field_case> cases = {
        {"a\tb", nullptr, 2, "a", "b"},
        {"a b\tc", nullptr, 2, "a b", "c"},
        {"  a   b  ", nullptr, 2, "a", "b"},
        {"a", nullptr, 1, "", ""},
        {"", nullptr, 0, "", ""},
        {"   ", nullptr, 0, "", ""},
        {"a b c", nullptr, 3, "", ""},
        {"a\tb\tc\td", nullptr, 4, "", ""},
        {"a,b", ",", 2, "a", "b"},
        {"a\tb", ",", 1, "", ""},
        {",", ",", 2, "", ""},
        {"a,b,c", ",", 3, "", ""},
    };
    for (const field_case& c : cases) {
        SCOPED_TRACE("line \"" + c.line + "\"");
        const spanlet::cli::split_line split = spanlet::cli::split_fields(c.line, c.delimiter);
        EXPECT_EQ(split.fields, c.fields);
        EXPECT_EQ(split.first, c.first);
        EXPECT_EQ(split.second, c.second);
    }
}

TEST(MessageLine, EscapesControlBytesAndCutsLongTexts) {
    const auto quoted = [](std::string_view text) {
        spanlet::cli::message_line line;
        return std::string(line.quoted(text).text(": why").end());
    };
    EXPECT_EQ(quoted("a\tb\r\n\x1b\x01\x7f\x1f"), "\"a\\tb\\r\\n\\e\\x01\\x7f\\x1f\": why\n");
    EXPECT_EQ(quoted("caf\xc3\xa9"), "\"caf\xc3\xa9\": why\n");  // UTF-8 passes as it is
    EXPECT_EQ(quoted(std::string(300, 'x')), "\"" + std::string(200, 'x') + "\xe2\x80\xa6\": why\n");
    // Cut before a character that does not fit whole, never inside it.
    EXPECT_EQ(quoted(std::string(199, 'x') + "\xc3\xa9"), "\"" + std::string(199, 'x') + "\xe2\x80\xa6\": why\n");
    EXPECT_EQ(quoted(std::string(198, 'x') + "\xe2\x80\x93"), "\"" + std::string(198, 'x') + "\xe2\x80\xa6\": why\n");
    EXPECT_EQ(quoted(std::string(199, 'x') + "\t"), "\"" + std::string(199, 'x') + "\xe2\x80\xa6\": why\n");

    // A line never grows past its room, whatever it is given.
    spanlet::cli::message_line line;
    for (int i = 0; i < 100; ++i)
        line.text(std::string(50, 'n')).quoted(std::string(300, 'q'));
    const std::string_view whole = line.end();
    EXPECT_LE(whole.size(), spanlet::cli::MESSAGE_LINE_MAX);
    EXPECT_EQ(whole.substr(whole.size() - 4), "\xe2\x80\xa6\n");
}

// Messages go out as whole lines, in writes of at most PIPE_BUF bytes.
// Every refusal has words of its own: a refusal added to the reader and not
// to the messages would be said as another one, or as nothing.
TEST(MessageWords, EveryRefusalSaysItsOwnReason) {
    std::vector<std::string> said;
    for (size_t r = 1; r < spanlet::REFUSAL_COUNT; ++r) {
        memory_io::sink err;
        {
            spanlet::cli::message_log log(err);
            spanlet::date_reading reading;
            reading.reason = static_cast<spanlet::refusal>(r);
            reading.fields = {2010, 8, 10};
            reading.weekday = 1;
            spanlet::cli::say::refusal(log, {}, "TEXT", reading);
        }
        const std::string prefix = "spanlet: \"TEXT\": ";
        ASSERT_EQ(err.text.substr(0, prefix.size()), prefix) << "refusal " << r;
        const std::string words = err.text.substr(prefix.size());
        EXPECT_GT(words.size(), 1U) << "refusal " << r << " has no words";
        EXPECT_EQ(std::count(said.begin(), said.end(), words), 0) << "refusal " << r << " says " << words;
        said.push_back(words);
    }
}

TEST(MessageLog, WritesWholeLinesInBlocks) {
    memory_io::sink err;
    {
        spanlet::cli::message_log log(err);
        for (int i = 0; i < 1000; ++i)
            spanlet::cli::say::line_problem(log, {"f", static_cast<uint64_t>(i)}, std::string(static_cast<size_t>(i % 300), 'w'));
    }
    size_t lines = 0;
    size_t at = 0;
    for (const size_t size : err.writes) {
        EXPECT_LE(size, spanlet::cli::MESSAGE_BLOCK);
        EXPECT_EQ(err.text[at + size - 1], '\n') << "a write that ends inside a line";
        at += size;
    }
    for (const char c : err.text)
        lines += c == '\n';
    EXPECT_EQ(lines, 1000u);
    EXPECT_GT(err.writes.size(), 1u);
    EXPECT_LT(err.writes.size(), 1000u / 4);
}

TEST(ParseSize, BytesAndBinaryUnits) {
    const std::vector<std::pair<std::string, size_t>> good = {
        {"1", 1}, {"1000", 1000}, {"1K", 1024}, {"1k", 1024}, {"64M", size_t{64} << 20}, {"1G", size_t{1} << 30},
    };
    for (const auto& [text, bytes] : good) {
        size_t parsed = 0;
        EXPECT_TRUE(spanlet::cli::parse_size(text.c_str(), parsed)) << text;
        EXPECT_EQ(parsed, bytes) << text;
    }
    for (const std::string text : {"", "0", "0K", "K", "-1", "1.5M", "1KB", "1T", " 1", "99999999999999999999999",
                                   "100000000000G"}) {
        size_t parsed = 0;
        EXPECT_FALSE(spanlet::cli::parse_size(text.c_str(), parsed)) << text;
    }
}

// The whole stream, in process: the same bytes come out whether the input is
// read whole (a file) or in small pieces (a pipe), and answers are written
// before every read of a pipe.
TEST(LineStream, ChunksGiveTheBytesAWholeReadGives) {
    const std::string input = "\xEF\xBB\xBF" "2010-08-10\t2010-01-01\n8/10/2010 1/1/2010\r\nabc\t2010-02-30\n" +
                              std::string(5000, 'z') + "\n2010-08-10\t2010-01-01\r\n\n2010-08-10\t2010-01-01";
    spanlet::cli::options opts;
    opts.line_limit = 4096;
    for (const bool number_only : {false, true}) {
        opts.number_only = number_only;
        const memory_io::result whole = memory_io::run(opts, input);
        EXPECT_EQ(whole.status, 1);
        for (const size_t chunk : {size_t{1}, size_t{2}, size_t{5}, size_t{21}, size_t{22}, size_t{23}, size_t{4096}}) {
            const memory_io::result piecewise = memory_io::run(opts, input, {chunk}, true);
            EXPECT_EQ(piecewise.output, whole.output) << chunk;
            EXPECT_EQ(piecewise.errors, whole.errors) << chunk;
            EXPECT_EQ(piecewise.status, whole.status) << chunk;
        }
    }
    opts.number_only = true;
    EXPECT_EQ(memory_io::run(opts, input).output, "221\n221\n\n\n221\n\n221\n");
}

// ---- CSV records ------------------------------------------------------------

TEST(LineBuffer, RecordsKeepLineFeedsInsideQuotes) {
    const std::vector<split_case> cases = {
        {"a,b\nc,d\n", 100, "[a,b][c,d]"},
        {"\"x\ny\",1\n2\n", 100, "[\"x\ny\",1]1[2]"},
        {"\"a\"\"\nb\",1\n", 100, "[\"a\"\"\nb\",1]1"},  // a doubled quote keeps the field open
        {"\"\n\n\n\"\r\nz", 100, "[\"\n\n\n\"\r]3[z]"},
        {"\"open\nto the end\n", 100, "[\"open\nto the end\n]2\""},
        {"\xEF\xBB\xBF\"a\nb\"\n", 100, "[\"a\nb\"]1"},
        // Over the limit, the record's line feeds inside quotes still count.
        {"\"123\n456\n789\"\nok\n", 6, "<long>2[ok]"},
    };
    expect_split(cases, true);
}

// Fields as written, then their values.
std::string fields_of(std::string_view record, char delimiter) {
    std::string shown;
    std::string scratch;
    spanlet::cli::csv_fields fields(record, delimiter);
    while (fields.more()) {
        const std::string_view raw = fields.next();
        shown += "[" + std::string(raw) + "=" + std::string(spanlet::cli::csv_value(raw, scratch)) + "]";
    }
    return shown;
}

TEST(CsvFields, SplitOutsideQuotesAndUnescape) {
    const std::vector<std::pair<std::string, std::string>> cases = {
        {"", "[=]"},
        {"a", "[a=a]"},
        {"a,b", "[a=a][b=b]"},
        {",", "[=][=]"},
        {"a,", "[a=a][=]"},
        {"\"a,b\",c", "[\"a,b\"=a,b][c=c]"},
        {"\"2010-08-10\",\"8/1/2010\"", "[\"2010-08-10\"=2010-08-10][\"8/1/2010\"=8/1/2010]"},
        {"\"Doe \"\"JD\"\"\",1", "[\"Doe \"\"JD\"\"\"=Doe \"JD\"][1=1]"},
        {"\"\"", "[\"\"=]"},
        {"\"\"\"\"", "[\"\"\"\"=\"]"},
        {"\"a\nb\",\"c\r\"", "[\"a\nb\"=a\nb][\"c\r\"=c\r]"},
        // A quote inside a field opens a quoted part there.
        {"ab\"c,d\"e,f", "[ab\"c,d\"e=abc,de][f=f]"},
        {"\"open,to the end", "[\"open,to the end=open,to the end]"},
    };
    for (const auto& [record, fields] : cases)
        EXPECT_EQ(fields_of(record, ','), fields) << record;
    EXPECT_EQ(fields_of("a;\"b;c\";d,e", ';'), "[a=a][\"b;c\"=b;c][d,e=d,e]");
    EXPECT_EQ(fields_of("a\tb", '\t'), "[a=a][b=b]");
}

TEST(CsvFields, NamesAreQuotedWhenTheyMustBe) {
    EXPECT_EQ(spanlet::cli::csv_field_text("days", ','), "days");
    EXPECT_EQ(spanlet::cli::csv_field_text("a,b", ','), "\"a,b\"");
    EXPECT_EQ(spanlet::cli::csv_field_text("a,b", ';'), "a,b");
    EXPECT_EQ(spanlet::cli::csv_field_text("say \"hi\"", ','), "\"say \"\"hi\"\"\"");
    EXPECT_EQ(spanlet::cli::csv_field_text("two\nlines", ','), "\"two\nlines\"");
}

TEST(CsvStream, ChunksGiveTheBytesAWholeReadGives) {
    const std::string input = "\xEF\xBB\xBF" "id,start,end\r\n1,\"2010-08-10\",2010-01-01\r\n2,\"a\nb\",x\n"
                              "3,2010-01-01\n4,2010-01-02,2010-01-01";
    spanlet::cli::options opts;
    opts.csv = true;
    opts.header = true;
    opts.columns.numbers[0] = 0;
    opts.columns.names[0] = "start";
    opts.columns.numbers[1] = 3;
    opts.columns.names[1] = "3";
    const memory_io::result whole = memory_io::run(opts, input);
    EXPECT_EQ(whole.output, "id,start,end,days\r\n1,\"2010-08-10\",2010-01-01,221\r\n2,\"a\nb\",x,\n"
                            "3,2010-01-01,\n4,2010-01-02,2010-01-01,1");
    EXPECT_EQ(whole.errors, "spanlet: NAME:3: column \"start\": \"a\\nb\": not a date spanlet reads "
                            "(write 2010-08-10 or 08-10-2010)\n"
                            "spanlet: NAME:3: column \"end\": \"x\": not a date spanlet reads (write 2010-08-10 or 08-10-2010)\n"
                            "spanlet: NAME:5: the record has 2 fields: no column 3\n");
    EXPECT_EQ(whole.status, 1);
    for (const size_t chunk : {size_t{1}, size_t{3}, size_t{17}}) {
        const memory_io::result pieces = memory_io::run(opts, input, {chunk}, true);
        EXPECT_EQ(pieces.output, whole.output) << chunk;
        EXPECT_EQ(pieces.errors, whole.errors) << chunk;
    }
}

}  // namespace
