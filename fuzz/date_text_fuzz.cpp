// Any bytes, as a command-line argument would carry them, through both stages
// of date text reading. Whatever the text, the result is either no date at all
// or a real date whose canonical text is the one the normaliser wrote: the
// reader took back exactly the date the normaliser saw.

#include "date/calendar.h"
#include "date/date_text.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>

namespace {

struct reading {
    char canonical[CANONICAL_TEXT_MAX + 1];
    int32_t month, day, year;
};

// Reads `text` in a working text of exactly the size the program gives it,
// so that any write past it is caught.
reading read_text(const char* text, size_t length) {
    const size_t size = working_text_size(length);
    const std::unique_ptr<char[]> working(new char[size]);
    std::memcpy(working.get(), text, length);
    working[length] = '\0';
    normalize_date_text(working.get());
    reading r{};
    std::snprintf(r.canonical, sizeof r.canonical, "%s", working.get());
    read_date_fields(working.get(), r.month, r.day, r.year);
    return r;
}

void require(bool property, const char* what, const char* text) {
    if (!property) {
        std::fprintf(stderr, "property broken: %s, for text \"%s\"\n", what, text);
        std::abort();
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    // An argument ends at its first NUL.
    const std::unique_ptr<char[]> text(new char[size + 1]);
    std::memcpy(text.get(), data, size);
    text[size] = '\0';
    const size_t length = std::strlen(text.get());

    const reading read = read_text(text.get(), length);
    if (!is_valid_date(read.month, read.day, read.year))
        return 0;
    require(read.year >= 1400, "an accepted date lies in 1400-9999", text.get());

    char canonical[32];
    std::snprintf(canonical, sizeof canonical, "%04d/%02d/%02d", static_cast<int>(read.year),
                  static_cast<int>(read.month), static_cast<int>(read.day));
    require(std::strcmp(canonical, read.canonical) == 0,
            "the date read is the date the normaliser wrote", text.get());
    const reading again = read_text(canonical, std::strlen(canonical));
    require(again.month == read.month && again.day == read.day && again.year == read.year,
            "the canonical text reads back as the same date", text.get());
    return 0;
}
