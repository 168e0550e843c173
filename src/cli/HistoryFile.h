#pragma once

#include "store/TableDb.h"

#include <memory>
#include <string_view>

namespace quenmar::cli {

/// The database of this installation, opened (and on first use created) as the desktop
/// program opens it at start-up.
std::unique_ptr<store::TableDb> openHistoryFile();

/// The record id a word names: a positive decimal number that fits an int. Any other word
/// (0, a negative number, text) names no record, which is what the store says of id 0.
int recordId(std::string_view word);

} // namespace quenmar::cli
