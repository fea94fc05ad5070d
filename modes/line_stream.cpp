#include "modes/line_stream.h"

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <new>
#include <string_view>

#include "print/answers.h"
#include "judge/common_lines.h"
#include "frame/line_split.h"
#include "print/output.h"
#include "judge/pair_rule.h"
#include "date/date_text.h"

namespace spanlet::cli {
namespace {

class line_stream : public block_stream {
public:
    line_stream(const options& opts, const char* name, byte_source& input, byte_sink& answers,
                message_log& messages, const pair_rule& rule, input_part& part)
        : block_stream(opts, name, input, answers, messages, false, part.at_start), opts_(opts),
          rows_(out(), opts.number_only), rule_(rule), batch_(rule.batches()), part_(part),
          number_(part.lines_before) {}

    int run() {
        const int status = block_stream::run([this] { answer_every_line(); });
        part_.lines = number_ - part_.lines_before;
        part_.stopped = out_of_memory();
        return status;
    }

private:
    [[nodiscard]] place here() const { return {name(), number_}; }

    // The lines in the order the judge tries them: batches, the common line,
    // then a line at a time.
    void answer_every_line() {
        while (!out().failed()) {
            if (batch_ != nullptr && number_ >= next_batch_ && answer_batches(lines().unread()))
                continue;
            if (answer_common_line(lines().unread()))
                continue;
            std::string_view line;
            const line_buffer::item got = lines().next(line);
            if (got == line_buffer::item::end)
                return;
            if (got == line_buffer::item::need_more) {
                read_more();
                continue;
            }
            ++number_;
            if (got == line_buffer::item::line) {
                count(answer(line));
            } else {
                say::line_too_long(messages(), here(), opts_.line_limit);
                rows_.not_a_pair();
                count(false);
            }
        }
    }

    // Answers the line at the head of `unread` when the judge reads it as
    // the common line; false to go the usual way.
    bool answer_common_line(std::string_view unread) {
        date dates[2];
        const size_t length = rule_.read_common_line(unread, dates);
        if (length == 0)
            return false;
        rows_.difference(unread.substr(0, COMMON_DATE), unread.substr(COMMON_DATE + 1, COMMON_DATE),
                         rule_.difference(dates[0], dates[1]));
        ++number_;
        lines().skip(length);
        return true;
    }

    // Answers the batches of common lines at the head of `unread`, as many as
    // there are; false when not one was answered, and the lines go one at a
    // time.
    bool answer_batches(std::string_view unread) {
        if (unread.size() < BATCH_BYTES)
            return false;
        size_t room = 0;
        char* out = this->out().room(BATCH_ROOM, room);
        const batch_run answered = batch_(unread.data(), unread.size(), out, room, {opts_.number_only, opts_.inclusive});
        this->out().keep(answered.end);
        lines().skip(answered.read);
        number_ += answered.read / COMMON_LINE;
        if (answered.left) {
            // Its lines go one at a time, and the next try waits twice as
            // long as the last (up to MOST_BETWEEN_TRIES lines): input of
            // other spellings pays for few tries, and input of common
            // lines with an odd one among them soon goes in batches again.
            next_batch_ = number_ + between_tries_;
            between_tries_ = std::min(2 * between_tries_, MOST_BETWEEN_TRIES);
        } else if (answered.read != 0) {
            between_tries_ = BATCH_LINES;
        }
        return answered.read != 0;
    }

