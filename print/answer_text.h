#pragma once
// An answer's text: a number, or an ISO 8601 span.

#include <cstddef>

#include "io/numbers.h"
#include "judge/pair_rule.h"

namespace spanlet::cli {

// Room write_answer needs at `out`.
inline constexpr size_t ANSWER_ROOM = PERIOD_ROOM;
static_assert(ANSWER_ROOM >= INT32_ROOM);

// The answer's text at `out`; returns its end.
inline char* write_answer(char* out, const answer& a) {
    return a.units == 0 ? write_int32(out, a.number) : write_period(out, a.parts, a.units, a.negative);
}

}  // namespace spanlet::cli
