#pragma once

#include "base/Result.h"

#include <string>
#include <string_view>

// The one shape of a failure of the store, and the one place that words it for the user.
namespace quenmar::store {

enum class StoreError {
    OpenFailed,      // SQLite refused to open or create the database file; no connection
    Busy,            // another process kept the file locked for longer than the busy wait
    NotADatabase,    // the file is no SQLite database: garbage, truncated, damaged, a folder
    MissingTable,    // the file holds no calculation table
    MissingColumn,   // the calculation table lacks one of its columns
    StatementFailed, // any other failure of a statement (a read-only or full disk, ...)
    NoSuchRow,       // an update found no row with the record's id
};

/// What the status bar and quenmar-cli say after a save: "保存成功", or "保存失败" whatever
/// kept the record from being written.
std::string_view saveMessage(const Result<void, StoreError>& saved);

/// What the status bar and quenmar-cli say when records could be read but not deleted.
inline constexpr std::string_view kDeleteFailedText = "删除失败";

/// The reason in plain words: "数据库文件被另一个程序锁定", "文件不是数据库或已损坏", ...
std::string_view storeErrorText(StoreError error);

/// What the status bar and quenmar-cli say when the history cannot be read (listed, loaded or
/// deleted from): "历史记录无法读取: " and the reason, on one line.
std::string readErrorMessage(StoreError error);

} // namespace quenmar::store
