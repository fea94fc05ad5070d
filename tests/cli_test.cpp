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
#include <sys/wait.h>
#include <csignal>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <cstring>
#include <ctime>
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
    std::vector<std::string> environment;     // NAME=VALUE words added to the program's own
};

// Starts the program with `args` (through the launcher, if there is one),
// with `in`, `out` and `err` as its standard streams and `environment`
// (NAME=VALUE words) added to its own. No other descriptor of this process
// stays open in it, so that every pipe ends when this process closes its side.
pid_t start(const std::vector<std::string>& args, int in, int out, int err,
            const std::vector<std::string>& environment = {}) {
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
    const int in = open(how.input_path, O_RDONLY);
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
    "The YYYY component must be 4 digits, and the MM DD must be 2 digits\n";

// One run: the arguments, and exactly what it must write on each stream and
// the status it must end with.
struct cli_case {
    std::vector<std::string> args;
    std::string output;
    std::string errors;
    int status;
};

void expect_runs(const std::vector<cli_case>& cases) {
    for (const cli_case& c : cases) {
        std::string shown;
        for (const std::string& arg : c.args)
            shown += " '" + arg.substr(0, 40) + (arg.size() > 40 ? "...'" : "'");
        SCOPED_TRACE("spanlet" + shown);
        const run_result result = run(c.args);
        EXPECT_EQ(result.output, on_console(c.output));
        EXPECT_EQ(result.errors, on_console(c.errors));
        EXPECT_EQ(result.status, c.status);
    }
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

TEST(Cli, PrintsTheDifference) {
    expect_runs({
        {{"2010-08-10", "2010-08-01"}, echo("2010-08-10", "2010-08-01") + "9", "", 0},
        {{"2010-08-01", "2010-08-10"}, echo("2010-08-01", "2010-08-10") + "-9", "", 0},
        {{"2010-08-10", "2010-08-10"}, echo("2010-08-10", "2010-08-10") + "0", "", 0},
        {{"08-10-2010", "01-01-2010"}, echo("08-10-2010", "01-01-2010") + "221", "", 0},
        {{"2010/8/1", "2009/12/31"}, echo("2010/8/1", "2009/12/31") + "213", "", 0},
        {{"08/10/10", "08/10/99"}, echo("08/10/10", "08/10/99") + "4018", "", 0},
        {{"99/08/10", "10/08/10"}, echo("99/08/10", "10/08/10") + "-4077", "", 0},
        {{"1999-12-31", "1900-01-01"}, echo("1999-12-31", "1900-01-01") + "36523", "", 0},
        {{"2000-02-29", "1900-02-28"}, echo("2000-02-29", "1900-02-28") + "36525", "", 0},
        {{"12-31-1999", "1-1-2000"}, echo("12-31-1999", "1-1-2000") + "-1", "", 0},
        {{"02-29-2004", "03-01-2004"}, echo("02-29-2004", "03-01-2004") + "-1", "", 0},
        {{"2026-12-09", "2010-01-01"}, echo("2026-12-09", "2010-01-01") + "6186", "", 0},
        {{"1850-01-01", "1900-01-01"}, echo("1850-01-01", "1900-01-01") + "-18262", "", 0},
        {{"9999-12-31", "1400-01-01"}, echo("9999-12-31", "1400-01-01") + "3141084", "", 0},
        {{"12/10/26", "2026-12-10"}, echo("12/10/26", "2026-12-10") + "0", "", 0},
        {{"20100810T1234", "2010-01-01"}, echo("20100810T1234", "2010-01-01") + "221", "", 0},
    });
}

// A text that is not a real date: after both echoes, the first refused date
// as read on standard output; on standard error, a line for every refused
// argument saying why. Each used to exit 0, and several used to print a
// number (a year 0001 read as 2015, a minus sign dropped, a typo ignored).
TEST(Cli, RefusesTextsThatAreNotDatesAndSaysWhy) {
    const std::string good = "2010-01-01";
    const std::string none = "0/0/1900 is not a valid date\n";
    expect_runs({
        {{"2/30/2010", good}, echo("2/30/2010", good) + "2/30/2010 is not a valid date\n",
         why("2/30/2010", "30 February 2010 does not exist"), 1},
        {{good, "2010-02-30"}, echo(good, "2010-02-30") + "2/30/2010 is not a valid date\n",
         why("2010-02-30", "30 February 2010 does not exist"), 1},
        {{"2010-13-01", "abc"}, echo("2010-13-01", "abc") + "13/1/2010 is not a valid date\n",
         why("2010-13-01", "there is no month 13") +
             why("abc", "not a date spanlet reads " + WRITE_LIKE_THIS), 1},
        {{"2010-05-00", good}, echo("2010-05-00", good) + "0/0/1905 is not a valid date\n",
         why("2010-05-00", "there is no day 0 in a month"), 1},
        {{"2010-08-99999999999", "2010-99999999999-01"},
         echo("2010-08-99999999999", "2010-99999999999-01") + none,
         why("2010-08-99999999999", "August 2010 has no such day") +
             why("2010-99999999999-01", "there is no such month"), 1},
        {{"0001-06-15", good}, echo("0001-06-15", good) + none,
         why("0001-06-15", "years before 1400 are not read"), 1},
        {{"12/31/0099", good}, echo("12/31/0099", good) + none,
         why("12/31/0099", "years before 1400 are not read"), 1},
        {{"10000-01-01", good}, echo("10000-01-01", good) + none,
         why("10000-01-01", "years after 9999 are not read"), 1},
        {{"1/1/-600", good}, echo("1/1/-600", good) + none,
         why("1/1/-600", "a date has no negative numbers"), 1},
        {{"08/10/ab", good}, echo("08/10/ab", good) + none,
         why("08/10/ab", "a date needs three numbers, each with digits " + WRITE_LIKE_THIS), 1},
        {{"2010-08-1O", good}, echo("2010-08-1O", good) + none,
         why("2010-08-1O", "a letter right after the date; only a time (T12:34) may follow it directly"), 1},
        {{"Aug 10 2010", good}, echo("Aug 10 2010", good) + none,
         why("Aug 10 2010", "a date needs three numbers, each with digits " + WRITE_LIKE_THIS), 1},
        {{"", good}, echo("", good) + none, why("", "not a date spanlet reads " + WRITE_LIKE_THIS), 1},
    });
}

TEST(Cli, Options) {
    const std::string a = "2010-08-10";
    const std::string b = "2010-01-01";
    expect_runs({
        {{"-n", a, b}, "221\n", "", 0},
        {{a, b, "--number-only"}, "221\n", "", 0},
        {{"-n", "2010-02-30", b}, "", why("2010-02-30", "30 February 2010 does not exist"), 1},
        {{"--inclusive", a, b}, echo(a, b) + "222", "", 0},
        {{"--inclusive", b, a}, echo(b, a) + "-222", "", 0},
        {{"--inclusive", "-n", a, a}, "1\n", "", 0},
        {{"--day-first", "10.08.2010", b}, echo("10.08.2010", b) + "221", "", 0},
        {{"--day-first", "31/12/2010", "2010-12-31"}, echo("31/12/2010", "2010-12-31") + "0", "", 0},
        {{"--day-first", "12/31/2010", b}, echo("12/31/2010", b) + "31/12/2010 is not a valid date\n",
         why("12/31/2010", "there is no month 31"), 1},
        {{"--", a, b}, echo(a, b) + "221", "", 0},
        {{"-n", "--", a, b}, "221\n", "", 0},
        {{"--frobnicate", a, b}, "", "spanlet: unknown option \"--frobnicate\" (see spanlet --help)\n", 1},
        {{"-x", a, b}, "", "spanlet: unknown option \"-x\" (see spanlet --help)\n", 1},
        // A third date used to be dropped without a word: xargs without -n2
        // silently lost every second pair.
        {{a, b, "2011-01-01", b}, "", "spanlet: \"2011-01-01\": a third date; spanlet takes two (see spanlet --help)\n", 1},
    });
}

TEST(Cli, UsageHelpAndVersion) {
    expect_runs({
        {{}, USAGE, "", 1},
        {{"2010-08-10"}, USAGE, "", 1},
        {{"-n", "2010-08-10"}, USAGE, "", 1},
        {{"--version"}, "spanlet 1.0.0\n", "", 0},
    });
    for (const std::string flag : {"--help", "-h"}) {
        const run_result result = run({flag, "2010-08-10"});
        EXPECT_EQ(result.status, 0) << flag;
        EXPECT_EQ(result.errors, "") << flag;
        EXPECT_EQ(result.output.rfind(on_console("Usage: spanlet [OPTION]... DATE1 DATE2\n"), 0), 0u) << flag;
        for (const std::string part : {"--number-only", "--inclusive", "--day-first", "today",
                                       "00-50 are 2000-2050", "prints -221", "Exit status"})
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

// Arguments of any length, and with blanks, are echoed unchanged and read whole.
TEST(Cli, LongAndBlankArguments) {
    const std::string long_date = "2010-08-10 " + std::string(9990, 'x');
    const std::string leading_zeros = std::string(9990, '0') + "2010-08-10";
    const std::string digits = std::string(10000, '9');
    const std::string good = "2010-01-01";
    expect_runs({
        {{long_date, good}, echo(long_date, good) + "221", "", 0},
        {{leading_zeros, good}, echo(leading_zeros, good) + "221", "", 0},
        {{digits, good}, echo(digits, good) + "0/0/1900 is not a valid date\n",
         why(digits, "not a date spanlet reads " + WRITE_LIKE_THIS), 1},
        {{"2010-08-10 12:00", "2010\t01\t01"}, echo("2010-08-10 12:00", "2010\t01\t01") + "221", "", 0},
        {{" 2010-08-10", "2010\"01\"01"}, echo(" 2010-08-10", "2010\"01\"01") + "221", "", 0},
    });
}

// Bytes outside 7-bit ASCII are never digits. On Linux the program sees the
// argument's own bytes: an en dash in UTF-8 is three of them, and the text no
// longer has the shape of a date. On Windows it sees the ANSI code page's text
// (Wine: windows-1252), where the en dash is the one byte 0x96, a separator
// like '-'; the echo is in that code page too.
TEST(Cli, NonAsciiArguments) {
    const std::string dashed = "2010\xe2\x80\x93" "08\xe2\x80\x93" "10";
    const std::string good = "2010-01-01";
    if (windows) {
        expect_runs({{{dashed, good}, echo("2010\x96" "08\x96" "10", good) + "221", "", 0}});
    } else {
        expect_runs({{{dashed, good}, echo(dashed, good) + "0/0/1900 is not a valid date\n",
                      why(dashed, "a date needs three numbers, each with digits " + WRITE_LIKE_THIS), 1}});
    }
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

// One batch run: the file's bytes, the options around -f FILE, and exactly
// what must come out. In `errors`, FILE stands for the file's name.
struct batch_case {
    std::string what;
    std::string input;
    std::vector<std::string> options;
    std::string output;
    std::string errors;
    int status;
};

std::string replaced(std::string text, const std::string& from, const std::string& to) {
    for (size_t at = text.find(from); at != std::string::npos; at = text.find(from, at + to.size()))
        text.replace(at, from.size(), to);
    return text;
}

void expect_batches(const std::vector<batch_case>& cases) {
    for (const batch_case& c : cases) {
        SCOPED_TRACE(c.what);
        const scratch_file file(c.input);
        std::vector<std::string> args = c.options;
        args.push_back("-f");
        args.push_back(file.path());
        const run_result result = run(args);
        EXPECT_EQ(result.output, on_console(c.output));
        EXPECT_EQ(result.errors, on_console(replaced(c.errors, "FILE", file.path())));
        EXPECT_EQ(result.status, c.status);
    }
}

const std::string NOT_A_PAIR = "\t\tnot a pair of dates\n";

TEST(Batch, OneAnswerPerLine) {
    const std::string long_line(5 * 1024 * 1024, 'x');
    expect_batches({
        {"tabs", "2010-08-10\t2010-01-01\n2010-01-01\t2010-08-10\n", {},
         "2010-08-10\t2010-01-01\t221\n2010-01-01\t2010-08-10\t-221\n", "", 0},
        {"mixed spellings", "8/10/2010\t08.10.2010\n20100810\t1/1/10\n", {},
         "8/10/2010\t08.10.2010\t0\n20100810\t1/1/10\t221\n", "", 0},
        {"blanks", "  2010-08-10   2010-01-01  \n2010-08-10 2010-01-01\n", {},
         "2010-08-10\t2010-01-01\t221\n2010-08-10\t2010-01-01\t221\n", "", 0},
        {"a tab wins over blanks", "2010-08-10 12:00\t2010-01-01\n", {},
         "2010-08-10 12:00\t2010-01-01\t221\n", "", 0},
        {"-d ,", "2010-08-10,2010-01-01\n2010-08-10,2010-01-01,x\n", {"-d", ","},
         "2010-08-10\t2010-01-01\t221\n" + NOT_A_PAIR,
         "spanlet: FILE:2: 3 fields, where two dates were expected\n", 1},
        {"--delimiter=;", "2010-08-10;2010-01-01\n", {"--delimiter=;"}, "2010-08-10\t2010-01-01\t221\n", "", 0},
        {"CR LF", "2010-08-10\t2010-01-01\r\n8/10/2010\t1/1/2010\r\n", {},
         "2010-08-10\t2010-01-01\t221\n8/10/2010\t1/1/2010\t221\n", "", 0},
        {"no line feed at the end", "2010-08-10\t2010-01-01\n2010-01-02\t2010-01-01", {},
         "2010-08-10\t2010-01-01\t221\n2010-01-02\t2010-01-01\t1\n", "", 0},
        {"empty input", "", {}, "", "", 0},
        {"empty lines", "\n2010-08-10\t2010-01-01\n\r\n", {}, NOT_A_PAIR + "2010-08-10\t2010-01-01\t221\n" + NOT_A_PAIR,
         "spanlet: FILE:1: an empty line, where two dates were expected\n"
         "spanlet: FILE:3: an empty line, where two dates were expected\n", 1},
        {"one field", "2010-08-10\n", {}, NOT_A_PAIR, "spanlet: FILE:1: 1 field, where two dates were expected\n", 1},
        {"three fields", "a\tb\tc\n2010-08-10 2010-01-01 x\n", {}, NOT_A_PAIR + NOT_A_PAIR,
         "spanlet: FILE:1: 3 fields, where two dates were expected\n"
         "spanlet: FILE:2: 3 fields, where two dates were expected\n", 1},
        {"a refused date", "2010-02-30\t2010-01-01\n2010-01-01\tabc\n", {},
         "2010-02-30\t2010-01-01\t2/30/2010 is not a valid date\n2010-01-01\tabc\t0/0/1900 is not a valid date\n",
         "spanlet: FILE:1: \"2010-02-30\": 30 February 2010 does not exist\n"
         "spanlet: FILE:2: \"abc\": not a date spanlet reads " + WRITE_LIKE_THIS + "\n", 1},
        {"a NUL byte refuses its line only", std::string("2010-08-10\t2010-01-01\0\n2010-08-10\t2010-01-01\n", 45), {},
         NOT_A_PAIR + "2010-08-10\t2010-01-01\t221\n", "spanlet: FILE:1: a NUL byte in the line\n", 1},
        {"a line of 5 MiB", "2010-08-10\t2010-01-01\n" + long_line + "\n2010-08-10\t2010-01-01\n", {},
         "2010-08-10\t2010-01-01\t221\n" + NOT_A_PAIR + "2010-08-10\t2010-01-01\t221\n",
         "spanlet: FILE:2: 1 field, where two dates were expected\n", 1},
        {"-n", "2010-08-10\t2010-01-01\nx\n2010-02-30\t2010-01-01\n", {"-n"}, "221\n\n\n",
         "spanlet: FILE:2: 1 field, where two dates were expected\n"
         "spanlet: FILE:3: \"2010-02-30\": 30 February 2010 does not exist\n", 1},
        {"--inclusive and --day-first", "10.08.2010\t01.01.2010\n2010-01-01\t2010-01-01\n", {"--inclusive", "--day-first"},
         "10.08.2010\t01.01.2010\t222\n2010-01-01\t2010-01-01\t1\n", "", 0},
        {"today", "today\tTODAY\n", {"-n"}, "0\n", "", 0},
    });
}

TEST(Batch, StandardInputAndErrors) {
    const scratch_file input("2010-08-10\t2010-01-01\nx\n");
    run_options from_file;
    from_file.input_path = input.path().c_str();
    run_result result = run({"-f", "-"}, from_file);
    EXPECT_EQ(result.output, on_console("2010-08-10\t2010-01-01\t221\n" + NOT_A_PAIR));
    EXPECT_EQ(result.errors, on_console("spanlet: (standard input):2: 1 field, where two dates were expected\n"));
    EXPECT_EQ(result.status, 1);

    result = run({"--file=/nonexistent/pairs.txt"});
    EXPECT_EQ(result.output, "");
    EXPECT_EQ(result.errors, on_console("spanlet: /nonexistent/pairs.txt: No such file or directory\n"));
    EXPECT_EQ(result.status, 1);

    expect_runs({
        {{"-f", "-", "2010-08-10"}, "", "spanlet: dates on the command line and -f do not go together (see spanlet --help)\n", 1},
        {{"-d", ",", "2010-08-10", "2010-01-01"}, "", "spanlet: -d goes with -f (see spanlet --help)\n", 1},
        {{"-d", ",,", "-f", "-"}, "", "spanlet: \",,\": a delimiter is one character (see spanlet --help)\n", 1},
        {{"-f"}, "", "spanlet: unknown option \"-f\" (see spanlet --help)\n", 1},
    });
}

// Every date of 1400-9999, written YYYY-MM-DD (the fast path) and M/D/YYYY
// (the general reader), against 1 Jan 2000, through one batch run: each
// answer is the standard library's.
TEST(Batch, EveryDateAgreesWithTheOracle) {
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

// A line that arrives through a pipe is answered while the pipe stays open
// (tail -f log | spanlet -f -), not only when the input ends. The wait is a
// bound on a hang, not a measure of speed.
TEST(Batch, AnswersEachLineBeforeTheInputEnds) {
    int in_fds[2];
    int out_fds[2];
    ASSERT_EQ(pipe(in_fds), 0);
    ASSERT_EQ(pipe(out_fds), 0);
    const pid_t child = start({"-n", "-f", "-"}, in_fds[0], out_fds[1], STDERR_FILENO);
    close(in_fds[0]);
    close(out_fds[1]);
    const std::string line = "2010-08-10\t2010-01-01\n";
    EXPECT_EQ(write(in_fds[1], line.data(), line.size()), static_cast<ssize_t>(line.size()));
    pollfd answer{out_fds[0], POLLIN, 0};
    ASSERT_EQ(poll(&answer, 1, 60'000), 1) << "no answer while the input stays open";
    char buffer[64];
    const ssize_t got = read(out_fds[0], buffer, sizeof buffer);
    EXPECT_EQ(std::string(buffer, static_cast<size_t>(got > 0 ? got : 0)), on_console("221\n"));
    close(in_fds[1]);
    close(out_fds[0]);
    EXPECT_EQ(exit_status(child), 0);
}

// A reader that stops early (spanlet -f big | head) stops spanlet too.
TEST(Batch, StopsWhenTheReaderGoesAway) {
    std::string input;
    for (int i = 0; i < 200000; ++i)
        input += "2010-08-10\t2010-01-01\n";
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
    if (program.empty()) {
        std::fprintf(stderr, "usage: %s PROGRAM [--launcher=LOADER] [--windows]\n", argv[0]);
        return 2;
    }
    return RUN_ALL_TESTS();
}
