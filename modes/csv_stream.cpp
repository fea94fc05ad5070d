#include "modes/csv_stream.h"

#include <algorithm>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "options/units.h"
#include "print/answers.h"
#include "frame/csv_split.h"
#include "frame/line_split.h"
#include "modes/line_stream.h"
#include "judge/pair_rule.h"
#include "date/date_text.h"

namespace spanlet::cli {
namespace {

// The answer column's name when --name gives none: the unit, or the units
// joined by '_', largest first.
std::string default_answer_name(const options& opts) {
    if (opts.business_days)
        return "working_days";
    std::string name;
    for (const unit_names& u : UNITS) {
        if ((opts.units & u.unit) == 0)
            continue;
        if (!name.empty())
            name += '_';
        name += u.plural;
    }
    return name;
}

// A record as read, without its line ending, and that ending.
struct csv_record {
    std::string_view bytes;
    std::string_view ending;  // "\n", "\r\n", or nothing for a last record without one
};

class csv_stream : public block_stream {
public:
    csv_stream(const options& opts, const char* name, byte_source& input, byte_sink& answers, message_log& messages,
               const pair_rule& rule)
        : block_stream(opts, name, input, answers, messages, true), opts_(opts), rule_(rule),
          delimiter_(opts.delimiter != nullptr ? opts.delimiter[0] : ','), columns_(opts.columns) {}

    int run() {
        return block_stream::run([this] { answer_every_record(); });
    }

private:
    [[nodiscard]] place here() const { return {name(), first_line_}; }

    void answer_every_record() {
        bool header_due = opts_.header;
        while (!out().failed()) {
            std::string_view bytes;
            const line_buffer::item got = lines().next(bytes);
            if (got == line_buffer::item::end)
                return;
            if (got == line_buffer::item::need_more) {
                read_more();
                continue;
            }
            first_line_ = next_line_;
            next_line_ += 1 + lines().feeds_inside();
            if (got == line_buffer::item::too_long) {
                say::line_too_long(messages(), here(), opts_.line_limit, "record");
                count(false);
                if (header_due)
                    return;  // no names to find the columns by
                write_refused({{}, lines().ended_by_crlf() ? "\r\n" : "\n"});
                continue;
            }
            const csv_record record = ended(bytes);
            if (header_due) {
                header_due = false;
                if (!take_header(record))
                    return;
                continue;
            }
            count(answer_record(record));
        }
    }

    // With -n, the answers alone always end their lines: an empty answer
    // of a last record without a line ending would otherwise be no line.
    [[nodiscard]] csv_record ended(std::string_view bytes) const {
        if (!lines().ended_by_feed())
            return {bytes, opts_.number_only ? "\n" : ""};
        if (lines().ended_by_crlf())
            return {bytes.substr(0, bytes.size() - 1), "\r\n"};
        return {bytes, "\n"};
    }

    // Finds the columns named in the header, and writes it with the answer
    // column's name; false, with nothing written, when the header's quote
    // is never closed or a name is missing or given twice. A number that no
    // column has for its name is a number.
    bool take_header(const csv_record& record) {
        // A quote left open takes the rest of the input into the header:
        // no names, and nothing to answer after it.
        if (lines().ended_in_quotes()) {
            say::line_problem(messages(), here(), "a quote that is never closed");
            count(false);
            return false;
        }
        std::vector<std::string> names;
        csv_fields fields(record.bytes, delimiter_);
        std::string scratch;
        while (fields.more())
            names.emplace_back(csv_value(fields.next(), scratch));
        for (int side = 0; side < 2; ++side) {
            // Only a name the user chose is looked up: a column given by
            // number (the default columns are 1 and 2) is that column,
            // whatever its header cell holds.
            if (columns_.numbers[side] == 0) {
                const std::string_view wanted = columns_.names[side];
                const auto matches = std::count(names.begin(), names.end(), wanted);
                if (matches != 1) {
                    say::header_problem(messages(), name(), wanted, matches > 1);
                    count(false);
                    return false;
                }
                columns_.numbers[side] = static_cast<size_t>(std::find(names.begin(), names.end(), wanted) - names.begin()) + 1;
            }
            // Messages name a column by its name in the header.
            labels_[side] = columns_.numbers[side] <= names.size() ? names[columns_.numbers[side] - 1] : std::string();
        }
        const std::string answer_name =
            csv_field_text(opts_.answer_name != nullptr ? opts_.answer_name : default_answer_name(opts_), delimiter_);
        if (!opts_.number_only) {
            out().append(record.bytes);
            out().append({&delimiter_, 1});
        }
        out().append(answer_name);
        out().append(record.ending.empty() ? std::string_view("\n") : record.ending);
        return true;
    }

