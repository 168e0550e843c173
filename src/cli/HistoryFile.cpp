#include "cli/HistoryFile.h"

#include "support/ProgramPaths.h"

namespace quenmar::cli {

std::unique_ptr<store::TableDb> openHistoryFile() {
    const auto root = support::dataRoot();
    return root ? std::make_unique<store::TableDb>(*root) : std::make_unique<store::TableDb>();
}

} // namespace quenmar::cli
