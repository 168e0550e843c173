#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

// The texts of the SQL statements the store runs. Table and column names and clauses come
// from the program itself, never from the user; values always travel as bound parameters
// ("?"), which these builders write in their place.
namespace quenmar::store {

using ColumnList = std::vector<std::string>;

/// "name type", followed by " DEFAULT value" only when a default is given. The type words
/// reach SQLite unchanged, so the file keeps whatever the caller wrote.
std::string columnDefinition(std::string_view name, std::string_view type, std::string_view defaultValue);

/// "CREATE TABLE table (definitions,UNIQUE (names));". An absent unique list writes no
/// UNIQUE clause, while a present but empty one writes ",UNIQUE ()"; no definitions leave
/// the parentheses out.
std::string createTableStatement(std::string_view table, const ColumnList& definitions,
                                 const std::optional<ColumnList>& uniqueColumns);

/// The generic statement builder. `kind` (any case) is "" (INSERT OR IGNORE), "INSERT",
/// "UPDATE", "DELETE" or "SELECT"; any other word writes only the tail. An absent column
/// list selects "*". `where` and `orderBy` are appended when not empty; ";" ends the text.
std::string buildStatement(std::string_view kind, std::string_view table,
                           const std::optional<ColumnList>& columns, std::string_view where,
                           std::string_view orderBy);

} // namespace quenmar::store
