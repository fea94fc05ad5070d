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
#include <sys/wait.h>
#include <unistd.h>

#include <cstring>
#include <string>
#include <vector>

namespace {

std::string program;
std::string launcher;
bool windows = false;

struct run_result {
    std::string output;
    int status = -1;
};

// Runs the program with `args`; its standard output goes to a pipe, or to
// `output_path` when one is given.
run_result run(const std::vector<std::string>& args, const char* output_path = nullptr) {
    std::vector<std::string> command;
    if (!launcher.empty())
        command.push_back(launcher);
    command.push_back(program);
    command.insert(command.end(), args.begin(), args.end());
    std::vector<char*> argv;
    for (std::string& word : command)
        argv.push_back(word.data());
    argv.push_back(nullptr);

    int pipe_fds[2];
    if (pipe(pipe_fds) != 0)
        return {};
    const pid_t child = fork();
    if (child == 0) {
        const int out = output_path ? open(output_path, O_WRONLY) : pipe_fds[1];
        dup2(out, STDOUT_FILENO);
        close(pipe_fds[0]);
        execv(argv[0], argv.data());
        _exit(127);
    }
    close(pipe_fds[1]);
    run_result result;
    char buffer[4096];
    for (ssize_t n; (n = read(pipe_fds[0], buffer, sizeof buffer)) > 0;)
        result.output.append(buffer, static_cast<size_t>(n));
    close(pipe_fds[0]);
    int wait_status = 0;
    waitpid(child, &wait_status, 0);
    result.status = WIFEXITED(wait_status) ? WEXITSTATUS(wait_status) : -1;
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

struct cli_case {
    std::vector<std::string> args;
    std::string output;
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
        EXPECT_EQ(result.status, c.status);
    }
}

// The echo of both arguments that every dated run begins with.
std::string echo(const std::string& first, const std::string& second) {
    return "\n" + first + "\t" + second + "\t";
}

TEST(Cli, PrintsTheDifference) {
    expect_runs({
        {{"2010-08-10", "2010-08-01"}, echo("2010-08-10", "2010-08-01") + "9", 0},
        {{"2010-08-01", "2010-08-10"}, echo("2010-08-01", "2010-08-10") + "-9", 0},
        {{"2010-08-10", "2010-08-10"}, echo("2010-08-10", "2010-08-10") + "0", 0},
        {{"08-10-2010", "01-01-2010"}, echo("08-10-2010", "01-01-2010") + "221", 0},
        {{"2010/8/1", "2009/12/31"}, echo("2010/8/1", "2009/12/31") + "213", 0},
        {{"08/10/10", "08/10/99"}, echo("08/10/10", "08/10/99") + "4018", 0},
        {{"99/08/10", "10/08/10"}, echo("99/08/10", "10/08/10") + "-4077", 0},
        {{"1999-12-31", "1900-01-01"}, echo("1999-12-31", "1900-01-01") + "36523", 0},
        {{"2000-02-29", "1900-02-28"}, echo("2000-02-29", "1900-02-28") + "36525", 0},
        {{"12-31-1999", "1-1-2000"}, echo("12-31-1999", "1-1-2000") + "-1", 0},
        {{"02-29-2004", "03-01-2004"}, echo("02-29-2004", "03-01-2004") + "-1", 0},
        {{"2026-12-09", "2010-01-01"}, echo("2026-12-09", "2010-01-01") + "6186", 0},
        {{"1850-01-01", "1900-01-01"}, echo("1850-01-01", "1900-01-01") + "-18262", 0},
        {{"9999-12-31", "1400-01-01"}, echo("9999-12-31", "1400-01-01") + "3141084", 0},
        {{"2010-08-10", "2010-01-01", "1999-01-01"}, echo("2010-08-10", "2010-01-01") + "221", 0},
    });
}

// A text that is not a real date is reported, after both echoes, and fails.
// Bad dates used to exit with status 0, and a month above 12 or a day above 31
// used to give the day number 0 and print a number.
TEST(Cli, RefusesTextsThatAreNotDates) {
    const std::string good = "2010-01-01";
    expect_runs({
        {{"2/30/2010", good}, echo("2/30/2010", good) + "2/30/2010 is not a valid date\n", 1},
        {{good, "2010-02-30"}, echo(good, "2010-02-30") + "2/30/2010 is not a valid date\n", 1},
        {{"2010-13-01", "abc"}, echo("2010-13-01", "abc") + "13/1/2010 is not a valid date\n", 1},
        {{good, "2010-13-01"}, echo(good, "2010-13-01") + "13/1/2010 is not a valid date\n", 1},
        {{"abc", good}, echo("abc", good) + "0/0/1900 is not a valid date\n", 1},
        {{"08-10-30", good}, echo("08-10-30", good) + "0/0/1908 is not a valid date\n", 1},
        {{"10-10-21", good}, echo("10-10-21", good) + "0/1/1900 is not a valid date\n", 1},
        {{"1900-02-29", good}, echo("1900-02-29", good) + "2/29/1900 is not a valid date\n", 1},
        {{"", good}, echo("", good) + "0/0/1900 is not a valid date\n", 1},
    });
}

TEST(Cli, UsageHelpAndVersion) {
    expect_runs({
        {{}, USAGE, 1},
        {{"2010-08-10"}, USAGE, 1},
        {{"--version"}, "spanlet 1.0.0\n", 0},
    });
    for (const std::string flag : {"--help", "-h"}) {
        const run_result result = run({flag});
        EXPECT_EQ(result.status, 0) << flag;
        EXPECT_EQ(result.output.rfind(on_console(USAGE), 0), 0u) << flag;
        EXPECT_NE(result.output.find(on_console("20-50 are not accepted")), std::string::npos);
        EXPECT_NE(result.output.find(on_console("prints -221")), std::string::npos);
    }
}

// Arguments of any length, and with blanks, are echoed unchanged and read whole.
TEST(Cli, LongAndBlankArguments) {
    const std::string long_date = "2010-08-10" + std::string(9990, 'x');
    const std::string leading_zeros = std::string(9990, '0') + "2010-08-10";
    const std::string digits = std::string(10000, '9');
    const std::string good = "2010-01-01";
    expect_runs({
        {{long_date, good}, echo(long_date, good) + "221", 0},
        {{leading_zeros, good}, echo(leading_zeros, good) + "221", 0},
        {{digits, good}, echo(digits, good) + "0/0/1900 is not a valid date\n", 1},
        {{"2010-08-10 12:00", "2010\t01\t01"}, echo("2010-08-10 12:00", "2010\t01\t01") + "221", 0},
        {{" 2010-08-10", "2010\"01\"01"}, echo(" 2010-08-10", "2010\"01\"01") + "221", 0},
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
        expect_runs({{{dashed, good}, echo("2010\x96" "08\x96" "10", good) + "221", 0}});
    } else {
        expect_runs({{{dashed, good}, echo(dashed, good) + "0/0/1900 is not a valid date\n", 1}});
    }
}

// Writing the result is part of the work: output that cannot be written fails.
TEST(Cli, FailsWhenOutputCannotBeWritten) {
    if (!launcher.empty() || access("/dev/full", W_OK) != 0)
        GTEST_SKIP() << "needs /dev/full and a native program";
    EXPECT_EQ(run({"2010-08-10", "2010-01-01"}, "/dev/full").status, 1);
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
