#pragma once
// Batch mode: a pair of dates on every line of a file or of standard input,
// and exactly one row of answer for every line read, in order, whatever it
// holds. Reads and writes in large blocks; memory stays bounded by the line
// limit, whatever the input.

#include <cstdint>
#include <new>

#include "print/answers.h"
#include "io/fd_io.h"
#include "frame/line_split.h"
#include "print/messages.h"
#include "options/options.h"
#include "modes/parallel_stream.h"
#include "print/output.h"
#include "judge/pair_rule.h"
#include "date/working_days.h"

namespace spanlet::cli {

// Answers every line of `input` (called `name` in messages) on `answers`,
// which nothing else writes to meanwhile, each line judged by `rule`, the
// run's one judge. Answers are written before every read that may wait.
// Returns the exit status: 0 when every line got a difference, 1 when a line
// was refused, or the input, the output or memory failed (each said in
// `messages`).
int run_line_stream(const options& opts, const char* name, byte_source& input, byte_sink& answers,
                    message_log& messages, const pair_rule& rule);

// The same for a whole run that has no judge yet: its clock and its judge
// are made here. `calendar` is what -b counts.
int run_line_stream(const options& opts, const char* name, byte_source& input, byte_sink& answers,
                    message_log& messages, const working_days* calendar = nullptr);

// A part of a larger input (see input_part), answered on its own: what each
// worker of --jobs does.
int run_line_stream(const options& opts, const char* name, byte_source& input, byte_sink& answers,
                    message_log& messages, const pair_rule& rule, input_part& part);

// The same for opts.file ("-" is standard input), answers on `output_fd`,
// with opts.jobs workers.
int run_line_stream(const options& opts, int output_fd, message_log& messages, const pair_rule& rule);

// What batch mode and CSV mode share: the input read into `lines` in
// blocks, answers written in blocks (before every read that may wait), and
// how a run ends.
class block_stream {
public:
    block_stream(const options& opts, const char* name, byte_source& input, byte_sink& answers,
                 message_log& messages, bool quoted_records, bool at_start = true)
        : name_(name), input_(input), messages_(messages), lines_(opts.line_limit, quoted_records, at_start),
          out_(answers, messages) {}

protected:
    // Runs `answer_all` (which answers until the input ends or the output
    // fails) and gives the exit status; when memory runs out, what was
    // answered before is written, then the reason.
    template <typename answer_all_type>
    int run(answer_all_type answer_all) {
        try {
            answer_all();
        } catch (const std::bad_alloc&) {
            out_.flush();
            say::out_of_memory(messages_);
            messages_.flush();
            out_of_memory_ = true;
            return EXIT_FAILED;
        }
        out_.flush();
        return status();
    }

    void read_more() {
        // Nothing answered waits behind a read that may block.
        if (input_.may_wait())
            out_.flush();
        if (!lines_.read_from(input_, read_error_))
            read_failed_ = true;
    }

    [[nodiscard]] const char* name() const { return name_; }
    message_log& messages() { return messages_; }
    line_buffer& lines() { return lines_; }
    [[nodiscard]] const line_buffer& lines() const { return lines_; }
    block_writer& out() { return out_; }
    // `answered` false: the run ends with status 1.
    void count(bool answered) { all_answered_ &= answered; }
    // Whether run() was left because memory ran out.
    [[nodiscard]] bool out_of_memory() const { return out_of_memory_; }

private:
    int status();

    const char* name_;
    byte_source& input_;
    message_log& messages_;
    line_buffer lines_;
    block_writer out_;
    bool all_answered_ = true;
    bool read_failed_ = false;
    int read_error_ = 0;
    bool out_of_memory_ = false;
};

// Builds a stream of `stream_type` and runs it. Memory that runs out while it
// is built leaves nothing answered: only the reason is said.
template <typename stream_type, typename... more_type>
int build_and_run(const options& opts, const char* name, byte_source& input, byte_sink& answers,
                  message_log& messages, const pair_rule& rule, more_type&... more) {
    try {
        stream_type stream(opts, name, input, answers, messages, rule, more...);
        return stream.run();
    } catch (const std::bad_alloc&) {
        say::out_of_memory(messages);
        messages.flush();
        return EXIT_FAILED;
    }
}

// A stream run on opts.file ("-" is standard input), answers on `output_fd`.
using stream_run = int (*)(const options&, const char*, byte_source&, byte_sink&, message_log&, const pair_rule&);
int run_on_file(stream_run run, const options& opts, int output_fd, message_log& messages, const pair_rule& rule);


}  // namespace spanlet::cli