    // Writes the record and its answer; false when it was refused.
    bool answer_record(const csv_record& record) {
        if (lines().ended_in_quotes()) {
            say::line_problem(messages(), here(), "a quote that is never closed");
            write_refused(record, true);
            return false;
        }
        // Two locals, not an array indexed by side: they stay in registers.
        std::string_view first_raw;
        std::string_view second_raw;
        size_t field = 0;
        csv_fields fields(record.bytes, delimiter_);
        const size_t first_column = columns_.numbers[0];
        const size_t second_column = columns_.numbers[1];
        const size_t last = first_column > second_column ? first_column : second_column;
        while (field < last && fields.more()) {
            const std::string_view at = fields.next();
            ++field;
            first_raw = field == first_column ? at : first_raw;
            second_raw = field == second_column ? at : second_raw;
        }
        if (field < last) {
            for (; fields.more(); ++field)
                fields.next();
            say::missing_column(messages(), here(), field, last);
            write_refused(record);
            return false;
        }
        date dates[2]{};
        if (rule_.read_fast(first_raw, second_raw, dates)) {
            // Two unquoted dates the strict readers read (their bytes hold
            // no quote), answered as the rule would.
            write_answered(record, rule_.difference(dates[0], dates[1]));
            return true;
        }
        const std::string_view first = csv_value(first_raw, scratch_[0]);
        const std::string_view second = csv_value(second_raw, scratch_[1]);
        const pair_verdict verdict = rule_.judge(first, second);
        for (int side = 0; side < 2; ++side) {
            if (verdict.refused(side))
                say::column_refusal(messages(), here(), labels_[side], columns_.numbers[side], side == 0 ? first : second,
                                         verdict.sides[side]);
        }
        if (!verdict.answered()) {
            write_refused(record);
            return false;
        }
        write_answered(record, verdict.result);
        return true;
    }

    void write_answered(const csv_record& record, const answer& result) {
        if (!opts_.number_only) {
            out().append(record.bytes);
            out().append({&delimiter_, 1});
        }
        out().append_answer(result, record.ending);
    }

    // The record with an empty answer field. A quote left open is closed,
    // so that the answer field is a field of its own.
    void write_refused(const csv_record& record, bool unclosed = false) {
        if (!opts_.number_only) {
            out().append(record.bytes);
            if (unclosed)
                out().append("\"");
            out().append({&delimiter_, 1});
        }
        out().append(unclosed ? std::string_view("\n") : record.ending);
    }

    const options& opts_;
    const pair_rule& rule_;
    const char delimiter_;
    csv_columns columns_;
    std::string scratch_[2];  // a value that had to be unescaped
    std::string labels_[2];   // the columns' names in the header, if any
    uint64_t first_line_ = 0;  // of the record last handed out
    uint64_t next_line_ = 1;
};

}  // namespace

int run_csv_stream(const options& opts, const char* name, byte_source& input, byte_sink& answers,
                   message_log& messages, const pair_rule& rule) {
    return build_and_run<csv_stream>(opts, name, input, answers, messages, rule);
}

int run_csv_stream(const options& opts, const char* name, byte_source& input, byte_sink& answers,
                   message_log& messages, const working_days* calendar) {
    const run_clock clock = clock_of_this_run();
    const pair_rule rule(opts, clock, calendar);
    return run_csv_stream(opts, name, input, answers, messages, rule);
}

int run_csv_stream(const options& opts, int output_fd, message_log& messages, const pair_rule& rule) {
    const stream_run run = run_csv_stream;
    return run_on_file(run, opts, output_fd, messages, rule);
}

}  // namespace spanlet::cli
