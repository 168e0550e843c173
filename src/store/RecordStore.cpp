#include "store/RecordStore.h"

namespace quenmar::store {

namespace {

// The statement texts of the calculation record, fixed since the first version.
constexpr const char* kInsertSql =
    "INSERT INTO wnx_table (ysname,ysindex,ysnumber,ysday,gzsxid,upstr,downstr,dong,rot,"
    "uinfo) VALUES (?,?,?,?,?,?,?,?,?,?);";
constexpr const char* kUpdateSql =
    "UPDATE wnx_table SET ysname=?,ysindex=?,ysnumber=?,ysday=?,gzsxid=?,upstr=?,"
    "downstr=?,dong=?,rot=?,uinfo=? WHERE _id=?;";
constexpr const char* kLoadSql =
    "SELECT _id,ysname,ysindex,ysnumber,ysday,gzsxid,upstr,downstr,dong,rot,uinfo FROM wnx_table Where "
    "_id=?;";
constexpr const char* kDeleteSql = "DELETE FROM wnx_table WHERE _id=?;";

} // namespace

Result<void, StoreError> saveRecord(const TableDb& db, const YsModel& model) {
    const bool insert = model._id < 1;
    Statement statement = db.prepare(insert ? kInsertSql : kUpdateSql);
    statement.bindText(1, model.ysname);
    statement.bindInt(2, model.ysindex);
    statement.bindText(3, model.ysnumber);
    statement.bindDouble(4, model.ysday);
    statement.bindInt(5, model.gzsxid);
    statement.bindText(6, model.upstr);
    statement.bindText(7, model.downstr);
    statement.bindText(8, formatMovingFlags(model.dong));
    statement.bindInt(9, model.rot);
    statement.bindText(10, model.uinfo);
    if (!insert) {
        statement.bindInt(11, model._id);
    }
    if (statement.step() != StepResult::Done) {
        return Failure{StoreError::StatementFailed};
    }
    // An update that found no row saved nothing, and must not say it did.
    if (!insert && db.changes() == 0) {
        return Failure{StoreError::NoSuchRow};
    }
    return {};
}

const ColumnList& recordColumns() {
    static const ColumnList columns{"_id",   "ysname",  "ysindex", "ysnumber", "ysday", "gzsxid",
                                    "upstr", "downstr", "dong",    "rot",      "uinfo"};
    return columns;
}

Result<std::vector<ListRow>, StoreError> listRecords(const TableDb& db) {
    // The list reads two columns, but a table that lacks any of the others cannot be
    // reviewed either: it is damaged, and listing it as if it were sound would hide that.
    if (auto checked = db.checkColumns(kRecordTable, recordColumns()); !checked) {
        return Failure{checked.error()};
    }
    auto rows = db.listRows(kRecordTable, {"_id", "ysname"});
    if (rows) {
        // A row edited in by hand with an id below 1 could be neither loaded nor deleted.
        std::erase_if(*rows, [](const ListRow& row) { return row.id < 1; });
    }
    return rows;
}

Result<std::optional<YsModel>, StoreError> loadRecord(const TableDb& db, int id) {
    if (auto checked = db.checkColumns(kRecordTable, recordColumns()); !checked) {
        return Failure{checked.error()};
    }
    if (id < 1) {
        return std::optional<YsModel>();
    }
    Statement statement = db.prepare(kLoadSql);
    statement.bindInt(1, id);
    const StepResult step = statement.step();
    if (step == StepResult::Error) {
        return Failure{statement.error()};
    }
    if (step != StepResult::Row) {
        return std::optional<YsModel>();
    }
    YsModel model;
    model._id = statement.columnInt(0);
    model.ysname = statement.columnText(1);
    model.ysindex = statement.columnInt(2);
    model.ysnumber = statement.columnText(3);
    model.ysday = statement.columnDouble(4);
    model.gzsxid = statement.columnInt(5);
    model.upstr = statement.columnText(6);
    model.downstr = statement.columnText(7);
    parseMovingFlags(statement.columnText(8), model.dong);
    model.rot = statement.columnInt(9);
    model.uinfo = statement.columnText(10);
    return std::optional(std::move(model));
}

Result<std::vector<int>, StoreError> deleteRecords(const TableDb& db, const std::vector<int>& ids) {
    if (auto checked = db.checkColumns(kRecordTable, recordColumns()); !checked) {
        return Failure{checked.error()};
    }
    // One transaction: one write of the file instead of one per row (1,999 rows in
    // milliseconds rather than seconds), and never half of a selection deleted.
    std::vector<int> deleted;
    const auto done = db.inTransaction([&]() -> Result<void, StoreError> {
        Statement statement = db.prepare(kDeleteSql);
        for (const int id : ids) {
            if (id < 1) {
                continue;
            }
            statement.reset();
            statement.bindInt(1, id);
            if (statement.step() != StepResult::Done) {
                return Failure{statement.error()};
            }
            if (db.changes() > 0) {
                deleted.push_back(id);
            }
        }
        return {};
    });
    if (!done) {
        // The file could be read; what failed is the deletion (a read-only or full disk, a
        // writer that holds the file past the busy wait).
        return Failure{StoreError::StatementFailed};
    }
    return deleted;
}

Result<void, StoreError> deleteRecord(const TableDb& db, int id) {
    const auto deleted = deleteRecords(db, {id});
    if (!deleted) {
        return Failure{deleted.error()};
    }
    return {};
}

} // namespace quenmar::store
