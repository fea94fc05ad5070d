#include "cli/csv_split.h"

#include <bit>
#include <cstdint>
#include <cstring>

namespace spanlet::cli {
using namespace csv_detail;

bool odd_quotes(const char* from, const char* to) {
    // The quote flags of every word XORed together, then folded: only the
    // parity of their count matters.
    const char* const begin = from;
    uint64_t flags = 0;
    for (; to - from >= 8; from += 8)
        flags ^= equal_bytes(word_at(from), '"');
    if (from != to)
        flags ^= equal_bytes(tail_word(begin, from, to), '"') & ((uint64_t{1} << (8 * (to - from))) - 1);
    flags ^= flags >> 32;
    flags ^= flags >> 16;
    flags ^= flags >> 8;
    return (flags & 0x80) != 0;
}

namespace {

bool holds_quote(std::string_view raw) {
    const char* at = raw.data();
    const char* const end = at + raw.size();
    const char* const begin = at;
    uint64_t flags = 0;
    for (; end - at >= 8; at += 8)
        flags |= equal_bytes(word_at(at), '"');
    if (at != end)
        flags |= equal_bytes(tail_word(begin, at, end), '"') & ((uint64_t{1} << (8 * (end - at))) - 1);
    return flags != 0;
}

}  // namespace

std::string_view csv_value(std::string_view raw, std::string& scratch) {
    if (!holds_quote(raw))
        return raw;
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
