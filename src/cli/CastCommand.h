#pragma once

#include "base/Result.h"
#include "cli/Args.h"
#include "engine/Casting.h"

#include <iosfwd>
#include <optional>
#include <string>
#include <string_view>

namespace quenmar::cli {

/// Reads "YYYY-MM-DD HH:MM:SS[.mmm]" (or with "T" between date and time, blanks around it)
/// as a local moment of the years 100 to 9999; nothing for any other text.
std::optional<double> parseMomentText(std::string_view text);

/// The clock reading for --moment "YYYY-MM-DD HH:MM:SS[.mmm]" (when given, read as a local
/// moment) or of the system clock.
Result<ClockReading, ArgsError> clockFor(const Args& args);

/// quenmar-cli cast ...: prints the chart; exit 0, or 2 with one line on `err`.
int runCastCommand(const Args& args, std::ostream& out, std::ostream& err);

} // namespace quenmar::cli
