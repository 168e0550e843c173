#pragma once

#include "store/TableDb.h"
#include "store/YsModel.h"

#include <optional>
#include <vector>

// The operations on saved calculations that the history panel, the main window and
// quenmar-cli call. Whatever keeps the history from being read or written (a lock held by
// another process past the busy wait, a file that is no database, a calculation table
// without one of its columns) is a StoreError, never an empty list or a missing record.
namespace quenmar::store {

inline constexpr const char* kRecordTable = "wnx_table";

/// The columns of the calculation table, in their order; a table without one of them is
/// not read from.
const ColumnList& recordColumns();

/// Inserts a record whose `_id` is below 1, otherwise rewrites the row with that id. Fails
/// with StatementFailed on any failure of the statement (no connection, no table, a read-only
/// or full disk, a locked file), and with NoSuchRow for an update whose row no longer exists.
/// The new row id of an insert is not read back.
Result<void, StoreError> saveRecord(const TableDb& db, const YsModel& model);

/// Ids and titles of all records, newest (highest id) first (rows whose id is below 1 are
/// no record and left out); why not when the table cannot be read.
Result<std::vector<ListRow>, StoreError> listRecords(const TableDb& db);

/// The record with that id; nothing when there is none. Ids below 1 are never a stored
/// record's (a record that was never saved has id 0), so they find nothing.
Result<std::optional<YsModel>, StoreError> loadRecord(const TableDb& db, int id);

/// Deletes the rows with these ids in one transaction: all of them, or none when any
/// statement fails. Gives the ids that had a row, in the order given (an id named twice
/// once); the others, and ids below 1, are passed over. A history that cannot be read fails with the reason,
/// as listRecords does; a deletion that fails after that with StatementFailed.
Result<std::vector<int>, StoreError> deleteRecords(const TableDb& db, const std::vector<int>& ids);

/// Deletes the row with that id. Succeeds also when no row had that id.
Result<void, StoreError> deleteRecord(const TableDb& db, int id);

} // namespace quenmar::store
