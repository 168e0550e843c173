#pragma once

#include "store/TableDb.h"
#include "store/YsModel.h"

#include <vector>

// The four operations on saved calculations that the history panel, the main window and
// quenmar-cli call. A write that fails says so with a StoreError; a read that finds nothing
// gives its empty value (an empty list, a record whose id is 0), as its callers compare ids.
namespace quenmar::store {

inline constexpr const char* kRecordTable = "wnx_table";

/// Inserts a record whose `_id` is below 1, otherwise rewrites the row with that id. Fails
/// with StatementFailed on any failure of the statement (no connection, no table, a read-only
/// or full disk, a locked file), and with NoSuchRow for an update whose row no longer exists.
/// The new row id of an insert is not read back.
Result<void, StoreError> saveRecord(const TableDb& db, const YsModel& model);

/// Ids and titles of all records, newest (highest id) first; empty when the table cannot
/// be read.
std::vector<ListRow> listRecords(const TableDb& db);

/// The record with that id, or a fresh record (id 0) when there is none or it cannot be
/// read: callers compare the returned `_id` with the one they asked for.
YsModel loadRecord(const TableDb& db, int id);

/// Deletes the row with that id. Succeeds when the statement ran, also when no row had that
/// id; StatementFailed when it could not run.
Result<void, StoreError> deleteRecord(const TableDb& db, int id);

} // namespace quenmar::store
