#pragma once
// The fields of a CSV record, as RFC 4180 writes them: separated by a
// delimiter, optionally enclosed in double quotes, a quote inside a quoted
// field written twice; a quoted field may hold the delimiter, CR and LF.
// Fields are positions in the record, never copies; a value is copied only
// when a doubled quote must be made single. A quote anywhere in a field
// opens a quoted part, which the next lone quote closes.

#include <cstddef>
#include <string>
#include <string_view>

namespace spanlet::cli {

class csv_fields {
public:
    // `record` without its line ending.
    csv_fields(std::string_view record, char delimiter) : at_(record.data()), end_(record.data() + record.size()),
                                                          delimiter_(delimiter) {}

    // The next field as written, quotes and all; false after the last. A
    // record always has one field at least, an empty record one empty field.
    bool next(std::string_view& raw);

private:
    const char* at_;
    const char* end_;
    char delimiter_;
    bool done_ = false;
};

// The value of a field as written: the quotes of its quoted parts removed,
// a doubled quote inside them made one. In `scratch` when a quote had to be
// taken out from inside it, else a part of `raw`.
std::string_view csv_value(std::string_view raw, std::string& scratch);

// `text` as one field: as it is, or in quotes with its quotes doubled when
// it holds the delimiter, a quote, CR or LF.
std::string csv_field_text(std::string_view text, char delimiter);

}  // namespace spanlet::cli
