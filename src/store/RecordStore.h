#pragma once

#include "store/TableDb.h"
#include "store/YsModel.h"

#include <vector>

// The four operations on saved calculations that the history panel, the main window and
// quenmar-cli call. Failures come back as values: false, an empty list, or a record whose
// id is 0.
namespace quenmar::store {

inline constexpr const char* kRecordTable = "wnx_table";

/// Inserts a record whose `_id` is below 1, otherwise rewrites the row with that id. True
/// when the row was written; false on any failure (no connection, no table, a read-only or
/// full disk, a locked file), and for an update whose row no longer exists. The new row id
/// of an insert is not read back.
bool saveRecord(const TableDb& db, const YsModel& model);

/// Ids and titles of all records, newest (highest id) first; empty when the table cannot
/// be read.
std::vector<ListRow> listRecords(const TableDb& db);

/// The record with that id, or a fresh record (id 0) when there is none or it cannot be
/// read: callers compare the returned `_id` with the one they asked for.
YsModel loadRecord(const TableDb& db, int id);

/// Deletes the row with that id. True when the statement ran, also when no row had that
/// id; false when it could not run.
bool deleteRecord(const TableDb& db, int id);

} // namespace quenmar::store
