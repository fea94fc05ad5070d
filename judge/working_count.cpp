#include "judge/working_count.h"

#if defined(__x86_64__) || defined(__i386__)
#include <cpuid.h>
#endif

namespace spanlet::cli {
namespace {

int32_t count_portably(const working_days& calendar, int32_t first, int32_t second, bool inclusive) {
    return calendar.between(first, second, inclusive);
}

#if defined(__x86_64__) || defined(__i386__)
// The same code, its popcount one instruction.
[[gnu::target("popcnt")]] int32_t count_with_popcnt(const working_days& calendar, int32_t first, int32_t second,
                                                    bool inclusive) {
    return calendar.between(first, second, inclusive);
}

bool has_popcnt() {
    unsigned a = 0;
    unsigned b = 0;
    unsigned c = 0;
    unsigned d = 0;
    return __get_cpuid(1, &a, &b, &c, &d) != 0 && (c & bit_POPCNT) != 0;
}
#endif

}  // namespace

working_count pick_working_count() {
#if defined(__x86_64__) || defined(__i386__)
    if (has_popcnt())
        return count_with_popcnt;
#endif
    return count_portably;
}

}  // namespace spanlet::cli
