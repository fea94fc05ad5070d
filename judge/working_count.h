#pragma once
// Working days between two day numbers, as working_days::between counts
// them, compiled for the processor's population count instruction where it
// has one: the release build targets plain x86-64, whose software count took
// a tenth of the time of -b.

#include <cstdint>

#include "date/working_days.h"

namespace spanlet::cli {

using working_count = int32_t (*)(const working_days& calendar, int32_t first, int32_t second, bool inclusive);

// The count for this processor, asked of it once (cpuid), when a run that
// counts working days starts.
working_count pick_working_count();

}  // namespace spanlet::cli
