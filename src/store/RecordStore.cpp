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

Result<std::vector<ListRow>, StoreError> readRecordList(const TableDb& db) {
    // The list reads two columns, but a table that lacks any of the others cannot be
    // reviewed either: it is damaged, and listing it as if it were sound would hide that.
    if (auto checked = db.checkColumns(kRecordTable, recordColumns()); !checked) {
        return Failure{checked.error()};
    }
    return db.listRows(kRecordTable, {"_id", "ysname"});
}

Result<std::optional<YsModel>, StoreError> readRecord(const TableDb& db, int id) {
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

Result<void, StoreError> deleteRecords(const TableDb& db, const std::vector<int>& ids) {
    if (auto checked = db.checkColumns(kRecordTable, recordColumns()); !checked) {
        return Failure{checked.error()};
    }
    // One transaction: one write of the file instead of one per row (1,999 rows in
    // milliseconds rather than seconds), and never half of a selection deleted.
    return db.inTransaction([&]() -> Result<void, StoreError> {
        Statement statement = db.prepare(kDeleteSql);
        for (const int id : ids) {
            statement.reset();
            statement.bindInt(1, id);
            if (statement.step() != StepResult::Done) {
                return Failure{statement.error()};
            }
        }
        return {};
    });
}

std::vector<ListRow> listRecords(const TableDb& db) {
    auto rows = readRecordList(db);
    return rows ? std::move(rows).value() : std::vector<ListRow>();
}

YsModel loadRecord(const TableDb& db, int id) {
    auto model = readRecord(db, id);
    return model && model->has_value() ? **model : YsModel{};
}

Result<void, StoreError> deleteRecord(const TableDb& db, int id) {
    return deleteRecords(db, {id});
}

} // namespace quenmar::store
