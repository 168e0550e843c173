#pragma once

#include "cli/Args.h"
#include "engine/CastRequest.h"
#include "engine/Casting.h"

#include <iosfwd>
#include <optional>
#include <string>
#include <variant>
#include <vector>

namespace quenmar::cli {

/// A cast as the command line states it: the request before completion, the lottery code
/// and the clock reading that stands for "now".
struct CastInvocation {
    CastRequest request;
    int gameCode = kGameHappy8;
    ClockReading now;
    bool json = false;
};

/// Options of `quenmar-cli cast`.
const std::set<std::string>& castValueOptions();
const std::set<std::string>& castFlagOptions();

/// Turns parsed options into a cast, or the one-line message of the first problem.
std::variant<CastInvocation, ArgsError> castInvocation(const Args& args);

/// Reads "YYYY-MM-DD HH:MM:SS[.mmm]" as a local moment.
std::optional<double> parseMomentText(const std::string& text);

/// The clock reading for --moment (when given) or the system clock.
std::optional<ClockReading> clockFor(const Args& args);

/// quenmar-cli cast ...: prints the chart; exit 0, or 2 with one line on `err`.
int runCastCommand(const std::vector<std::string>& words, std::ostream& out, std::ostream& err);

} // namespace quenmar::cli
