#include "judge/common_lines.h"

#include <bit>
#include <cstdint>
#include <cstring>

#include "date/calendar.h"

#if defined(__x86_64__) || defined(__i386__)
#include <cpuid.h>
#endif

// Vectors pass between the functions of this file only, all inlined: how a
// call would pass them, which GCC warns may differ between targets, never
// matters.
#if defined(__GNUC__)
#pragma GCC diagnostic ignored "-Wpsabi"
#endif

namespace spanlet::cli {
namespace {

// A lane for each line of a batch. These are the compiler's portable
// vectors: each operation works on every lane, in whatever vector registers
// the target has (or in plain ones).
using u64x8 = uint64_t __attribute__((vector_size(64)));
using u32x8 = uint32_t __attribute__((vector_size(32)));
using u32x4 = uint32_t __attribute__((vector_size(16)));
using u8x16 = uint8_t __attribute__((vector_size(16)));
using i32x8 = int32_t __attribute__((vector_size(32)));

constexpr size_t SECOND_DATE = COMMON_DATE + 1;  // where a line's second date starts
constexpr size_t FEED = COMMON_LINE - 1;         // where its line feed stands
// Every answer has at most seven digits, and so its line feed fits in the
// eight bytes written for it.
static_assert(day_number({9999, 12, 31}) - day_number({1400, 1, 1}) + 1 < 10'000'000);

// The three words of four bytes a date YYYY-MM-DD at `at` is checked in,
// YYYY, -MM- and M-DD, in lanes 0-2, and the byte after it four times in
// lane 3. Sixteen bytes are read from `at`.
[[gnu::always_inline]] inline u32x4 date_words(const char* at) {
    u8x16 bytes;
    std::memcpy(&bytes, at, sizeof bytes);
    const u8x16 picked = __builtin_shufflevector(bytes, bytes, 0, 1, 2, 3, 4, 5, 6, 7, 6, 7, 8, 9, 10, 10, 10, 10);
    u32x4 words;
    std::memcpy(&words, &picked, sizeof words);
    return words;
}

struct date_words_by_line {
    u32x8 years;   // YYYY of each line
    u32x8 months;  // -MM-
    u32x8 days;    // M-DD
    u32x8 after;   // the byte after the date, four times
};

// The words of the dates at `offset` of each line: read a date at a time,
// then turned, so that each lane is a line.
[[gnu::always_inline]] inline date_words_by_line words_of(const char* lines, size_t offset) {
    u32x4 d[BATCH_LINES];
    for (size_t i = 0; i < BATCH_LINES; ++i)
        d[i] = date_words(lines + i * COMMON_LINE + offset);
    // Two dates' years and months, and their days and the bytes after them.
    const u32x4 ym01 = __builtin_shufflevector(d[0], d[1], 0, 4, 1, 5);
    const u32x4 ym23 = __builtin_shufflevector(d[2], d[3], 0, 4, 1, 5);
    const u32x4 ym45 = __builtin_shufflevector(d[4], d[5], 0, 4, 1, 5);
    const u32x4 ym67 = __builtin_shufflevector(d[6], d[7], 0, 4, 1, 5);
    const u32x4 dd01 = __builtin_shufflevector(d[0], d[1], 2, 6, 3, 7);
    const u32x4 dd23 = __builtin_shufflevector(d[2], d[3], 2, 6, 3, 7);
    const u32x4 dd45 = __builtin_shufflevector(d[4], d[5], 2, 6, 3, 7);
    const u32x4 dd67 = __builtin_shufflevector(d[6], d[7], 2, 6, 3, 7);
    const u32x4 y03 = __builtin_shufflevector(ym01, ym23, 0, 1, 4, 5);
    const u32x4 y47 = __builtin_shufflevector(ym45, ym67, 0, 1, 4, 5);
    const u32x4 m03 = __builtin_shufflevector(ym01, ym23, 2, 3, 6, 7);
    const u32x4 m47 = __builtin_shufflevector(ym45, ym67, 2, 3, 6, 7);
    const u32x4 d03 = __builtin_shufflevector(dd01, dd23, 0, 1, 4, 5);
    const u32x4 d47 = __builtin_shufflevector(dd45, dd67, 0, 1, 4, 5);
    const u32x4 a03 = __builtin_shufflevector(dd01, dd23, 2, 3, 6, 7);
    const u32x4 a47 = __builtin_shufflevector(dd45, dd67, 2, 3, 6, 7);
    return {__builtin_shufflevector(y03, y47, 0, 1, 2, 3, 4, 5, 6, 7),
            __builtin_shufflevector(m03, m47, 0, 1, 2, 3, 4, 5, 6, 7),
            __builtin_shufflevector(d03, d47, 0, 1, 2, 3, 4, 5, 6, 7),
            __builtin_shufflevector(a03, a47, 0, 1, 2, 3, 4, 5, 6, 7)};
}

// A lane's mask, all ones or all zeros, as an unsigned lane.
[[gnu::always_inline]] inline u32x8 as_unsigned(i32x8 mask) { return __builtin_convertvector(mask, u32x8); }

struct dates {
    // cppcheck-suppress unusedStructMember
    u32x8 number;  // days from a fixed day, where ok
    // cppcheck-suppress unusedStructMember
    i32x8 ok;  // all ones in a lane that holds YYYY-MM-DD naming a real date of 1400-9999
    // cppcheck-suppress unusedStructMember
    u32x8 after;  // the byte after the date, four times
};

// The dates whose ten bytes start at `offset` in each line. The spelling is
// checked in three words of four bytes, YYYY, -MM- and M-DD: XOR with
// "0000", "-00-" and "0-00" leaves 0-9 in a digit's byte and 0 in a dash's;
// any other byte is 10 or more, and then adding 0x76 to it (or the byte
// itself) sets its top bit. Each byte times ten plus the next gives the
// two-digit values. The day count is the calendar's, with its divisions as
// multiplications and shifts. Lanes that are not dates hold numbers of no
// meaning, in unsigned arithmetic, which wraps.
[[gnu::always_inline]] inline dates read_dates(const char* lines, size_t offset) {
    constexpr uint32_t TEN_AND_ABOVE = 0x76767676;
    constexpr uint32_t TOP_BITS = 0x80808080;
    const date_words_by_line words = words_of(lines, offset);
    const u32x8 ys = words.years ^ 0x30303030;   // "YYYY" ^ "0000"
    const u32x8 ms = words.months ^ 0x2D30302D;  // "-MM-" ^ "-00-"
    const u32x8 ds = words.days ^ 0x30302D30;    // "M-DD" ^ "0-00"
    const u32x8 wrong =
        (((ys | (ys + TEN_AND_ABOVE)) | (ms | (ms + TEN_AND_ABOVE)) | (ds | (ds + TEN_AND_ABOVE))) & TOP_BITS) |
        (ms & 0xFF0000FF) | (ds & 0x0000FF00);
    const u32x8 year_pairs = ys * 10 + (ys >> 8);  // bytes 0 and 2 [0, 99] where spelled
    const u32x8 year = (year_pairs & 0xFF) * 100 + ((year_pairs >> 16) & 0xFF);
    const u32x8 month = ((ms * 10 + (ms >> 8)) >> 8) & 0xFF;
    const u32x8 day = ((ds * 10 + (ds >> 8)) >> 16) & 0xFF;

    // y * 5243 >> 19 is y / 100 for y < 10^4; a year divisible by 100 is
    // one of 400 when also divisible by 16.
    const u32x8 century = (year * 5243) >> 19;
    const i32x8 leap = ((year & 3) == 0) & ((year != century * 100) | ((year & 15) == 0));
    // 30 or 31 days from the month's number: odd months to July, even from August.
    const u32x8 february = as_unsigned(month == 2);
    const u32x8 length = (february & (28 + (as_unsigned(leap) & 1))) | (~february & (30 | ((month ^ (month >> 3)) & 1)));
    const i32x8 ok = (wrong == 0) & (month - 1 < 12) & (day - 1 < length) & (year >= 1400);

    // The calendar's count from 1 March of year 0 (Neri and Schneider).
    const u32x8 january_or_february = as_unsigned(month <= 2) & 1;
    const u32x8 y = year - january_or_february;         // [0, 9999]
    const u32x8 m = month + 12 * january_or_february;   // [3, 14]
    const u32x8 c = (y * 5243) >> 19;                   // y / 100
    const u32x8 number = ((1461 * y) >> 2) - c + (c >> 2) + ((979 * m - 2919) >> 5) + day;
    return {number, ok, words.after};
}

// Two numbers below 100 in one lane, the first in the low half, written as
// four digits, a byte each, most significant first in memory.
[[gnu::always_inline]] inline u32x8 four_digits(u32x8 value) {  // [0, 9999]
    const u32x8 hundreds = (value * 10486) >> 20;                // value / 100
    const u32x8 pairs = hundreds | ((value - 100 * hundreds) << 16);
    const u32x8 tens = ((pairs * 103) >> 10) & 0x000F000F;       // each pair / 10
    return tens | ((pairs - 10 * tens) << 8);
}

template <bool number_only>
[[gnu::always_inline]] inline char* answer_batch(const char* lines, char* out, bool inclusive) {
    const dates first = read_dates(lines, 0);
    const dates second = read_dates(lines, SECOND_DATE);
    // Every date real, a tab after the first and a line feed after the second.
    constexpr uint32_t TABS = 0x09090909;
    constexpr uint32_t FEEDS = 0x0A0A0A0A;
    const i32x8 both = first.ok & second.ok & (first.after == TABS) & (second.after == FEEDS);
    uint64_t halves[BATCH_LINES / 2];
    std::memcpy(halves, &both, sizeof halves);
    if ((halves[0] & halves[1] & halves[2] & halves[3]) != ~uint64_t{0})
        return nullptr;

    // first - second: a sign and a magnitude, one more with both ends counted.
    const u32x8 difference = first.number - second.number;
    const u32x8 negative = as_unsigned(__builtin_convertvector(difference, i32x8) < 0);
    const u32x8 magnitude = ((difference ^ negative) - negative) + (inclusive ? 1U : 0U);  // [0, 2^22]
    // Eight digits a lane: magnitude / 10^4 (by a 64-bit multiplication,
    // exact below 2^23), then four digits of each half; the leading zeros
    // shifted out and a line feed put after the last digit, so that each
    // row's number is one store of eight bytes.
    const u32x8 high = __builtin_convertvector((__builtin_convertvector(magnitude, u64x8) * 109951163) >> 40, u32x8);
    const u64x8 digits = __builtin_convertvector(four_digits(high), u64x8) |
                         (__builtin_convertvector(four_digits(magnitude - 10000 * high), u64x8) << 32);
    u32x8 count = u32x8{} + 1;  // digits: one, and one more for each power of ten reached
    for (uint32_t power = 10; power < 10'000'000; power *= 10)
        count -= as_unsigned(magnitude >= power);  // a mask is all ones: -1
    // count: [1, 7]
    const u64x8 shown = __builtin_convertvector(count, u64x8) * 8;
    const u64x8 number_texts = (digits + 0x3030303030303030) >> (64 - shown);
    const u64x8 feeds = (u64x8{} + '\n') << shown;
    const u64x8 texts = number_texts | feeds;
    uint64_t text[BATCH_LINES];
    uint32_t length[BATCH_LINES];
    uint32_t minus[BATCH_LINES];
    const u32x8 lengths = count + 1;
    const u32x8 signs = negative & 1;
    std::memcpy(text, &texts, sizeof text);
    std::memcpy(length, &lengths, sizeof length);
    std::memcpy(minus, &signs, sizeof minus);

    for (size_t i = 0; i < BATCH_LINES; ++i) {
        if constexpr (!number_only) {
            // The line as it stands, its tab included, then a tab.
            std::memcpy(out, lines + i * COMMON_LINE, FEED);
            out[FEED] = '\t';
            out += FEED + 1;
        }
        *out = '-';
        out += minus[i];
        std::memcpy(out, &text[i], sizeof text[i]);
        out += length[i];
    }
    return out;
}

// Batch after batch, in one call: the constants stay in registers.
template <bool number_only>
[[gnu::always_inline]] inline batch_run answer_batches(const char* lines, size_t size, char* out, size_t room,
                                                       bool inclusive) {
    const char* const out_end = out + room;
    size_t read = 0;
    while (size - read >= BATCH_BYTES + BATCH_OVERREAD && static_cast<size_t>(out_end - out) >= BATCH_ROOM) {
        char* end = answer_batch<number_only>(lines + read, out, inclusive);
        if (end == nullptr)
            return {read, out, true};
        read += BATCH_BYTES;
        out = end;
    }
    return {read, out, false};
}

#if defined(__x86_64__) || defined(__i386__)
// The same, in the 256-bit registers of AVX2.
template <bool number_only>
[[gnu::target("avx2")]] batch_run answer_batches_avx2(const char* lines, size_t size, char* out, size_t room,
                                                      bool inclusive) {
    return answer_batches<number_only>(lines, size, out, room, inclusive);
}

batch_run answer_batches_with_avx2(const char* lines, size_t size, char* out, size_t room, batch_options how) {
    return how.number_only ? answer_batches_avx2<true>(lines, size, out, room, how.inclusive)
                           : answer_batches_avx2<false>(lines, size, out, room, how.inclusive);
}
#endif

}  // namespace

batch_run answer_batches_portable(const char* lines, size_t size, char* out, size_t room, batch_options how) {
    return how.number_only ? answer_batches<true>(lines, size, out, room, how.inclusive)
                           : answer_batches<false>(lines, size, out, room, how.inclusive);
}

#if defined(__x86_64__) || defined(__i386__)
namespace {

// Whether the processor has AVX2 and the system saves its registers, asked
// with cpuid and xgetbv when a stream starts: not by the compiler's own
// check, whose detection runs at the start of every process, one pair too.
bool has_avx2() {
    unsigned a = 0;
    unsigned b = 0;
    unsigned c = 0;
    unsigned d = 0;
    if (__get_cpuid(1, &a, &b, &c, &d) == 0 || (c & bit_OSXSAVE) == 0 || (c & bit_AVX) == 0)
        return false;
    unsigned saved = 0;
    unsigned high = 0;
    __asm__("xgetbv" : "=a"(saved), "=d"(high) : "c"(0));
    constexpr unsigned SSE_AND_AVX_STATE = 0x6;
    if ((saved & SSE_AND_AVX_STATE) != SSE_AND_AVX_STATE)
        return false;
    return __get_cpuid_count(7, 0, &a, &b, &c, &d) != 0 && (b & bit_AVX2) != 0;
}

}  // namespace
#endif

batch_answerer pick_batch_answerer() {
    if constexpr (std::endian::native != std::endian::little)
        return nullptr;  // the words above are read little-endian
#if defined(__x86_64__) || defined(__i386__)
    // Asked once: cpuid is slow, in a virtual machine most of all, and
    // every part of --jobs starts a stream.
    static const bool avx2 = has_avx2();
    if (avx2)
        return answer_batches_with_avx2;
#endif
    return answer_batches_portable;
}

}  // namespace spanlet::cli
