#pragma once

#include <iosfwd>
#include <string_view>

namespace quenmar::cli {

/// Writes the one line of a failure on `err`: "quenmar-cli: " and the message, with every
/// control character in it escaped, so that a message echoing an argument, a page or an
/// index can neither break its line nor reach the terminal as a command. Gives `status`
/// back, for `return reportError(err, message, kExitFailed);`.
int reportError(std::ostream& err, std::string_view message, int status);

} // namespace quenmar::cli
