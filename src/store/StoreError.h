#pragma once

#include "base/Result.h"

#include <string_view>

// The one shape of a failure of the store, and the one place that words it for the user.
namespace quenmar::store {

enum class StoreError {
    OpenFailed,      // SQLite refused to open or create the database file
    StatementFailed, // no connection, a statement that did not prepare (a missing table) or run
    NoSuchRow,       // an update found no row with the record's id
};

/// What the status bar and quenmar-cli say after a save: "保存成功", or "保存失败" whatever
/// kept the record from being written.
std::string_view saveMessage(const Result<void, StoreError>& saved);

} // namespace quenmar::store
