#include "modes/holidays.h"

#include <cerrno>
#include <cstdint>
#include <string_view>
#include <utility>
#include <vector>

#include "judge/dates.h"
#include "io/fd_io.h"
#include "frame/line_split.h"

namespace spanlet::cli {
namespace {

// The date text of a holiday line: what stands after the blanks (spaces and
// tabs) that start it and before a '#', a tab or a CR at the line's end;
// empty for a line that holds nothing but blanks and a comment.
std::string_view holiday_text(std::string_view line) {
    line = line.substr(0, line.find('#'));
    if (!line.empty() && line.back() == '\r')
        line.remove_suffix(1);
    const size_t start = line.find_first_not_of(" \t");
    if (start == std::string_view::npos)
        return {};
    line.remove_prefix(start);
    return line.substr(0, line.find('\t'));
}

class holiday_file {
public:
    holiday_file(const char* path, const date_reader& reader, message_log& messages)
        : name_(is_standard_input(path) ? "(standard input)" : path), file_(path), reader_(reader),
          messages_(messages) {}

    // Adds the day number of every holiday to `days`; false after a message.
    bool read_into(std::vector<int32_t>& days) {
        if (file_.fd() < 0) {
            say::file_error(messages_, name_, "", errno);
            return false;
        }
        fd_source input(file_.fd());
        line_buffer lines(DEFAULT_LINE_LIMIT);
        uint64_t number = 0;
        while (true) {
            std::string_view line;
            const line_buffer::item got = lines.next(line);
            if (got == line_buffer::item::end)
                return true;
            if (got == line_buffer::item::need_more) {
                int error = 0;
                if (!lines.read_from(input, error)) {
                    say::file_error(messages_, name_, "read error: ", error);
                    return false;
                }
                continue;
            }
            ++number;
            if (got == line_buffer::item::too_long) {
                say::line_too_long(messages_, {name_, number}, DEFAULT_LINE_LIMIT);
                return false;
            }
            const std::string_view text = holiday_text(line);
            if (text.empty())
                continue;
            const date_reading reading = reader_.read(text);
            if (reading.reason != refusal::none) {
                say::refusal(messages_, {name_, number}, text, reading);
                return false;
            }
            days.push_back(day_number(reading.value));
        }
    }

private:
    const char* name_;
    input_file file_;
    const date_reader& reader_;
    message_log& messages_;
};

}  // namespace

std::optional<working_days> load_working_days(const options& opts, const run_clock& clock, message_log& messages) {
    const date_reader reader(opts, clock);
    std::vector<int32_t> days;
    for (const char* path : opts.holiday_files) {
        holiday_file file(path, reader, messages);
        if (!file.read_into(days))
            return std::nullopt;
    }
    return working_days(opts.weekend, std::move(days));
}

}  // namespace spanlet::cli
