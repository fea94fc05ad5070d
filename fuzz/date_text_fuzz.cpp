// Any bytes, as an argument or a line of a file would carry them, through the
// date reader. Whatever the text:
// - the reader accepts it exactly when the README's grammar (stated again,
//   independently, in tests/spelling_oracle.h) names a date, and then reads
//   that very date;
// - the fast path for YYYY-MM-DD gives what the general reader gives.
// The first byte chooses month first or day first; the rest is the text.

#include "date/calendar.h"
#include "date/date_text.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

#include "../tests/spelling_oracle.h"

namespace {

void require(bool property, const char* what, std::string_view text) {
    if (!property) {
        std::fprintf(stderr, "property broken: %s, for text \"%.*s\"\n", what,
                     static_cast<int>(text.size()), text.data());
        std::abort();
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size == 0)
        return 0;
    const bool day_first = (data[0] & 1) != 0;
    const std::string_view text(reinterpret_cast<const char*>(data + 1), size - 1);

    spanlet::reading_options options;
    options.order = day_first ? spanlet::field_order::day_first : spanlet::field_order::month_first;
    const spanlet::date_reading read = spanlet::read_date(text, options);
    const spanlet::date_reading general = spanlet::read_date_general(text, options);
    require(read.reason == general.reason && read.value == general.value,
            "the fast path agrees with the general reader", text);

    const auto expected = oracle::read(text, day_first);
    require((read.reason == spanlet::refusal::none) == expected.has_value(),
            "accepted exactly when the grammar names a date", text);
    if (expected) {
        require(read.value == *expected, "the date read is the date the grammar names", text);
        require(spanlet::is_valid_date(read.value), "an accepted date is a real date", text);
    }
    return 0;
}
