#include "store/DrawStore.h"

#include "store/SqlBuilder.h"

namespace quenmar::store {

namespace {

constexpr const char* kInsertSql = "INSERT OR IGNORE INTO draw_table(code,issue,draw_date,main_numbers,"
                                   "extra_numbers,obtained_at,source) VALUES (?,?,?,?,?,?,?);";
constexpr const char* kTableExistsSql = "SELECT count(*) From sqlite_master WHERE type='table' AND name=?;";
// Issues of one lottery have the same number of digits, but a longer issue is a later one
// whatever its digits, so the length sorts first.
constexpr const char* kNewestFirst = "draw_date DESC,length(issue) DESC,issue DESC,code";

// The columns of a kept draw, in the order drawOfRow reads them.
const ColumnList& drawColumns() {
    static const ColumnList columns{"code",          "issue",       "draw_date", "main_numbers",
                                    "extra_numbers", "obtained_at", "source"};
    return columns;
}

KeptDraw drawOfRow(const Statement& statement) {
    KeptDraw draw;
    draw.code = statement.columnInt(0);
    draw.issue = statement.columnText(1);
    draw.date = statement.columnText(2);
    draw.mainNumbers = statement.columnText(3);
    draw.extraNumbers = statement.columnText(4);
    draw.obtainedAt = statement.columnDouble(5);
    draw.source = statement.columnText(6);
    return draw;
}

Result<void, StoreError> run(const TableDb& db, const std::string& sql) {
    Statement statement = db.prepare(sql);
    if (statement.step() != StepResult::Done) {
        return Failure{StoreError::StatementFailed};
    }
    return {};
}

Result<bool, StoreError> drawTableExists(const TableDb& db) {
    Statement statement = db.prepare(kTableExistsSql);
    statement.bindText(1, kDrawTable);
    if (statement.step() != StepResult::Row) {
        return Failure{StoreError::StatementFailed};
    }
    return statement.columnInt(0) > 0;
}

} // namespace

bool KeptDraw::sameDraw(const KeptDraw& other) const {
    return code == other.code && issue == other.issue && date == other.date &&
           mainNumbers == other.mainNumbers && extraNumbers == other.extraNumbers;
}

std::string drawTableStatement() {
    const ColumnList columns{
        columnDefinition("code", "INTEGER NOT NULL", ""),
        columnDefinition("issue", "TEXT NOT NULL", ""),
        columnDefinition("draw_date", "TEXT NOT NULL", ""),
        columnDefinition("main_numbers", "TEXT NOT NULL", ""),
        columnDefinition("extra_numbers", "TEXT NOT NULL", "''"),
        columnDefinition("obtained_at", "DOUBLE NOT NULL", ""),
        columnDefinition("source", "TEXT NOT NULL", "''"),
    };
    return createTableStatement(kDrawTable, columns, ColumnList{"code", "issue"});
}

Result<void, StoreError> inDrawTransaction(const TableDb& db,
                                           const std::function<Result<void, StoreError>()>& work) {
    // IMMEDIATE takes the write lock at once: a second program waits here (for the busy time)
    // instead of failing half way through.
    if (auto begun = run(db, "BEGIN IMMEDIATE;"); !begun) {
        return begun;
    }
    auto done = work();
    if (done) {
        done = run(db, "COMMIT;");
    }
    if (!done) {
        (void)run(db, "ROLLBACK;"); // a failed commit may have rolled back already
    }
    return done;
}

Result<void, StoreError> ensureDrawTable(const TableDb& db) {
    const auto exists = drawTableExists(db);
    if (!exists) {
        return Failure{exists.error()};
    }
    if (*exists) {
        return {};
    }
    return inDrawTransaction(db, [&db]() -> Result<void, StoreError> {
        // Another program may have created it between the look and the lock.
        const auto created = drawTableExists(db);
        if (!created) {
            return Failure{created.error()};
        }
        return *created ? Result<void, StoreError>() : run(db, drawTableStatement());
    });
}

Result<KeepResult, StoreError> keepDraw(const TableDb& db, const KeptDraw& draw) {
    Statement insert = db.prepare(kInsertSql);
    insert.bindInt(1, draw.code);
    insert.bindText(2, draw.issue);
    insert.bindText(3, draw.date);
    insert.bindText(4, draw.mainNumbers);
    insert.bindText(5, draw.extraNumbers);
    insert.bindDouble(6, draw.obtainedAt);
    insert.bindText(7, draw.source);
    if (insert.step() != StepResult::Done) {
        return Failure{StoreError::StatementFailed};
    }
    if (db.changes() > 0) {
        return KeepResult{KeepVerdict::Added, {}};
    }
    Statement find =
        db.prepare(buildStatement("select", kDrawTable, drawColumns(), "code=? AND issue=?", ""));
    find.bindInt(1, draw.code);
    find.bindText(2, draw.issue);
    if (find.step() != StepResult::Row) {
        return Failure{StoreError::StatementFailed};
    }
    KeptDraw kept = drawOfRow(find);
    const KeepVerdict verdict = kept.sameDraw(draw) ? KeepVerdict::AlreadyKept : KeepVerdict::Conflicts;
    return KeepResult{verdict, std::move(kept)};
}

Result<std::vector<KeptDraw>, StoreError> listDraws(const TableDb& db, std::optional<int> code) {
    if (auto ensured = ensureDrawTable(db); !ensured) {
        return Failure{ensured.error()};
    }
    Statement statement =
        db.prepare(buildStatement("select", kDrawTable, drawColumns(), code ? "code=?" : "", kNewestFirst));
    if (code) {
        statement.bindInt(1, *code);
    }
    std::vector<KeptDraw> draws;
    StepResult step = statement.step();
    for (; step == StepResult::Row; step = statement.step()) {
        draws.push_back(drawOfRow(statement));
    }
    if (step == StepResult::Error) {
        return Failure{StoreError::StatementFailed};
    }
    return draws;
}

} // namespace quenmar::store
