#pragma once

#include "cli/Args.h"

#include <iosfwd>

// quenmar-cli update check|publish ...: the publisher's tools for the update index.
namespace quenmar::cli {

/// update check [--index-url URL] [--public-key FILE] [--ca-file FILE] [--download DIR] [--json]:
/// fetches the index (by default the program's own, with the program's key), decodes the
/// download address and shows what the update window would show; with --download it also
/// fetches the installer into DIR and checks its fingerprint. Exit 0 only when all of that
/// succeeds, 1 when any step fails, 2 for bad options.
int runUpdateCheck(const Args& args, std::ostream& out, std::ostream& err);

/// update publish --private-key FILE --url URL --installer FILE --ver N --verns TEXT --day TEXT
/// --body TEXT [--name TEXT]: prints the index JSON for the installer, its address encrypted
/// with the private key. Exit 0, or 2 for bad options, an unreadable file or an unusable key.
int runUpdatePublish(const Args& args, std::ostream& out, std::ostream& err);

} // namespace quenmar::cli
