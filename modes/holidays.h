#pragma once
// The working days -b counts: the weekend of --weekend, less the holidays of
// every --holidays file. A holiday file holds a date a line, in any spelling
// spanlet reads, which a tab and a name may follow; '#' starts a comment,
// and lines with nothing else are skipped.

#include <optional>

#include "judge/dates.h"
#include "print/messages.h"
#include "options/options.h"
#include "date/working_days.h"

namespace spanlet::cli {

// Reads every holiday file once, in full. Nothing after a message naming the
// file, and the line and why where a line holds no date.
std::optional<working_days> load_working_days(const options& opts, const run_clock& clock, message_log& messages);

}  // namespace spanlet::cli
