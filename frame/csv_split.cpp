#include "frame/csv_split.h"

namespace spanlet::cli {

std::string_view csv_quoted_value(std::string_view raw, std::string& scratch) {
    const size_t first_quote = raw.find('"');
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
    const char specials[] = {delimiter, '"', '\r', '\n'};
    if (text.find_first_of(std::string_view(specials, sizeof specials)) == std::string_view::npos)
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
