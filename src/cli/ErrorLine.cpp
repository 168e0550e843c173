#include "cli/ErrorLine.h"

#include "base/Utf8.h"

#include <ostream>

namespace quenmar::cli {

int reportError(std::ostream& err, std::string_view message, int status) {
    err << "quenmar-cli: " << utf8::escapeControls(message) << '\n';
    return status;
}

} // namespace quenmar::cli
