// End-to-end: runs the spanlet executable as a child process and compares the
// exact bytes of its standard output and its exit status.
//
//   spanlet_cli_tests PROGRAM [--launcher=LOADER] [--windows] [gtest flags]
//
// --launcher runs PROGRAM through LOADER (a Windows build under Wine).
// --windows expects what a Windows console program writes: its standard output
// stays in text mode, so every line feed goes out as CR LF, and it receives its
// arguments in the ANSI code page.

#include <gtest/gtest.h>

#include <fcntl.h>
#include <poll.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <csignal>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <ostream>
#include <tuple>
#include <utility>
#include <string>
#include <vector>

namespace {

std::string program;
std::string launcher;
bool windows = false;

struct run_result {
    std::string output;
    std::string errors;
    int status = -1;
};

std::string read_all(int fd) {
    std::string text;
    char buffer[4096];
    for (ssize_t n; (n = read(fd, buffer, sizeof buffer)) > 0;)
        text.append(buffer, static_cast<size_t>(n));
    return text;
}

struct run_options {
    const char* output_path = nullptr;        // standard output; a pipe by default
    const char* input_path = "/dev/null";     // standard input
    int input_fd = -1;                        // or this descriptor, when given
    std::vector<std::string> environment;     // NAME=VALUE words added to the program's own
};

// Starts the program with `args` (through the launcher, if there is one),
// with `in`, `out` and `err` as its standard streams, `environment`
// (NAME=VALUE words) added to its own and, if given, a limit on its address
// space. No other descriptor of this process
// stays open in it, so that every pipe ends when this process closes its side.
pid_t start(const std::vector<std::string>& args, int in, int out, int err,
            const std::vector<std::string>& environment = {}, const rlimit* address_space = nullptr) {
    std::vector<std::string> command;
    if (!launcher.empty())
        command.push_back(launcher);
    command.push_back(program);
    command.insert(command.end(), args.begin(), args.end());
    std::vector<char*> argv;
    for (std::string& word : command)
        argv.push_back(word.data());
    argv.push_back(nullptr);

    const pid_t child = fork();
    if (child == 0) {
        dup2(in, STDIN_FILENO);
        dup2(out, STDOUT_FILENO);
        dup2(err, STDERR_FILENO);
        for (int fd = STDERR_FILENO + 1; fd < 1024; ++fd)
            close(fd);
        for (const std::string& setting : environment) {
            const size_t equals = setting.find('=');
            setenv(setting.substr(0, equals).c_str(), setting.substr(equals + 1).c_str(), 1);
        }
        if (address_space != nullptr)
            setrlimit(RLIMIT_AS, address_space);
        execv(argv[0], argv.data());
        _exit(127);
    }
    return child;
}

int exit_status(pid_t child) {
    int wait_status = 0;
    waitpid(child, &wait_status, 0);
    return WIFEXITED(wait_status) ? WEXITSTATUS(wait_status) : -1;
}

// Runs the program with `args`; its standard output goes to a pipe (or the
// file `how` names) and its standard error to another pipe.
run_result run(const std::vector<std::string>& args, const run_options& how = {}) {
    int out_fds[2];
    int err_fds[2];
    if (pipe(out_fds) != 0 || pipe(err_fds) != 0)
        return {};
    const int in = how.input_fd >= 0 ? dup(how.input_fd) : open(how.input_path, O_RDONLY);
    const int out = how.output_path ? open(how.output_path, O_WRONLY) : out_fds[1];
    const pid_t child = start(args, in, out, err_fds[1], how.environment);
    close(in);
    if (out != out_fds[1])
        close(out);
    close(out_fds[1]);
    close(err_fds[1]);
    run_result result;
    // Standard error stays far below a pipe's capacity, so reading standard
    // output to its end first cannot block the program.
    result.output = read_all(out_fds[0]);
    result.errors = read_all(err_fds[0]);
    close(out_fds[0]);
    close(err_fds[0]);
    result.status = exit_status(child);
    return result;
}

// What the program writes for `text`, on this platform.
std::string on_console(const std::string& text) {
    if (!windows)
        return text;
    std::string converted;
    for (const char c : text)
        converted += c == '\n' ? std::string("\r\n") : std::string(1, c);
    return converted;
}

const std::string USAGE =
    "\nProgram operation\n\n"
    "spanlet   YYYY1-MM1-DD1    YYYY2-MM2-DD2 or\n"
    "spanlet   MM1-DD1-YYYY1    MM2-DD2-YYYY2 or\n"
    "prints the difference between the day1, and day2 dates\n"
    "The YYYY component must be 4 digits, and the MM DD must be 2 digits\n"
    "Run spanlet --help for the other spellings spanlet reads, and its options.\n";

// One run, its own test: a name, the arguments, and exactly what it must
// write on each stream and the status it must end with.
struct cli_case {
    std::string name;
    std::vector<std::string> args;
    std::string output;
    std::string errors;
    int status;
};

void PrintTo(const cli_case& c, std::ostream* out) { *out << c.name; }

void expect_run(const cli_case& c) {
    const run_result result = run(c.args);
    EXPECT_EQ(result.output, on_console(c.output));
    EXPECT_EQ(result.errors, on_console(c.errors));
    EXPECT_EQ(result.status, c.status);
}

template <typename Case>
std::string case_name(const testing::TestParamInfo<Case>& info) {
    return info.param.name;
}

// The echo of both arguments that every full-form run begins with.
std::string echo(const std::string& first, const std::string& second) {
    return "\n" + first + "\t" + second + "\t";
}

// A refused argument's line on standard error.
std::string why(const std::string& text, const std::string& reason) {
    return "spanlet: \"" + text + "\": " + reason + "\n";
}

const std::string WRITE_LIKE_THIS = "(write 2010-08-10 or 08-10-2010)";

const std::string GOOD = "2010-01-01";
const std::string NO_DATE = "0/0/1900 is not a valid date\n";

// ---- one pair on the command line ---------------------------------------------

class Pair : public testing::TestWithParam<cli_case> {};
TEST_P(Pair, Runs) { expect_run(GetParam()); }

INSTANTIATE_TEST_SUITE_P(Difference, Pair, testing::ValuesIn(std::vector<cli_case>{
    {"NineDays", {"2010-08-10", "2010-08-01"}, echo("2010-08-10", "2010-08-01") + "9", "", 0},
    {"SwappedIsNegative", {"2010-08-01", "2010-08-10"}, echo("2010-08-01", "2010-08-10") + "-9", "", 0},
    {"SameDateIsZero", {"2010-08-10", "2010-08-10"}, echo("2010-08-10", "2010-08-10") + "0", "", 0},
    {"MonthFirst", {"08-10-2010", "01-01-2010"}, echo("08-10-2010", "01-01-2010") + "221", "", 0},
    {"OneDigitFields", {"2010/8/1", "2009/12/31"}, echo("2010/8/1", "2009/12/31") + "213", "", 0},
    {"TwoDigitYears", {"08/10/10", "08/10/99"}, echo("08/10/10", "08/10/99") + "4018", "", 0},
    {"TwoDigitYearFirst", {"99/08/10", "10/08/10"}, echo("99/08/10", "10/08/10") + "-4077", "", 0},
    {"Century", {"1999-12-31", "1900-01-01"}, echo("1999-12-31", "1900-01-01") + "36523", "", 0},
    {"LeapDays", {"2000-02-29", "1900-02-28"}, echo("2000-02-29", "1900-02-28") + "36525", "", 0},
    {"AcrossNewYear", {"12-31-1999", "1-1-2000"}, echo("12-31-1999", "1-1-2000") + "-1", "", 0},
    {"LeapDay2004", {"02-29-2004", "03-01-2004"}, echo("02-29-2004", "03-01-2004") + "-1", "", 0},
    {"Before1900", {"1850-01-01", "1900-01-01"}, echo("1850-01-01", "1900-01-01") + "-18262", "", 0},
    {"WholeRange", {"9999-12-31", "1400-01-01"}, echo("9999-12-31", "1400-01-01") + "3141084", "", 0},
    {"ShortUsYear", {"12/10/26", "2026-12-10"}, echo("12/10/26", "2026-12-10") + "0", "", 0},
    {"EightDigitsAndTime", {"20100810T1234", GOOD}, echo("20100810T1234", GOOD) + "221", "", 0},
    // A T alone used to be refused, while 20100810T was read.
    {"TAloneAfterTheDate", {"2010-08-10T", GOOD}, echo("2010-08-10T", GOOD) + "221", "", 0},
}), case_name<cli_case>);

// A text that is not a real date: after both echoes, the first refused date
// on standard output, with the numbers as the text has them; on standard
// error, a line for every refused argument saying why.
INSTANTIATE_TEST_SUITE_P(Refused, Pair, testing::ValuesIn(std::vector<cli_case>{
    {"NoThirtiethOfFebruary", {"2/30/2010", GOOD}, echo("2/30/2010", GOOD) + "2/30/2010 is not a valid date\n",
     why("2/30/2010", "30 February 2010 does not exist"), 1},
    {"SecondDateRefused", {GOOD, "2010-02-30"}, echo(GOOD, "2010-02-30") + "2/30/2010 is not a valid date\n",
     why("2010-02-30", "30 February 2010 does not exist"), 1},
    {"BothRefusedBothSaid", {"2010-13-01", "abc"}, echo("2010-13-01", "abc") + "13/1/2010 is not a valid date\n",
     why("2010-13-01", "there is no month 13") + why("abc", "not a date spanlet reads " + WRITE_LIKE_THIS), 1},
    // The message used to show what a fixed-layout reader made of a
    // rewritten text: 0/0/1902 for 12/0/2010.
    {"DayZeroShownAsFound", {"2010-12-00", GOOD}, echo("2010-12-00", GOOD) + "12/0/2010 is not a valid date\n",
     why("2010-12-00", "there is no day 0 in a month"), 1},
    {"MonthZeroShownAsFound", {"00/10/2010", GOOD}, echo("00/10/2010", GOOD) + "0/10/2010 is not a valid date\n",
     why("00/10/2010", "there is no month 0"), 1},
    {"YearBefore1400ShownAsFound", {"0001-06-15", GOOD}, echo("0001-06-15", GOOD) + "6/15/1 is not a valid date\n",
     why("0001-06-15", "years before 1400 are not read"), 1},
    {"WideYearTakenAsWritten", {"12/31/0099", GOOD}, echo("12/31/0099", GOOD) + "12/31/99 is not a valid date\n",
     why("12/31/0099", "years before 1400 are not read"), 1},
    {"YearAfter9999", {"10000-01-01", GOOD}, echo("10000-01-01", GOOD) + "1/1/10000 is not a valid date\n",
     why("10000-01-01", "years after 9999 are not read"), 1},
    // A number cut short at the largest 32-bit value is never shown.
    {"HugeNumbersNotShown", {"2010-08-99999999999", "2010-99999999999-01"},
     echo("2010-08-99999999999", "2010-99999999999-01") + NO_DATE,
     why("2010-08-99999999999", "August 2010 has no such day") +
         why("2010-99999999999-01", "there is no such month"), 1},
    {"NegativeNumber", {"1/1/-600", GOOD}, echo("1/1/-600", GOOD) + NO_DATE,
     why("1/1/-600", "a date has no negative numbers"), 1},
    {"NoDigits", {"08/10/ab", GOOD}, echo("08/10/ab", GOOD) + NO_DATE,
     why("08/10/ab", "a date needs three numbers, each with digits " + WRITE_LIKE_THIS), 1},
    {"LetterAfterTheDate", {"2010-08-1O", GOOD}, echo("2010-08-1O", GOOD) + NO_DATE,
     why("2010-08-1O", "what follows the date is not a time"), 1},
    {"Empty", {"", GOOD}, echo("", GOOD) + NO_DATE, why("", "not a date spanlet reads " + WRITE_LIKE_THIS), 1},
    // The escape sequence used to reach the terminal raw through standard
    // error; the echo on standard output stays the argument unchanged.
    {"ControlBytesEscaped", {"2010-08-10\x1b]0;TITLE\a\x7f\x01", GOOD},
     echo("2010-08-10\x1b]0;TITLE\a\x7f\x01", GOOD) + NO_DATE,
     why("2010-08-10\\e]0;TITLE\\x07\\x7f\\x01", "what follows the date is not a time"), 1},
}), case_name<cli_case>);

// The dates that logs, certificates and exports write, and texts that only
// look like dates: each look-alike used to print a number.
INSTANTIATE_TEST_SUITE_P(Spellings, Pair, testing::ValuesIn(std::vector<cli_case>{
    {"DateCommand", {"-n", "Thu Dec 10 02:56:35 UTC 2026", "2026-12-01"}, "9\n", "", 0},
    {"EmailHeader", {"-n", "Thu, 10 Dec 2026 02:56:35 +0000", "2026-12-01"}, "9\n", "", 0},
    {"Certificate", {"-n", "Mar  1 12:00:00 2027 GMT", "2027-02-28"}, "1\n", "", 0},
    {"Git", {"-n", "Thu Dec 10 01:53:51 2026 +0000", "2026-12-10"}, "0\n", "", 0},
    {"WebServerLog", {"-n", "10/Oct/2000:13:55:36 -0700", "2000-10-01"}, "9\n", "", 0},
    {"Spreadsheet", {"-n", "10-AUG-10", "10AUG2010"}, "0\n", "", 0},
    {"MonthDayYear", {"-n", "August 10, 2010", GOOD}, "221\n", "", 0},
    {"WeekDate", {"-n", "2026-W50-4", "2026-344"}, "0\n", "", 0},
    // Noon UTC: 10 August in every time zone within twelve hours of it.
    {"UnixTime", {"-n", "@1281441600", GOOD}, "221\n", "", 0},
    {"Zulu", {"-n", "2010-08-10Z", "2010-01-01T"}, "221\n", "", 0},
    {"TimeOfDay", {"-n", "12:30:45", "2045-12-30"}, "",
     why("12:30:45", "not a date spanlet reads " + WRITE_LIKE_THIS), 1},
    {"IpAddress", {"-n", "10.1.1.1", GOOD}, "", why("10.1.1.1", "what follows the date is not a time"), 1},
    {"CoordinatePair", {"-n", "12.5,3.2", GOOD}, "", why("12.5,3.2", "not a date spanlet reads " + WRITE_LIKE_THIS), 1},
    {"BoxSize", {"-n", "10x20x30", GOOD}, "", why("10x20x30", "not a date spanlet reads " + WRITE_LIKE_THIS), 1},
    {"PhoneNumber", {"-n", "01 23 45 67 89", GOOD}, "",
     why("01 23 45 67 89", "what follows the date is not a time"), 1},
    {"WrongWeekday", {"Fri, 10 Aug 2010", GOOD}, echo("Fri, 10 Aug 2010", GOOD) + "8/10/2010 is not a valid date\n",
     why("Fri, 10 Aug 2010", "10 August 2010 was a Tuesday, not a Friday"), 1},
    {"NoYear", {"-n", "Dec 10 02:42", GOOD}, "", why("Dec 10 02:42", "a date needs a year"), 1},
    {"WeekNotDay", {"-n", "2026-W50", GOOD}, "",
     why("2026-W50", "a week, not a day (add its weekday: 1 is Monday, 7 Sunday)"), 1},
    {"NoWeek53", {"-n", "2021-W53-1", GOOD}, "", why("2021-W53-1", "2021 has 52 weeks"), 1},
    {"DayFirstHint", {"-n", "24.12.2026", GOOD}, "",
     why("24.12.2026", "there is no month 24 (for day first, use --day-first)"), 1},
    {"DayFirstRead", {"-n", "--day-first", "24.12.2026", "2026-12-24"}, "0\n", "", 0},
}), case_name<cli_case>);

INSTANTIATE_TEST_SUITE_P(Options, Pair, testing::ValuesIn(std::vector<cli_case>{
    {"NumberOnly", {"-n", "2010-08-10", GOOD}, "221\n", "", 0},
    {"NumberOnlyAfterTheDates", {"2010-08-10", GOOD, "--number-only"}, "221\n", "", 0},
    {"NumberOnlyRefused", {"-n", "2010-02-30", GOOD}, "", why("2010-02-30", "30 February 2010 does not exist"), 1},
    {"Inclusive", {"--inclusive", "2010-08-10", GOOD}, echo("2010-08-10", GOOD) + "222", "", 0},
    {"InclusiveNegative", {"--inclusive", GOOD, "2010-08-10"}, echo(GOOD, "2010-08-10") + "-222", "", 0},
    {"InclusiveSameDay", {"--inclusive", "-n", GOOD, GOOD}, "1\n", "", 0},
    {"DayFirst", {"--day-first", "10.08.2010", GOOD}, echo("10.08.2010", GOOD) + "221", "", 0},
    {"DayFirstThirtyFirst", {"--day-first", "31/12/2010", "2010-12-31"}, echo("31/12/2010", "2010-12-31") + "0", "", 0},
    {"DayFirstRefusesMonthFirst", {"--day-first", "12/31/2010", GOOD},
     echo("12/31/2010", GOOD) + "31/12/2010 is not a valid date\n", why("12/31/2010", "there is no month 31"), 1},
    {"DoubleDashEndsOptions", {"--", "2010-08-10", GOOD}, echo("2010-08-10", GOOD) + "221", "", 0},
    {"BundledAfterDoubleDash", {"-n", "--", "2010-08-10", GOOD}, "221\n", "", 0},
    {"Version", {"--version"}, "spanlet " SPANLET_VERSION "\n", "", 0},
}), case_name<cli_case>);

const std::string SEE_HELP = " (see spanlet --help)\n";

INSTANTIATE_TEST_SUITE_P(UsageErrors, Pair, testing::ValuesIn(std::vector<cli_case>{
    {"NoDates", {}, USAGE, "", 1},
    {"OneDate", {"2010-08-10"}, USAGE, "", 1},
    // The usage text used to go to standard output with -n too, so that
    // $(spanlet -n "$a" "$b") with an empty $b held six lines of text.
    {"OneDateNumberOnly", {"-n", "2010-08-10"}, "", USAGE, 1},
    {"UnknownLongOption", {"--frobnicate", "2010-08-10", GOOD}, "", "spanlet: unknown option \"--frobnicate\"" + SEE_HELP, 1},
    {"UnknownShortOption", {"-x", "2010-08-10", GOOD}, "", "spanlet: unknown option \"-x\"" + SEE_HELP, 1},
    // A third date used to be dropped without a word: xargs without -n2
    // silently lost every second pair.
    {"ThirdDate", {"2010-08-10", GOOD, "2011-01-01", GOOD}, "",
     "spanlet: \"2011-01-01\": a third date; spanlet takes two" + SEE_HELP, 1},
    {"DatesAndFile", {"-f", "-", "2010-08-10"}, "", "spanlet: dates on the command line and -f do not go together" + SEE_HELP, 1},
    {"DelimiterWithoutFile", {"-d", ",", "2010-08-10", GOOD}, "", "spanlet: -d, --line-limit and --jobs go with -f" + SEE_HELP, 1},
    {"LineLimitWithoutFile", {"--line-limit=1K", "2010-08-10", GOOD}, "", "spanlet: -d, --line-limit and --jobs go with -f" + SEE_HELP, 1},
    {"JobsWithoutFile", {"-j", "2", "2010-08-10", GOOD}, "", "spanlet: -d, --line-limit and --jobs go with -f" + SEE_HELP, 1},
    {"JobsNoNumber", {"-f", "-", "--jobs=two"}, "",
     "spanlet: \"two\": the jobs are a number of workers from 1 to 1024, or 0 for one a processor" + SEE_HELP, 1},
    {"JobsTooMany", {"-f", "-", "-j", "1025"}, "",
     "spanlet: \"1025\": the jobs are a number of workers from 1 to 1024, or 0 for one a processor" + SEE_HELP, 1},
    {"JobsNegative", {"-f", "-", "-j-1"}, "",
     "spanlet: \"-1\": the jobs are a number of workers from 1 to 1024, or 0 for one a processor" + SEE_HELP, 1},
    {"DelimiterOfTwoBytes", {"-d", ",,", "-f", "-"}, "", "spanlet: \",,\": a delimiter is one byte, and this is 2 bytes" + SEE_HELP, 1},
    {"EmptyDelimiter", {"--delimiter=", "-f", "-"}, "", "spanlet: \"\": a delimiter is one byte, and this is 0 bytes" + SEE_HELP, 1},
    // A missing value used to be called an unknown option.
    {"FileWithoutName", {"-f"}, "", "spanlet: option -f needs a FILE\n", 1},
    {"LongFileWithoutName", {"--file"}, "", "spanlet: option --file needs a FILE\n", 1},
    {"DelimiterWithoutValue", {"-f", "x", "-d"}, "", "spanlet: option -d needs a CHAR\n", 1},
    // A second -f used to win silently over the first.
    {"FileTwice", {"-f", "a", "-f", "b"}, "", "spanlet: option -f is given twice" + SEE_HELP, 1},
    {"DelimiterTwice", {"-f", "a", "-d", ",", "--delimiter=;"}, "", "spanlet: option --delimiter is given twice" + SEE_HELP, 1},
    {"LineLimitNoSize", {"-f", "-", "--line-limit=big"}, "",
     "spanlet: \"big\": a line limit is a number of bytes, with K, M or G after it for KiB, MiB or GiB" + SEE_HELP, 1},
    {"LineLimitZero", {"-f", "-", "--line-limit", "0"}, "",
     "spanlet: \"0\": a line limit is a number of bytes, with K, M or G after it for KiB, MiB or GiB" + SEE_HELP, 1},
    // Each of these used to be taken: -f - with --holidays - read the pairs
    // as holidays and answered nothing, exit 0; a quote or a line feed as
    // the delimiter split records where nothing can be split.
    {"StandardInputTwice", {"-b", "--holidays", "-", "-f", "-"}, "",
     "spanlet: standard input (-) is named for more than one of -f and --holidays" + SEE_HELP, 1},
    {"HolidaysFromStandardInputTwice", {"-b", "--holidays=-", "--holidays=-", "2010-08-10", GOOD}, "",
     "spanlet: standard input (-) is named for more than one of -f and --holidays" + SEE_HELP, 1},
    {"LineFeedDelimiter", {"-d", "\n", "-f", "-"}, "",
     "spanlet: \"\\n\": a line feed ends a line, and cannot separate its fields" + SEE_HELP, 1},
    {"QuoteDelimiterOfCsv", {"--csv", "-d", "\"", "-f", "-"}, "",
     "spanlet: \"\"\": a quote or a CR cannot separate the fields of --csv" + SEE_HELP, 1},
    {"NameWithoutHeader", {"--csv", "--name=days", "-f", "-"}, "", "spanlet: --name goes with --header" + SEE_HELP, 1},
}), case_name<cli_case>);

TEST(Cli, Help) {
    for (const std::string flag : {"--help", "-h", "-nh"}) {
        const run_result result = run({flag, "2010-08-10"});
        EXPECT_EQ(result.status, 0) << flag;
        EXPECT_EQ(result.errors, "") << flag;
        EXPECT_EQ(result.output.rfind(on_console("Usage: spanlet [OPTION]... DATE1 DATE2\n"), 0), 0u) << flag;
        for (const std::string part : {"--number-only", "--inclusive", "--day-first", "--line-limit", "today",
                                       "00-50 are 2000-2050", "prints -221", "byte order mark", "Exit status", "ISO week date",
                                       "yesterday", "@1281441600", "Thu Dec 10 02:56:35 UTC 2026", "no year"})
            EXPECT_NE(result.output.find(part), std::string::npos) << flag << ": " << part;
        EXPECT_EQ(result.output.find("must be 4 digits"), std::string::npos) << flag;
    }
}

// "today" is the local date when the program starts. The expected date is
// taken before and after the run, in the same time zone, so that a run across
// midnight passes either way.
TEST(Cli, TodayIsTheLocalDate) {
    if (windows)
        GTEST_SKIP() << "Windows reads TZ in its own form";
    for (const std::string zone : {"Pacific/Kiritimati", "Pacific/Pago_Pago", "UTC"}) {
        if (access(("/usr/share/zoneinfo/" + zone).c_str(), R_OK) != 0)
            GTEST_SKIP() << "no time zone data for " << zone << " (Debian package tzdata)";
        const auto days_since_2000 = [&zone] {
            setenv("TZ", zone.c_str(), 1);
            tzset();
            const time_t now = time(nullptr);
            tm local{};
            localtime_r(&now, &local);
            const std::chrono::year_month_day today{std::chrono::year{local.tm_year + 1900},
                                                    std::chrono::month{static_cast<unsigned>(local.tm_mon + 1)},
                                                    std::chrono::day{static_cast<unsigned>(local.tm_mday)}};
            const std::chrono::sys_days origin{std::chrono::year{2000} / 1 / 1};
            return std::to_string((std::chrono::sys_days{today} - origin).count()) + "\n";
        };
        const std::string before = days_since_2000();
        run_options in_zone;
        in_zone.environment = {"TZ=" + zone};
        const run_result result = run({"-n", "ToDay", "2000-01-01"}, in_zone);
        const std::string after = days_since_2000();
        EXPECT_TRUE(result.output == before || result.output == after)
            << zone << ": printed " << result.output << " expected " << before;
        EXPECT_EQ(result.status, 0) << zone;
    }
    unsetenv("TZ");
}

// Arguments of any length, and with blanks, are echoed unchanged and read
// whole; a message quotes at most 200 bytes of one, and stays one line.
const std::string LONG_DATE = "2010-08-10 12:00 " + std::string(9990, 'x');
const std::string LEADING_ZEROS = std::string(9990, '0') + "2010-08-10";
const std::string DIGITS = std::string(10000, '9');
INSTANTIATE_TEST_SUITE_P(LongAndBlank, Pair, testing::ValuesIn(std::vector<cli_case>{
    {"LongTail", {LONG_DATE, GOOD}, echo(LONG_DATE, GOOD) + "221", "", 0},
    {"LeadingZeros", {LEADING_ZEROS, GOOD}, echo(LEADING_ZEROS, GOOD) + "221", "", 0},
    {"LongRefusalCut", {DIGITS, GOOD}, echo(DIGITS, GOOD) + NO_DATE,
     "spanlet: \"" + std::string(200, '9') + "\xe2\x80\xa6\": not a date spanlet reads " + WRITE_LIKE_THIS + "\n", 1},
    {"BlanksInside", {"2010-08-10 12:00", "2010\t01\t01"}, echo("2010-08-10 12:00", "2010\t01\t01") + "221", "", 0},
    {"OneLeadingBlank", {" 2010-08-10", "2010\"01\"01"}, echo(" 2010-08-10", "2010\"01\"01") + "221", "", 0},
}), case_name<cli_case>);

// An en dash separates like '-'. On Linux the program sees the argument's
// UTF-8 bytes, three for the dash; on Windows the ANSI code page's (Wine:
// windows-1252), where it is the one byte 0x96, and the echo is in that code
// page too. Other bytes outside ASCII never separate.
// "é" used to be called more than one character; it is two bytes in UTF-8.
// A Windows program gets it in its ANSI code page: the one byte E9, a
// delimiter like any other.
TEST(Cli, DelimiterOutsideAscii) {
    if (windows) {
        expect_run({"", {"-d", "\xc3\xa9", "-f", "-"}, "", "", 0});
        return;
    }
    expect_run({"", {"-d", "\xc3\xa9", "-f", "-"}, "",
                "spanlet: \"\xc3\xa9\": a delimiter is one byte, and this is 2 bytes (see spanlet --help)\n", 1});
}

TEST(Cli, NonAsciiArguments) {
    const std::string dashed = "2010\xe2\x80\x93" "08\xe2\x80\x93" "10";
    expect_run({"", {dashed, GOOD}, echo(windows ? "2010\x96" "08\x96" "10" : dashed, GOOD) + "221", "", 0});
    const std::string accented = "2010\xc3\xa9" "08\xc3\xa9" "10";
    if (!windows)
        expect_run({"", {accented, GOOD}, echo(accented, GOOD) + NO_DATE,
                    why(accented, "not a date spanlet reads " + WRITE_LIKE_THIS), 1});
}

// A scratch file that holds `bytes` while it lives.
class scratch_file {
public:
    explicit scratch_file(const std::string& bytes) {
        char name[] = "/tmp/spanlet-test-XXXXXX";
        const int fd = mkstemp(name);
        path_ = name;
        for (size_t done = 0; fd >= 0 && done < bytes.size();) {
            const ssize_t n = write(fd, bytes.data() + done, bytes.size() - done);
            if (n <= 0)
                break;
            done += static_cast<size_t>(n);
        }
        close(fd);
    }
    ~scratch_file() { unlink(path_.c_str()); }
    scratch_file(const scratch_file&) = delete;
    scratch_file& operator=(const scratch_file&) = delete;
    const std::string& path() const { return path_; }

private:
    std::string path_;
};

// Writing the result is part of the work: output that cannot be written fails,
// and says so.
TEST(Cli, FailsWhenOutputCannotBeWritten) {
    if (!launcher.empty() || access("/dev/full", W_OK) != 0)
        GTEST_SKIP() << "needs /dev/full and a native program";
    run_options to_full_disk;
    to_full_disk.output_path = "/dev/full";
    const run_result result = run({"2010-08-10", "2010-01-01"}, to_full_disk);
    EXPECT_EQ(result.status, 1);
    EXPECT_EQ(result.errors, "spanlet: write error: No space left on device\n");

    const scratch_file pairs("2010-08-10\t2010-01-01\n");
    const run_result batch = run({"-f", pairs.path()}, to_full_disk);
    EXPECT_EQ(batch.status, 1);
    EXPECT_EQ(batch.errors, "spanlet: write error: No space left on device\n");
}

// ---- batch mode: spanlet -f FILE --------------------------------------------

// One batch run, its own test: the file's bytes, the options around
// -f FILE, and exactly what must come out. In `errors`, FILE stands for the
// file's name.
struct batch_case {
    std::string name;
    std::string input;
    std::vector<std::string> options;
    std::string output;
    std::string errors;
    int status;
};

void PrintTo(const batch_case& c, std::ostream* out) { *out << c.name; }

std::string replaced(std::string text, const std::string& from, const std::string& to) {
    for (size_t at = text.find(from); at != std::string::npos; at = text.find(from, at + to.size()))
        text.replace(at, from.size(), to);
    return text;
}

class Batch : public testing::TestWithParam<batch_case> {};
TEST_P(Batch, Runs) {
    const batch_case& c = GetParam();
    const scratch_file file(c.input);
    std::vector<std::string> args = c.options;
    args.push_back("-f");
    args.push_back(file.path());
    const run_result result = run(args);
    // CSV records keep their own line endings, on Windows too.
    const bool csv = std::find(c.options.begin(), c.options.end(), "--csv") != c.options.end();
    EXPECT_EQ(result.output, csv ? c.output : on_console(c.output));
    EXPECT_EQ(result.errors, on_console(replaced(c.errors, "FILE", file.path())));
    EXPECT_EQ(result.status, c.status);
}

const std::string NOT_A_PAIR = "\t\tnot a pair of dates\n";
const std::string ANSWER = "2010-08-10\t2010-01-01\t221\n";
const std::string PAIR = "2010-08-10\t2010-01-01\n";
const std::string MIB_LINE(1024 * 1024, 'x');

std::string repeated(const std::string& text, size_t times) {
    std::string all;
    for (size_t i = 0; i < times; ++i)
        all += text;
    return all;
}

INSTANTIATE_TEST_SUITE_P(Lines, Batch, testing::ValuesIn(std::vector<batch_case>{
    {"Tabs", PAIR + "2010-01-01\t2010-08-10\n", {}, ANSWER + "2010-01-01\t2010-08-10\t-221\n", "", 0},
    {"MixedSpellings", "8/10/2010\t08.10.2010\n20100810\t1/1/10\n", {},
     "8/10/2010\t08.10.2010\t0\n20100810\t1/1/10\t221\n", "", 0},
    {"Blanks", "  2010-08-10   2010-01-01  \n2010-08-10 2010-01-01\n", {}, ANSWER + ANSWER, "", 0},
    {"TabWinsOverBlanks", "2010-08-10 12:00\t2010-01-01\n", {}, "2010-08-10 12:00\t2010-01-01\t221\n", "", 0},
    {"CrLf", "2010-08-10\t2010-01-01\r\n8/10/2010\t1/1/2010\r\n", {}, ANSWER + "8/10/2010\t1/1/2010\t221\n", "", 0},
    {"NoLineFeedAtTheEnd", PAIR + "2010-01-02\t2010-01-01", {}, ANSWER + "2010-01-02\t2010-01-01\t1\n", "", 0},
    {"EmptyInput", "", {}, "", "", 0},
    {"EmptyLines", "\n" + PAIR + "\r\n", {}, NOT_A_PAIR + ANSWER + NOT_A_PAIR,
     "spanlet: FILE:1: an empty line, where two dates were expected\n"
     "spanlet: FILE:3: an empty line, where two dates were expected\n", 1},
    {"OneField", "2010-08-10\n", {}, NOT_A_PAIR, "spanlet: FILE:1: 1 field, where two dates were expected\n", 1},
    {"ThreeFields", "a\tb\tc\n2010-08-10 2010-01-01 x\n", {}, NOT_A_PAIR + NOT_A_PAIR,
     "spanlet: FILE:1: 3 fields, where two dates were expected\n"
     "spanlet: FILE:2: 3 fields, where two dates were expected\n", 1},
    {"RefusedDates", "2010-02-30\t2010-01-01\n2010-01-01\tabc\n", {},
     "2010-02-30\t2010-01-01\t2/30/2010 is not a valid date\n2010-01-01\tabc\t0/0/1900 is not a valid date\n",
     "spanlet: FILE:1: \"2010-02-30\": 30 February 2010 does not exist\n"
     "spanlet: FILE:2: \"abc\": not a date spanlet reads " + WRITE_LIKE_THIS + "\n", 1},
    // The same pair on the command line reports both sides; a batch line
    // used to report the first only.
    {"BothSidesRefusedBothSaid", "abc\t2010-02-30\n", {}, "abc\t2010-02-30\t0/0/1900 is not a valid date\n",
     "spanlet: FILE:1: \"abc\": not a date spanlet reads " + WRITE_LIKE_THIS + "\n"
     "spanlet: FILE:1: \"2010-02-30\": 30 February 2010 does not exist\n", 1},
    {"NulRefusesItsLineOnly", std::string("2010-08-10\t2010-01-01\0\n", 23) + PAIR, {}, NOT_A_PAIR + ANSWER,
     "spanlet: FILE:1: a NUL byte in the line\n", 1},
    {"NumberOnly", PAIR + "x\n2010-02-30\t2010-01-01\n", {"-n"}, "221\n\n\n",
     "spanlet: FILE:2: 1 field, where two dates were expected\n"
     "spanlet: FILE:3: \"2010-02-30\": 30 February 2010 does not exist\n", 1},
    {"InclusiveAndDayFirst", "10.08.2010\t01.01.2010\n2010-01-01\t2010-01-01\n", {"--inclusive", "--day-first"},
     "10.08.2010\t01.01.2010\t222\n2010-01-01\t2010-01-01\t1\n", "", 0},
    {"InclusiveOnTheCommonLine", PAIR, {"--inclusive", "-n"}, "222\n", "", 0},
    {"Today", "today\tTODAY\n", {"-n"}, "0\n", "", 0},
    // The mark that Windows programs write used to refuse line 1 as "a date
    // needs three numbers"; only one at the very start is skipped.
    {"ByteOrderMarkSkipped", "\xEF\xBB\xBF" + PAIR + "\xEF\xBB\xBF" + PAIR, {"-n"}, "221\n\n",
     "spanlet: FILE:2: \"\xEF\xBB\xBF" "2010-08-10\": a date needs three numbers, each with digits " +
         WRITE_LIKE_THIS + "\n", 1},
    {"ByteOrderMarkAlone", "\xEF\xBB\xBF", {}, "", "", 0},
    {"PartOfAByteOrderMark", "\xEF\xBB", {}, NOT_A_PAIR, "spanlet: FILE:1: 1 field, where two dates were expected\n", 1},
}), case_name<batch_case>);

INSTANTIATE_TEST_SUITE_P(Spellings, Batch, testing::ValuesIn(std::vector<batch_case>{
    // A timestamp without a tab used to be split at its blank into a date and
    // the "date" 10:11:12, and answered 5173.
    {"TimestampIsNoPair", "2026-12-10 10:11:12\n", {"-n"}, "\n",
     "spanlet: FILE:1: \"10:11:12\": not a date spanlet reads " + WRITE_LIKE_THIS + "\n", 1},
    {"TimestampsWithATab", "2026-12-10 10:11:12\t2026-12-01T08:00\nThu Dec 10 02:56:35 UTC 2026\t2026-12-01\n",
     {"-n"}, "9\n9\n", "", 0},
    {"WordsOnEveryLine", "Fri, 10 Aug 2010\t2010-01-01\n24.12.2026\t2026-12-24\n", {"-n"}, "\n\n",
     "spanlet: FILE:1: \"Fri, 10 Aug 2010\": 10 August 2010 was a Tuesday, not a Friday\n"
     "spanlet: FILE:2: \"24.12.2026\": there is no month 24 (for day first, use --day-first)\n", 1},
}), case_name<batch_case>);

INSTANTIATE_TEST_SUITE_P(Delimiters, Batch, testing::ValuesIn(std::vector<batch_case>{
    {"Comma", "2010-08-10,2010-01-01\n2010-08-10,2010-01-01,x\n", {"-d", ","}, ANSWER + NOT_A_PAIR,
     "spanlet: FILE:2: 3 fields, where two dates were expected\n", 1},
    {"Semicolon", "2010-08-10;2010-01-01\n", {"--delimiter=;"}, ANSWER, "", 0},
    // The common line YYYY-MM-DD<TAB>YYYY-MM-DD used to be split at its tab
    // whatever -d said. Lines after the first, with a line behind them, are
    // the ones that can be taken for the common line.
    {"CommonLineHonoursComma", PAIR + PAIR + PAIR, {"-d", ",", "-n"}, "\n\n\n",
     "spanlet: FILE:1: 1 field, where two dates were expected\n"
     "spanlet: FILE:2: 1 field, where two dates were expected\n"
     "spanlet: FILE:3: 1 field, where two dates were expected\n", 1},
    {"CommonLineHonoursDash", PAIR + PAIR + PAIR, {"-d", "-", "-n"}, "\n\n\n",
     "spanlet: FILE:1: 5 fields, where two dates were expected\n"
     "spanlet: FILE:2: 5 fields, where two dates were expected\n"
     "spanlet: FILE:3: 5 fields, where two dates were expected\n", 1},
    {"CommonLineHonoursBlank", PAIR + PAIR + PAIR, {"-d", " ", "-n"}, "\n\n\n",
     "spanlet: FILE:1: 1 field, where two dates were expected\n"
     "spanlet: FILE:2: 1 field, where two dates were expected\n"
     "spanlet: FILE:3: 1 field, where two dates were expected\n", 1},
    {"CommonLineHonoursZero", PAIR + PAIR + PAIR, {"-d", "0", "-n"}, "\n\n\n",
     "spanlet: FILE:1: 9 fields, where two dates were expected\n"
     "spanlet: FILE:2: 9 fields, where two dates were expected\n"
     "spanlet: FILE:3: 9 fields, where two dates were expected\n", 1},
    {"CommonLineWithTabGiven", PAIR + PAIR + PAIR, {"-d", "\t", "-n"}, "221\n221\n221\n", "", 0},
    // A tab inside a field used to be echoed raw: four columns where three
    // are promised.
    {"TabInAFieldNotEchoed", "2010-08-10\t12:00,2010-01-01\n" + std::string("2010-08-10,2010-01-01\n"), {"-d", ","},
     "\t\ta date that cannot be echoed\n" + ANSWER,
     "spanlet: FILE:1: \"2010-08-10\\t12:00\": a date with a tab or a line break in it cannot be echoed\n", 1},
    {"TabInAFieldNumberOnly", "2010-08-10\t12:00,2010-01-01\n", {"-d", ",", "-n"}, "221\n", "", 0},
    {"CarriageReturnInAField", "2010-08-10\r,2010-01-01\n", {"-d", ","}, "\t\ta date that cannot be echoed\n",
     "spanlet: FILE:1: \"2010-08-10\\r\": what follows the date is not a time\n"
     "spanlet: FILE:1: \"2010-08-10\\r\": a date with a tab or a line break in it cannot be echoed\n", 1},
}), case_name<batch_case>);

// A line is held up to the limit; a longer one is read through to its end,
// refused, and its row takes its place.
INSTANTIATE_TEST_SUITE_P(LineLimit, Batch, testing::ValuesIn(std::vector<batch_case>{
    {"LineOfOneMiBIsHeld", PAIR + MIB_LINE + "\n" + PAIR, {}, ANSWER + NOT_A_PAIR + ANSWER,
     "spanlet: FILE:2: 1 field, where two dates were expected\n", 1},
    {"LongerLineRefused", PAIR + MIB_LINE + "y\n" + PAIR, {}, ANSWER + NOT_A_PAIR + ANSWER,
     "spanlet: FILE:2: line longer than 1 MiB\n", 1},
    {"LongLastLineWithoutFeed", PAIR + std::string(5 * 1024 * 1024, '\0'), {"-n"}, "221\n\n",
     "spanlet: FILE:2: line longer than 1 MiB\n", 1},
    {"LimitRaised", MIB_LINE + "y\n", {"--line-limit=2M"}, NOT_A_PAIR,
     "spanlet: FILE:1: 1 field, where two dates were expected\n", 1},
    {"SmallLimitExact", "2010-8-10\t2010-1-1\n" + PAIR, {"--line-limit=18", "-n"}, "221\n\n",
     "spanlet: FILE:2: line longer than 18 bytes\n", 1},
    // Below the length of the common line, the common line is no exception.
    {"SmallLimitCommonLine", PAIR + PAIR, {"--line-limit", "20", "-n"}, "\n\n",
     "spanlet: FILE:1: line longer than 20 bytes\nspanlet: FILE:2: line longer than 20 bytes\n", 1},
    // The CR of a CR LF used to count toward the limit: the same line was
    // refused with CR LF and answered with LF.
    {"CrOfCrLfNotCounted", "2010-8-10\t2010-1-1\r\n" + PAIR + "2010-8-10\t2010-1-1x\r\n", {"--line-limit=18", "-n"},
     "221\n\n\n", "spanlet: FILE:2: line longer than 18 bytes\nspanlet: FILE:3: line longer than 18 bytes\n", 1},
    {"CrOfCrLfNotCountedCommonLine", "2010-08-10\t2010-01-01\r\n" + PAIR, {"--line-limit=21", "-n"}, "221\n221\n", "", 0},
    {"LimitInKiB", std::string(2048, ' ') + "\n", {"--line-limit=1k"}, NOT_A_PAIR,
     "spanlet: FILE:1: line longer than 1 KiB\n", 1},
}), case_name<batch_case>);

// ---- years, months, weeks and working days ------------------------------------

INSTANTIATE_TEST_SUITE_P(Units, Pair, testing::ValuesIn(std::vector<cli_case>{
    {"Age", {"-n", "-u", "y", "2026-12-10", "1990-05-31"}, "36\n", "", 0},
    // A peer printed "1 62" for this pair, and "-0 1 62" swapped.
    {"MonthEnd", {"--units=ymd", "2010-03-01", "2010-01-31"}, echo("2010-03-01", "2010-01-31") + "P1M1D", "", 0},
    {"MonthEndSwapped", {"-n", "--units=md", "2010-01-31", "2010-03-01"}, "-P1M1D\n", "", 0},
    {"LeapDayBirthday", {"-n", "--units", "years,months,days", "2013-02-28", "2012-02-29"}, "P1Y\n", "", 0},
    {"WeeksAndDays", {"-n", "-uwd", "2010-08-10", "2010-01-01"}, "P31W4D\n", "", 0},
    {"ZeroSpan", {"-n", "-u", "ym", "2010-01-05", "2010-01-01"}, "P0M\n", "", 0},
    {"InclusiveMonth", {"-n", "-u", "m", "--inclusive", "2010-01-31", "2010-01-01"}, "1\n", "", 0},
    {"RefusedStaysRefused", {"-n", "-u", "ymd", "2010-02-30", GOOD}, "", why("2010-02-30", "30 February 2010 does not exist"), 1},
}), case_name<cli_case>);

INSTANTIATE_TEST_SUITE_P(BusinessDays, Pair, testing::ValuesIn(std::vector<cli_case>{
    {"MondayMinusFriday", {"-n", "-b", "2026-12-14", "2026-12-11"}, "1\n", "", 0},
    {"FridayMinusMonday", {"-b", "2026-12-11", "2026-12-14"}, echo("2026-12-11", "2026-12-14") + "-1", "", 0},
    {"SameDay", {"-n", "-b", "2026-12-11", "2026-12-11"}, "0\n", "", 0},
    // Counting both ends is what NETWORKDAYS(earlier, later) gives.
    {"InclusiveIsNetworkdays", {"-n", "-b", "--inclusive", "2026-12-14", "2026-12-11"}, "2\n", "", 0},
    {"OtherWeekend", {"-n", "--business-days", "--weekend=Fri,saturday", "2026-12-14", "2026-12-10"}, "2\n", "", 0},
    {"NoWeekend", {"-n", "-b", "--weekend", "none", "2026-12-14", "2026-12-11"}, "3\n", "", 0},
    {"UnitsOfDays", {"-n", "-b", "-u", "d", "2026-12-14", "2026-12-11"}, "1\n", "", 0},
}), case_name<cli_case>);

INSTANTIATE_TEST_SUITE_P(UnitErrors, Pair, testing::ValuesIn(std::vector<cli_case>{
    {"UnknownUnit", {"-u", "q", "2010-08-10", GOOD}, "",
     "spanlet: \"q\": the units are y, m, w and d, or years, months, weeks and days separated by commas, each once" + SEE_HELP, 1},
    {"UnitTwice", {"--units=years,year", "2010-08-10", GOOD}, "",
     "spanlet: \"years,year\": the units are y, m, w and d, or years, months, weeks and days separated by commas, each once" + SEE_HELP, 1},
    {"UnitsWithBusinessDays", {"-b", "-u", "ym", "2010-08-10", GOOD}, "",
     "spanlet: --business-days counts days: --units \"ym\" does not go with it" + SEE_HELP, 1},
    {"EveryDayAWeekend", {"-b", "--weekend=mon,tue,wed,thu,fri,sat,sun", "2010-08-10", GOOD}, "",
     "spanlet: \"mon,tue,wed,thu,fri,sat,sun\": a weekend is weekday names separated by commas, not all seven, or none" + SEE_HELP, 1},
    {"NoSuchWeekday", {"-b", "--weekend=sa", "2010-08-10", GOOD}, "",
     "spanlet: \"sa\": a weekend is weekday names separated by commas, not all seven, or none" + SEE_HELP, 1},
    {"WeekendWithoutBusinessDays", {"--weekend=sat", "2010-08-10", GOOD}, "", "spanlet: --weekend goes with --business-days" + SEE_HELP, 1},
    {"HolidaysWithoutBusinessDays", {"--holidays", "/dev/null", "2010-08-10", GOOD}, "",
     "spanlet: --holidays goes with --business-days" + SEE_HELP, 1},
    {"UnitsWithoutValue", {"2010-08-10", GOOD, "-u"}, "", "spanlet: option -u needs a LIST\n", 1},
}), case_name<cli_case>);

// Holidays from files, given more than once, in any order, with names,
// comments, blank lines, CR LF, duplicates and a holiday on a Saturday.
TEST(Cli, HolidayFiles) {
    const scratch_file christmas("# Christmas\n2026-12-25\tChristmas Day\r\n\n  Dec 24, 2026  # eve\n2026-12-26\tSaturday\n");
    const scratch_file again("2026-12-25\n12/31/2026\tNew Year's Eve\n");
    // Monday 21 December to Monday 4 January: ten weekdays, three of them holidays.
    run_result result = run({"-n", "-b", "--holidays", christmas.path(), "--holidays=" + again.path(), "2027-01-04", "2026-12-21"});
    EXPECT_EQ(result.output, on_console("7\n"));
    EXPECT_EQ(result.errors, "");
    EXPECT_EQ(result.status, 0);

    const scratch_file pairs("2027-01-04\t2026-12-21\n2026-12-21\t2027-01-04\n2026-12-25\t2026-12-25\n");
    result = run({"-n", "-b", "--inclusive", "--holidays", christmas.path(), "-f", pairs.path()});
    EXPECT_EQ(result.output, on_console("9\n-9\n0\n"));  // eleven weekdays, two holidays
    EXPECT_EQ(result.status, 0);

    // A line that holds no date stops the run before any answer.
    const scratch_file bad("2026-12-25\nChristmas 2026-12-25\n");
    result = run({"-b", "--holidays", bad.path(), "-f", pairs.path()});
    EXPECT_EQ(result.output, "");
    EXPECT_EQ(result.errors, on_console("spanlet: " + bad.path() + ":2: \"Christmas 2026-12-25\": not a date spanlet reads " +
                                        WRITE_LIKE_THIS + "\n"));
    EXPECT_EQ(result.status, 1);

    result = run({"-n", "-b", "--holidays=/nonexistent/holidays.txt", "2027-01-04", "2026-12-21"});
    EXPECT_EQ(result.output, "");
    EXPECT_EQ(result.errors, on_console("spanlet: /nonexistent/holidays.txt: No such file or directory\n"));
    EXPECT_EQ(result.status, 1);

    // Blanks before the date, a tab among them, used to drop the line
    // without a word: the holiday was no holiday, and a line with no date
    // did not stop the run.
    const scratch_file indented("\t2026-12-24\n \t2026-12-25\tChristmas Day\n");
    result = run({"-n", "-b", "--holidays", indented.path(), "2027-01-04", "2026-12-21"});
    EXPECT_EQ(result.output, on_console("8\n"));
    EXPECT_EQ(result.status, 0);
    const scratch_file indented_name("2026-12-24\n\tChristmas\n");
    result = run({"-n", "-b", "--holidays", indented_name.path(), "2027-01-04", "2026-12-21"});
    EXPECT_EQ(result.output, "");
    EXPECT_EQ(result.errors, on_console("spanlet: " + indented_name.path() + ":2: \"Christmas\": not a date spanlet reads " +
                                        WRITE_LIKE_THIS + "\n"));
    EXPECT_EQ(result.status, 1);
}

INSTANTIATE_TEST_SUITE_P(Units, Batch, testing::ValuesIn(std::vector<batch_case>{
    {"EveryLine", "2010-03-01\t2010-01-31\n1/31/2010\t3/1/2010\n2010-02-30\t2010-01-01\n", {"-u", "ymd"},
     "2010-03-01\t2010-01-31\tP1M1D\n1/31/2010\t3/1/2010\t-P1M1D\n2010-02-30\t2010-01-01\t2/30/2010 is not a valid date\n",
     "spanlet: FILE:3: \"2010-02-30\": 30 February 2010 does not exist\n", 1},
    {"BusinessDays", "2026-12-14\t2026-12-11\n12/11/2026\t12/14/2026\n", {"-n", "-b"}, "1\n-1\n", "", 0},
    // Sixteen common lines, enough for the batches that answer plain days
    // eight at a time: with units or -b they must go the way each line goes
    // alone (a batch once answered 29 where P1M1D is right).
    {"CommonLinesInUnits", repeated("2010-03-01\t2010-01-31\n", 16), {"-n", "-u", "md"}, repeated("P1M1D\n", 16), "", 0},
    {"CommonLinesInOneUnit", repeated("2010-03-01\t2010-01-31\n", 16), {"-n", "-u", "m"}, repeated("1\n", 16), "", 0},
    {"CommonLinesInWorkingDays", repeated("2026-12-14\t2026-12-11\n", 16), {"-n", "-b"}, repeated("1\n", 16), "", 0},
    {"CommonLinesInclusive", repeated(PAIR, 16), {"-n", "--inclusive"}, repeated("222\n", 16), "", 0},
    {"CommonLinesFullRows", repeated(PAIR, 16), {}, repeated(ANSWER, 16), "", 0},
}), case_name<batch_case>);

// ---- CSV files: spanlet --csv -f FILE ----------------------------------------

const std::string CONTRACTS = "id,name,start,end\r\n"
                              "1,\"Smith, John\",2010-08-10,2010-01-01\r\n"
                              "2,\"Doe \"\"JD\"\"\",\"8/10/2010\",\"1/1/2010\"\r\n"
                              "3,\"two\nlines\",2010-02-30,2010-01-01\r\n"
                              "4,short\r\n";

INSTANTIATE_TEST_SUITE_P(Csv, Batch, testing::ValuesIn(std::vector<batch_case>{
    {"ByName", CONTRACTS, {"--csv", "--header", "--columns=start,end"},
     "id,name,start,end,days\r\n"
     "1,\"Smith, John\",2010-08-10,2010-01-01,221\r\n"
     "2,\"Doe \"\"JD\"\"\",\"8/10/2010\",\"1/1/2010\",221\r\n"
     "3,\"two\nlines\",2010-02-30,2010-01-01,\r\n"
     "4,short,\r\n",
     "spanlet: FILE:4: column \"start\": \"2010-02-30\": 30 February 2010 does not exist\n"
     "spanlet: FILE:6: the record has 2 fields: no column 4\n", 1},
    {"NumberOnly", CONTRACTS, {"--csv", "--header", "-k", "start,end", "-n"}, "days\r\n221\r\n221\r\n\r\n\r\n",
     "spanlet: FILE:4: column \"start\": \"2010-02-30\": 30 February 2010 does not exist\n"
     "spanlet: FILE:6: the record has 2 fields: no column 4\n", 1},
    {"ByNumberWithoutHeader", "2010-08-10,2010-01-01\n\"2010-01-01\",\"2010-08-10\"", {"--csv"},
     "2010-08-10,2010-01-01,221\n\"2010-01-01\",\"2010-08-10\",-221", "", 0},
    {"Semicolons", "a;b\n10.08.2010;01.01.2010\n", {"--csv", "-d", ";", "--header", "-k", "a,b", "--day-first"},
     "a;b;days\n10.08.2010;01.01.2010;221\n", "", 0},
    {"Tabs", "2010-08-10\t\"2010-01-01\"\n", {"--csv", "-d", "\t", "-n"}, "221\n", "", 0},
    {"UnitsNameTheColumn", "from,to\n2010-01-31,2010-03-01\n", {"--csv", "--header", "-k", "to,from", "-u", "ymd"},
     "from,to,years_months_days\n2010-01-31,2010-03-01,P1M1D\n", "", 0},
    {"WorkingDays", "a,b\n2026-12-14,2026-12-11\n", {"--csv", "--header", "-k", "a,b", "-b"},
     "a,b,working_days\n2026-12-14,2026-12-11,1\n", "", 0},
    {"NameQuoted", "a,b\n2010-08-10,2010-01-01\n", {"--csv", "--header", "-k", "a,b", "--name=days, net"},
     "a,b,\"days, net\"\n2010-08-10,2010-01-01,221\n", "", 0},
    {"ByteOrderMark", "\xEF\xBB\xBF" "a,b\n2010-08-10,2010-01-01\n", {"--csv", "--header", "-k", "a,b", "-n"},
     "days\n221\n", "", 0},
    {"UnclosedQuote", "2010-08-10,2010-01-01\n\"2010-08-10,2010-01-01\n", {"--csv"},
     "2010-08-10,2010-01-01,221\n\"2010-08-10,2010-01-01\n\",\n", "spanlet: FILE:2: a quote that is never closed\n", 1},
    {"RecordTooLong", "\"" + std::string(2000, 'x') + "\n\",1\n2010-08-10,2010-01-01\n", {"--csv", "--line-limit=1K"},
     ",\n2010-08-10,2010-01-01,221\n", "spanlet: FILE:1: record longer than 1 KiB\n", 1},
    // A header longer than the limit used to be written as a refused record,
    // and the next record taken for the header.
    {"HeaderTooLong", std::string(2000, 'a') + ",b\n2010-08-10,2010-01-01\n", {"--csv", "--header", "--line-limit=1K"}, "",
     "spanlet: FILE:1: record longer than 1 KiB\n", 1},
    // A header whose quote is never closed used to be written back still
    // open, the answer column's name inside it, exit 0.
    {"HeaderQuoteNeverClosed", "start,\"end\n2010-08-10,2010-01-01\n", {"--csv", "--header"}, "",
     "spanlet: FILE:1: a quote that is never closed\n", 1},
    {"MissingName", "a,b\n", {"--csv", "--header", "-k", "a,c"}, "", "spanlet: FILE: no column \"c\" in the header\n", 1},
    {"NameTwice", "a,a,b\n", {"--csv", "--header", "-k", "a,b"}, "",
     "spanlet: FILE: column \"a\" is named twice in the header\n", 1},
    // The default columns are columns 1 and 2, whatever their header cells
    // hold: an empty cell used to be looked up as a name, and matched both.
    {"DefaultColumnsEmptyHeaderCell", ",b\n2010-08-10,2010-01-01\n", {"--csv", "--header", "-n"}, "days\n221\n", "", 0},
    {"DefaultColumnsTwoEmptyCells", ",,c\n2010-08-10,2010-01-01,x\n", {"--csv", "--header", "-n"}, "days\n221\n", "", 0},
    {"DefaultColumnsSameNames", "a,a\n2010-08-10,2010-01-01\n", {"--csv", "--header", "-n"}, "days\n221\n", "", 0},
    // A record over the limit used to be written back with LF whatever ended it.
    {"RecordTooLongKeepsCrLf", std::string(2000, 'x') + "\r\n2010-08-10,2010-01-01\r\n", {"--csv", "--line-limit=1K"},
     ",\r\n2010-08-10,2010-01-01,221\r\n", "spanlet: FILE:1: record longer than 1 KiB\n", 1},
}), case_name<batch_case>);

INSTANTIATE_TEST_SUITE_P(CsvErrors, Pair, testing::ValuesIn(std::vector<cli_case>{
    {"ColumnsWithoutCsv", {"-k", "1,2", "-f", "-"}, "", "spanlet: --columns goes with --csv" + SEE_HELP, 1},
    {"HeaderWithoutCsv", {"--header", "-f", "-"}, "", "spanlet: --header goes with --csv" + SEE_HELP, 1},
    {"CsvWithoutFile", {"--csv", "2010-08-10", GOOD}, "", "spanlet: --csv goes with -f" + SEE_HELP, 1},
    {"NamesWithoutHeader", {"--csv", "-k", "start,end", "-f", "-"}, "",
     "spanlet: \"start,end\": the columns are two numbers from 1, separated by a comma (names need --header)" + SEE_HELP, 1},
    {"ThreeColumns", {"--csv", "-k", "1,2,3", "-f", "-"}, "",
     "spanlet: \"1,2,3\": the columns are two numbers from 1, separated by a comma (names need --header)" + SEE_HELP, 1},
    {"ColumnZero", {"--csv", "-k", "0,1", "-f", "-"}, "",
     "spanlet: \"0,1\": the columns are two numbers from 1, separated by a comma (names need --header)" + SEE_HELP, 1},
}), case_name<cli_case>);

// A message about a line of a file with a long path used to lose its line
// number and its reason past the end of the message line: the path is cut,
// and the rest kept.
TEST(BatchInput, LongPathKeepsTheLineAndTheReason) {
    char top[] = "/tmp/spanlet-test-XXXXXX";
    ASSERT_NE(mkdtemp(top), nullptr);
    std::vector<std::string> folders;
    std::string path = top;
    for (int i = 0; i < 6; ++i) {
        path += "/" + std::string(200, static_cast<char>('a' + i));
        ASSERT_EQ(mkdir(path.c_str(), 0700), 0);
        folders.push_back(path);
    }
    path += "/pairs.txt";
    {
        const int fd = open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
        ASSERT_GE(fd, 0);
        ASSERT_EQ(write(fd, "x\n", 2), 2);
        close(fd);
    }
    const run_result result = run({"-n", "-f", path});
    EXPECT_EQ(result.output, on_console("\n"));
    const std::string tail = on_console(":1: 1 field, where two dates were expected\n");
    ASSERT_GE(result.errors.size(), tail.size());
    EXPECT_EQ(result.errors.substr(result.errors.size() - tail.size()), tail) << result.errors;
    EXPECT_NE(result.errors.find("\xe2\x80\xa6:1:"), std::string::npos) << "the path is cut with an ellipsis";
    EXPECT_EQ(result.status, 1);
    unlink(path.c_str());
    for (auto folder = folders.rbegin(); folder != folders.rend(); ++folder)
        rmdir(folder->c_str());
    rmdir(top);
}

TEST(BatchInput, StandardInputAndMissingFiles) {
    const scratch_file input(PAIR + "x\n");
    run_options from_file;
    from_file.input_path = input.path().c_str();
    run_result result = run({"-f", "-"}, from_file);
    EXPECT_EQ(result.output, on_console(ANSWER + NOT_A_PAIR));
    EXPECT_EQ(result.errors, on_console("spanlet: (standard input):2: 1 field, where two dates were expected\n"));
    EXPECT_EQ(result.status, 1);

    result = run({"--file=/nonexistent/pairs.txt"});
    EXPECT_EQ(result.output, "");
    EXPECT_EQ(result.errors, on_console("spanlet: /nonexistent/pairs.txt: No such file or directory\n"));
    EXPECT_EQ(result.status, 1);
}

// Every date of 1400-9999, written YYYY-MM-DD (the fast path) and M/D/YYYY
// (the general reader), against 1 Jan 2000, through one batch run: each
// answer is the standard library's.
TEST(BatchInput, EveryDateAgreesWithTheOracle) {
    if (!launcher.empty())
        GTEST_SKIP() << "runs natively only: millions of lines";
    using namespace std::chrono;
    const sys_days origin{year{2000} / 1 / 1};
    std::string input;
    std::string expected;
    for (sys_days d{year{1400} / 1 / 1}; d <= sys_days{year{9999} / 12 / 31}; d += days{1}) {
        const year_month_day ymd{d};
        char line[64];
        const int y = int{ymd.year()};
        const unsigned m = unsigned{ymd.month()};
        const unsigned day_of_month = unsigned{ymd.day()};
        std::snprintf(line, sizeof line, "%04d-%02u-%02u\t2000-01-01\n%u/%u/%d\t2000-01-01\n", y, m,
                      day_of_month, m, day_of_month, y);
        input += line;
        const std::string days_apart = std::to_string((d - origin).count()) + "\n";
        expected += days_apart;
        expected += days_apart;
    }
    const scratch_file file(input);
    const run_result result = run({"-n", "-f", file.path()});
    EXPECT_EQ(result.status, 0);
    EXPECT_EQ(result.errors, "");
    ASSERT_EQ(result.output.size(), expected.size());
    EXPECT_TRUE(result.output == expected);
}

// Writes `bytes` to `fd` in full; false if it could not.
bool write_all(int fd, const std::string& bytes) {
    for (size_t done = 0; done < bytes.size();) {
        const ssize_t n = write(fd, bytes.data() + done, bytes.size() - done);
        if (n <= 0)
            return false;
        done += static_cast<size_t>(n);
    }
    return true;
}

// Reads from `fd` until `wanted` bytes came or `seconds` passed without any;
// the wait bounds a hang, it does not measure speed.
std::string read_for(int fd, size_t wanted, int seconds) {
    std::string got;
    char buffer[65536];
    pollfd readable{fd, POLLIN, 0};
    while (got.size() < wanted && poll(&readable, 1, seconds * 1000) == 1) {
        const ssize_t n = read(fd, buffer, sizeof buffer);
        if (n <= 0)
            break;
        got.append(buffer, static_cast<size_t>(n));
    }
    return got;
}

// The program with `args`, `bytes` written to its standard input through a
// pipe by another process.
run_result run_through_pipe(const std::vector<std::string>& args, const std::string& bytes) {
    int in_fds[2];
    if (pipe(in_fds) != 0)
        return {};
    const pid_t writer = fork();
    if (writer == 0) {
        close(in_fds[0]);
        _exit(write_all(in_fds[1], bytes) ? 0 : 1);
    }
    close(in_fds[1]);
    run_options how;
    how.input_fd = in_fds[0];
    run_result result = run(args, how);
    close(in_fds[0]);
    exit_status(writer);
    return result;
}

// Several workers write what one writes, byte for byte, on both streams,
// with the same status: over several parts of input, from a file and from a
// pipe, with refused lines in many parts (their messages numbered across
// parts), CR LF, a byte order mark, a line over the limit, a line longer
// than a part (the rest of the input then goes through one worker), and a
// last line without its line feed.
TEST(BatchJobs, SeveralWorkersWriteWhatOneWrites) {
    std::string lines = "\xEF\xBB\xBF";
    for (int i = 0; i < 240000; ++i) {
        lines += i % 50000 == 7      ? std::string("2010-02-30\t2010-01-01\n")
                 : i % 70001 == 3    ? std::string("no pair here\n")
                 : i % 3 == 0        ? std::string("8/10/2010\t2010-01-01\r\n")
                                     : std::to_string(1400 + i % 8600) + "-0" + std::to_string(1 + i % 9) + "-1" +
                                       std::to_string(i % 10) + "\t2010-08-10\n";
        if (i == 120000)
            lines += std::string(3000, 'x') + "\n";  // over --line-limit
    }
    const std::string tail = "2010-08-10\t2010-01-01";  // no line feed
    const std::string long_line(size_t{3} << 20, 'y');   // longer than a part and the limit
    struct input {
        const char* what;
        std::string bytes;
    };
    const input inputs[] = {{"plain", lines + tail},
                            {"long line", lines + long_line + "\n" + lines + tail},
                            {"one line", tail},
                            {"empty", ""}};
    for (const input& in : inputs) {
        const scratch_file file(in.bytes);
        for (const char* number_only : {"-n", "--inclusive"}) {
            const std::vector<std::string> base = {number_only, "--line-limit=2K", "-f"};
            std::vector<std::string> one = base;
            one.push_back(file.path());
            const run_result expected = run(one);
            if (in.bytes.size() > lines.size()) {
                ASSERT_NE(expected.errors.find(":120002: "), std::string::npos) << expected.errors;
            }
            for (const char* jobs : {"1", "2", "7", "0"}) {
                std::vector<std::string> args = base;
                args.push_back(file.path());
                args.insert(args.begin(), {"-j", jobs});
                const run_result from_file = run(args);
                EXPECT_TRUE(from_file.output == expected.output) << in.what << ", -j " << jobs;
                EXPECT_EQ(from_file.errors, expected.errors) << in.what << ", -j " << jobs;
                EXPECT_EQ(from_file.status, expected.status) << in.what << ", -j " << jobs;
                args.back() = "-";
                const run_result from_pipe = run_through_pipe(args, in.bytes);
                EXPECT_TRUE(from_pipe.output == expected.output) << in.what << ", a pipe, -j " << jobs;
                EXPECT_EQ(from_pipe.errors, replaced(expected.errors, file.path(), "(standard input)"))
                    << in.what << ", a pipe, -j " << jobs;
                EXPECT_EQ(from_pipe.status, expected.status) << in.what << ", a pipe, -j " << jobs;
            }
        }
    }
}

// Standard input that is a file already read into, in the middle of a line:
// the workers start where the descriptor stands, as one worker does.
TEST(BatchJobs, StandardInputFromTheMiddleOfAFile) {
    std::string lines;
    for (int i = 0; i < 200000; ++i)
        lines += i % 40000 == 5 ? "2010-02-30\t2010-01-01\n" : "2010-08-" + std::to_string(10 + i % 19) + "\t2010-01-01\n";
    const scratch_file file(lines);
    run_result results[2];
    for (int i = 0; i < 2; ++i) {
        const int fd = open(file.path().c_str(), O_RDONLY);
        ASSERT_GE(fd, 0);
        ASSERT_EQ(lseek(fd, 1'000'005, SEEK_SET), 1'000'005);
        run_options how;
        how.input_fd = fd;
        results[i] = run({"-j", i == 0 ? "1" : "2", "-f", "-"}, how);
        close(fd);
    }
    EXPECT_EQ(results[0].status, 1);
    EXPECT_TRUE(results[1].output == results[0].output);
    EXPECT_EQ(results[1].errors, results[0].errors);
    EXPECT_EQ(results[1].status, results[0].status);
}

// Lines that arrive through a pipe are answered while the pipe stays open
// (tail -f log | spanlet -f -), not only when the input ends: one line, and
// exactly 64 KiB of lines, which used to fill the read and hold every answer
// back until the writer closed the pipe.
TEST(BatchInput, AnswersWhileThePipeStaysOpen) {
    const std::string line_of_32 = "2010-08-10 0:00\t2010-01-01 0:00\n";
    for (const auto& [line, count, jobs] : {std::tuple{PAIR, 1, "1"}, std::tuple{line_of_32, 65536 / 32, "1"},
                                            std::tuple{PAIR, 1, "2"}, std::tuple{line_of_32, 65536 / 32, "2"}}) {
        std::string input;
        std::string expected;
        for (int i = 0; i < count; ++i)
            input += line, expected += on_console("221\n");
        int in_fds[2];
        int out_fds[2];
        ASSERT_EQ(pipe(in_fds), 0);
        ASSERT_EQ(pipe(out_fds), 0);
        const pid_t child = start({"-n", "-j", jobs, "-f", "-"}, in_fds[0], out_fds[1], STDERR_FILENO);
        close(in_fds[0]);
        close(out_fds[1]);
        ASSERT_TRUE(write_all(in_fds[1], input));
        const std::string got = read_for(out_fds[0], expected.size(), 60);
        EXPECT_EQ(got.size(), expected.size()) << input.size() << " bytes of lines, -j " << jobs << ": answers held back";
        EXPECT_TRUE(got == expected) << input.size() << " bytes of lines, -j " << jobs;
        close(in_fds[1]);
        close(out_fds[0]);
        EXPECT_EQ(exit_status(child), 0);
    }
}

// A reader that stops early (spanlet -f big | head) stops spanlet too.
TEST(BatchInput, StopsWhenTheReaderGoesAway) {
    std::string input;
    for (int i = 0; i < 200000; ++i)
        input += PAIR;
    const scratch_file file(input);
    int out_fds[2];
    ASSERT_EQ(pipe(out_fds), 0);
    const pid_t child = start({"-f", file.path()}, STDIN_FILENO, out_fds[1], STDERR_FILENO);
    close(out_fds[1]);
    char buffer[100];
    EXPECT_GT(read(out_fds[0], buffer, sizeof buffer), 0);
    close(out_fds[0]);
    int wait_status = 0;
    waitpid(child, &wait_status, 0);
    // Ended by SIGPIPE, or, where that signal is ignored, by the failed write.
    const bool stopped = (WIFSIGNALED(wait_status) && WTERMSIG(wait_status) == SIGPIPE) ||
                         (WIFEXITED(wait_status) && WEXITSTATUS(wait_status) == 1);
    EXPECT_TRUE(stopped) << "wait status " << wait_status;
}

// A non-blocking standard output that fills up is waited for: output used to
// stop at the first EAGAIN, with 8,309 of a million answers written.
TEST(BatchInput, WaitsForANonBlockingOutput) {
    if (windows)
        GTEST_SKIP() << "no non-blocking pipes on Windows";
    std::string input;
    std::string expected;
    for (int i = 0; i < 200000; ++i)
        input += PAIR, expected += "221\n";
    const scratch_file file(input);
    int out_fds[2];
    ASSERT_EQ(pipe(out_fds), 0);
    ASSERT_EQ(fcntl(out_fds[1], F_SETFL, fcntl(out_fds[1], F_GETFL) | O_NONBLOCK), 0);
    int err_fds[2];
    ASSERT_EQ(pipe(err_fds), 0);
    const pid_t child = start({"-n", "-f", file.path()}, STDIN_FILENO, out_fds[1], err_fds[1]);
    close(out_fds[1]);
    close(err_fds[1]);
    usleep(200'000);  // let the pipe fill, so that the program meets EAGAIN
    const std::string got = read_all(out_fds[0]);
    const std::string errors = read_all(err_fds[0]);
    close(out_fds[0]);
    close(err_fds[0]);
    EXPECT_EQ(exit_status(child), 0);
    EXPECT_EQ(errors, "");
    EXPECT_EQ(got.size(), expected.size());
    EXPECT_TRUE(got == expected);
}

// Two runs that share one standard error, as 2>>errors.txt and parallel
// give them: every line stays whole. A message used to be five writes, and
// two runs produced lines such as spanlet: a.txt:248: "spanlet: b.txt:1: ...
TEST(BatchInput, MessagesOfTwoRunsNeverTear) {
    std::string input;
    for (int i = 0; i < 20000; ++i)
        input += "2010-02-30\t2010-01-01\n";
    const scratch_file a(input);
    const scratch_file b(input);
    const scratch_file errors("");
    const int err = open(errors.path().c_str(), O_WRONLY | O_APPEND);
    const int null_output = open("/dev/null", O_WRONLY);
    const pid_t first = start({"-n", "-f", a.path()}, STDIN_FILENO, null_output, err);
    const pid_t second = start({"-n", "-f", b.path()}, STDIN_FILENO, null_output, err);
    EXPECT_EQ(exit_status(first), 1);
    EXPECT_EQ(exit_status(second), 1);
    close(err);
    close(null_output);
    const int in = open(errors.path().c_str(), O_RDONLY);
    const std::string said = read_all(in);
    close(in);
    size_t lines = 0;
    for (size_t at = 0; at < said.size(); ++lines) {
        const size_t end = said.find('\n', at);
        ASSERT_NE(end, std::string::npos);
        std::string line = said.substr(at, end - at);
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        at = end + 1;
        const std::string tail = "\"2010-02-30\": 30 February 2010 does not exist";
        const bool whole = (line.rfind("spanlet: " + a.path() + ":", 0) == 0 ||
                            line.rfind("spanlet: " + b.path() + ":", 0) == 0) &&
                           line.size() > tail.size() && line.compare(line.size() - tail.size(), tail.size(), tail) == 0 &&
                           line.find("spanlet:", 1) == std::string::npos;
        ASSERT_TRUE(whole) << "torn line " << lines + 1 << ": " << line;
    }
    EXPECT_EQ(lines, 40000u);
}

// Memory stays bounded whatever the input: a run limited to 256 MB of
// address space reads 300 MB of one line, and /dev/zero would be the same.
// It used to end with std::bad_alloc and exit 134, the answers made before
// it lost. Where memory can be had no longer, the answers made so far are
// written, then a clear message.
TEST(BatchInput, MemoryStaysBounded) {
    if (!launcher.empty() || windows)
        GTEST_SKIP() << "needs a native program";
    const rlimit address_space{rlim_t{256} << 20, rlim_t{256} << 20};
    // Feeds 1,000 pairs and then `zeros` NUL bytes, one line, through a pipe.
    const auto run_limited = [&address_space](const std::vector<std::string>& args, size_t zeros) {
        int in_fds[2];
        int out_fds[2];
        int err_fds[2];
        if (pipe(in_fds) != 0 || pipe(out_fds) != 0 || pipe(err_fds) != 0)
            return run_result{};
        const pid_t spanlet = start(args, in_fds[0], out_fds[1], err_fds[1], {}, &address_space);
        close(in_fds[0]);
        close(out_fds[1]);
        close(err_fds[1]);
        const pid_t writer = fork();
        if (writer == 0) {
            std::string head;
            for (int i = 0; i < 1000; ++i)
                head += PAIR;
            const std::string chunk(65536, '\0');
            bool ok = write_all(in_fds[1], head);
            for (size_t done = 0; ok && done < zeros; done += chunk.size())
                ok = write_all(in_fds[1], chunk);
            _exit(0);
        }
        close(in_fds[1]);
        run_result result;
        result.output = read_all(out_fds[0]);
        result.errors = read_all(err_fds[0]);
        close(out_fds[0]);
        close(err_fds[0]);
        result.status = exit_status(spanlet);
        exit_status(writer);
        return result;
    };
    // Sanitizer builds reserve more address space than the limit allows.
    const run_result probe = run_limited({"-n", "-f", "-"}, 0);
    if (probe.status != 0)
        GTEST_SKIP() << "the program does not start in 256 MB of address space (a sanitizer build?)";
    std::string answers;
    for (int i = 0; i < 1000; ++i)
        answers += "221\n";

    const run_result bounded = run_limited({"-n", "-f", "-"}, size_t{300} << 20);
    EXPECT_EQ(bounded.status, 1);
    EXPECT_TRUE(bounded.output == answers + "\n");
    EXPECT_EQ(bounded.errors, "spanlet: (standard input):1001: line longer than 1 MiB\n");

    const run_result starved = run_limited({"-n", "-f", "-", "--line-limit=1G"}, size_t{300} << 20);
    EXPECT_EQ(starved.status, 1);
    EXPECT_TRUE(starved.output == answers) << starved.output.size() << " bytes of answers";
    EXPECT_EQ(starved.errors, "spanlet: out of memory\n");
}

}  // namespace

int main(int argc, char** argv) {
    testing::InitGoogleTest(&argc, argv);
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg.rfind("--launcher=", 0) == 0)
            launcher = arg.substr(std::strlen("--launcher="));
        else if (arg == "--windows")
            windows = true;
        else
            program = arg;
    }
    if (program.empty() && !GTEST_FLAG_GET(list_tests)) {
        std::fprintf(stderr, "usage: %s PROGRAM [--launcher=LOADER] [--windows]\n", argv[0]);
        return 2;
    }
    return RUN_ALL_TESTS();
}
