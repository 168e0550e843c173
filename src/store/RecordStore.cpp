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

std::vector<ListRow> listRecords(const TableDb& db) {
    return db.listRows(kRecordTable, {"_id", "ysname"});
}

YsModel loadRecord(const TableDb& db, int id) {
    YsModel model;
    Statement statement = db.prepare(kLoadSql);
    statement.bindInt(1, id);
    if (statement.step() != StepResult::Row) {
        return model;
    }
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
    return model;
}

Result<void, StoreError> deleteRecord(const TableDb& db, int id) {
    Statement statement = db.prepare(kDeleteSql);
    statement.bindInt(1, id);
    if (statement.step() != StepResult::Done) {
        return Failure{StoreError::StatementFailed};
    }
    return {};
}

} // namespace quenmar::store