    // Writes the row of one line; false when the line was refused.
    bool answer(std::string_view line) {
        if (!line.empty() && line.back() == '\r')
            line.remove_suffix(1);
        const split_line pair = split_fields(line, opts_.delimiter);
        // A NUL byte is looked for only in a line that is no answered pair:
        // no date text with one is read, and the fields of a pair hold all
        // of its line but the delimiter and blanks.
        if (pair.fields != 2) {
            if (has_nul(line))
                return not_a_pair_for_nul();
            say::wrong_field_count(messages(), here(), pair.fields);
            rows_.not_a_pair();
            return false;
        }
        // Most pairs: two dates the fast paths read (digits and separators,
        // which a row always echoes).
        date dates[2];
        if (rule_.read_fast(pair.first, pair.second, dates)) {
            rows_.difference(pair.first, pair.second, rule_.difference(dates[0], dates[1]));
            return true;
        }
        const pair_verdict verdict = rule_.judge(pair.first, pair.second);
        if (!verdict.answered()) {
            if (has_nul(line))
                return not_a_pair_for_nul();
            say::refusals(messages(), here(), pair.first, pair.second, verdict);
        }
        for (const std::string_view field : {pair.first, pair.second}) {
            // cppcheck-suppress useStlAlgorithm
            if (!rows_.echoes(field)) {
                say::field_not_echoed(messages(), here(), field);
                rows_.not_echoed();
                return false;
            }
        }
        rows_.pair(pair.first, pair.second, verdict);
        return verdict.answered();
    }

    static bool has_nul(std::string_view line) { return line.find('\0') != std::string_view::npos; }

    bool not_a_pair_for_nul() {
        say::line_problem(messages(), here(), "a NUL byte in the line");
        rows_.not_a_pair();
        return false;
    }

    const options& opts_;
    answer_writer rows_;
    const pair_rule& rule_;
    const batch_answerer batch_;  // where the judge lets batches run
    input_part& part_;
    uint64_t number_;  // of the line last handed out
    uint64_t next_batch_ = 0;  // no batch is tried before this line number
    uint64_t between_tries_ = BATCH_LINES;  // lines from a batch left to the next try
    static constexpr uint64_t MOST_BETWEEN_TRIES = 1024;
};

}  // namespace

int run_line_stream(const options& opts, const char* name, byte_source& input, byte_sink& answers,
                    message_log& messages, const pair_rule& rule, input_part& part) {
    return build_and_run<line_stream>(opts, name, input, answers, messages, rule, part);
}

int run_line_stream(const options& opts, const char* name, byte_source& input, byte_sink& answers,
                    message_log& messages, const pair_rule& rule) {
    input_part whole;
    return run_line_stream(opts, name, input, answers, messages, rule, whole);
}

int run_line_stream(const options& opts, const char* name, byte_source& input, byte_sink& answers,
                    message_log& messages, const working_days* calendar) {
    const run_clock clock = clock_of_this_run();
    const pair_rule rule(opts, clock, calendar);
    return run_line_stream(opts, name, input, answers, messages, rule);
}

namespace {

// The input shared among opts.jobs workers, each answering its parts as one
// line stream.
int run_with_workers(const options& opts, const char* name, byte_source& input, byte_sink& answers,
                     message_log& messages, const pair_rule& rule) {
    const part_answerer one_part = run_line_stream;
    return run_parallel_stream(one_part, opts, name, input, answers, messages, rule);
}

}  // namespace

int run_line_stream(const options& opts, int output_fd, message_log& messages, const pair_rule& rule) {
    const stream_run one_worker = run_line_stream;
    const stream_run workers = run_with_workers;
    return run_on_file(opts.jobs == 1 ? one_worker : workers, opts, output_fd, messages, rule);
}

int block_stream::status() {
    int status = all_answered_ ? EXIT_OK : EXIT_FAILED;
    if (read_failed_) {
        say::file_error(messages_, name_, "read error: ", read_error_);
        status = EXIT_FAILED;
    }
    if (out_.failed()) {
        say::write_error(messages_, out_.error());
        status = EXIT_FAILED;
    }
    messages_.flush();
    return status;
}

int run_on_file(stream_run run, const options& opts, int output_fd, message_log& messages, const pair_rule& rule) {
    const char* name = is_standard_input(opts.file) ? "(standard input)" : opts.file;
    const input_file file(opts.file);
    if (file.fd() < 0) {
        say::file_error(messages, name, "", errno);
        messages.flush();
        return EXIT_FAILED;
    }
    fd_source input(file.fd());
    fd_sink answers(output_fd, !opts.csv);
    return run(opts, name, input, answers, messages, rule);
}

}  // namespace spanlet::cli
