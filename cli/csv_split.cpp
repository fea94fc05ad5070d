#include "cli/csv_split.h"

#include <cstring>

namespace spanlet::cli {
namespace {

const char* find(const char* from, const char* end, char c) {
    const void* found = std::memchr(from, c, static_cast<size_t>(end - from));
    return found != nullptr ? static_cast<const char*>(found) : end;
}

}  // namespace

bool csv_fields::next(std::string_view& raw) {
    if (done_)
        return false;
    const char* const start = at_;
    const char* at = at_;
    while (true) {
        const char* delimiter = find(at, end_, delimiter_);
        const char* quote = find(at, delimiter, '"');
        if (quote == delimiter) {
            // No quote before the delimiter: the field ends there.
            raw = {start, static_cast<size_t>(delimiter - start)};
            done_ = delimiter == end_;
            at_ = done_ ? end_ : delimiter + 1;
            return true;
        }
        // A quoted part: up to the next quote (a doubled quote closes and
        // opens again), or to the end of an unclosed one.
        const char* closing = find(quote + 1, end_, '"');
        at = closing == end_ ? end_ : closing + 1;
    }
}

std::string_view csv_value(std::string_view raw, std::string& scratch) {
    const size_t first_quote = raw.find('"');
    if (first_quote == std::string_view::npos)
        return raw;
    // "2010-08-10": the common quoted field, its inside as it is.
    if (first_quote == 0 && raw.size() >= 2 && raw.back() == '"' &&
        raw.substr(1, raw.size() - 2).find('"') == std::string_view::npos)
        return raw.substr(1, raw.size() - 2);
    scratch.clear();
    bool quoted = false;
    for (size_t i = 0; i < raw.size(); ++i) {
        if (raw[i] != '"') {
            scratch += raw[i];
        } else if (quoted && i + 1 < raw.size() && raw[i + 1] == '"') {
            scratch += '"';
            ++i;
        } else {
            quoted = !quoted;
        }
    }
    return scratch;
}

std::string csv_field_text(std::string_view text, char delimiter) {
    const char specials[] = {delimiter, '"', '\r', '\n', '\0'};
    if (text.find_first_of(std::string_view(specials, 4)) == std::string_view::npos)
        return std::string(text);
    std::string quoted = "\"";
    for (const char c : text) {
        quoted += c;
        if (c == '"')
            quoted += '"';
    }
    return quoted + '"';
}

}  // namespace spanlet::cli
