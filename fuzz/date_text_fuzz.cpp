// Any bytes, as an argument or a line of a file would carry them, through the
// date reader. Whatever the text:
// - the reader accepts it exactly when the README's grammar (stated again,
//   independently, in tests/spelling_oracle.h) names a date, and then reads
//   that very date;
// - the fast path for YYYY-MM-DD gives what the general reader gives.
// "today" is 10 December 2026 and @SECONDS is read in UTC, on both sides.
// The first byte chooses month first or day first; the rest is the text.

#include "date/calendar.h"
#include "date/date_text.h"

#include <chrono>
#include <cstdint>
#include <optional>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

#include "../tests/spelling_oracle.h"

namespace {

// The local date of Unix time, here in UTC: an input to both sides.
std::optional<spanlet::date> utc_date(int64_t seconds) {
    using namespace std::chrono;
    const year_month_day ymd{floor<days>(sys_seconds{seconds * 1s})};
    return spanlet::date{int{ymd.year()}, static_cast<int32_t>(unsigned{ymd.month()}),
                         static_cast<int32_t>(unsigned{ymd.day()})};
}
bool utc_date_of(int64_t seconds, spanlet::date& out) {
    out = *utc_date(seconds);
    return true;
}

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

    static const spanlet::date today{2026, 12, 10};
    spanlet::reading_options options;
    options.order = day_first ? spanlet::field_order::day_first : spanlet::field_order::month_first;
    options.today = &today;
    options.local_date_of = utc_date_of;
    const spanlet::date_reading read = spanlet::read_date(text, options);
    const spanlet::date_reading general = spanlet::read_date_general(text, options);
    require(read.reason == general.reason && read.value == general.value,
            "the fast path agrees with the general reader", text);

    const auto expected = oracle::read(text, day_first, &today, utc_date);
    require((read.reason == spanlet::refusal::none) == expected.has_value(),
            "accepted exactly when the grammar names a date", text);
    if (expected) {
        require(read.value == *expected, "the date read is the date the grammar names", text);
        require(spanlet::is_valid_date(read.value), "an accepted date is a real date", text);
    }
    return 0;
}
