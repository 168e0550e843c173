#pragma once

#include "store/TableDb.h"

#include <memory>

namespace quenmar::cli {

/// The database of this installation, opened (and on first use created) as the desktop
/// program opens it at start-up.
std::unique_ptr<store::TableDb> openHistoryFile();

} // namespace quenmar::cli
