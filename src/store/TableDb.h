#pragma once

#include "base/Result.h"
#include "store/SqlBuilder.h"
#include "store/StoreError.h"

#include <cstdint>
#include <filesystem>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

// SQLite's own handle types, declared only so that the classes below can hold them; the
// library itself is included by TableDb.cpp alone.
struct sqlite3;
struct sqlite3_stmt;

namespace quenmar::store {

/// What one step of a statement gave.
enum class StepResult {
    Row,   // a row is ready to be read
    Done,  // the statement ran to its end
    Error, // it failed, or never was prepared
};

/// One prepared statement on the store's connection. Values are bound by 1-based position,
/// columns read by 0-based index. It is finalized when it goes out of scope, so no
/// statement outlives the operation that prepared it. A statement whose prepare failed
/// binds nothing, steps to `Error` and reads as 0 or empty text; `error` says why it failed.
class Statement {
public:
    Statement() = default;
    Statement(Statement&& other) noexcept;
    Statement& operator=(Statement&& other) noexcept;
    Statement(const Statement&) = delete;
    Statement& operator=(const Statement&) = delete;
    ~Statement();

    bool isPrepared() const { return m_handle != nullptr; }

    void bindInt(int position, int value);
    void bindDouble(int position, double value);
    /// UTF-8 text with its byte length; SQLite keeps its own copy.
    void bindText(int position, std::string_view text);

    /// Runs the statement to its next row. After any failed bind it refuses to run, so a
    /// row is never written with a value missing.
    StepResult step();

    /// Why the prepare or the last step failed (StatementFailed after a failed bind).
    StoreError error() const { return m_error; }

    /// Makes the statement ready to run again, with no values bound: one statement serves
    /// a series of rows.
    void reset();

    int columnInt(int index) const;
    std::int64_t columnInt64(int index) const;
    double columnDouble(int index) const;
    /// NULL reads as the empty text.
    std::string columnText(int index) const;

    /// Releases the statement now rather than at the end of the scope.
    void finalize();

private:
    friend class TableDb;
    explicit Statement(sqlite3_stmt* handle) : m_handle(handle) {}
    explicit Statement(StoreError error) : m_error(error) {}

    sqlite3_stmt* m_handle = nullptr;
    bool m_bindFailed = false;
    StoreError m_error = StoreError::OpenFailed;
};

/// What `openDatabase` found at the path.
enum class OpenedFile {
    Created,  // nothing was there: a new, empty database file
    Existing, // a file (or folder) of that name, opened as it is
};

/// One row of a two-column list query: the row id and its text.
struct ListRow {
    int id = 0;
    std::string text;

    bool operator==(const ListRow&) const = default;
};

/// The store's one connection to the history database. Construction finds or creates the
/// database beneath a data root; every statement of the program runs through it.
class TableDb {
public:
    /// How long a statement waits for another process (the desktop program and quenmar-cli
    /// share the file) to finish writing before it gives up with StoreError::Busy.
    static constexpr int kBusyTimeoutMs = 3000;

    /// No connection: every statement fails until `openDatabase` succeeds.
    TableDb() = default;

    /// The start-up steps: creates "src/data" beneath the data root with its parents, opens
    /// "src/data/wnx.db" or creates it, and creates the calculation table only in a file
    /// that was just created. Failures are silent; later statements then fail.
    explicit TableDb(const std::filesystem::path& dataRoot);

    ~TableDb();
    TableDb(const TableDb&) = delete;
    TableDb& operator=(const TableDb&) = delete;

    /// Full path of the database file chosen at construction (empty when default-built).
    const std::filesystem::path& dbPath() const { return m_dbPath; }

    /// Opens an existing file (or folder) of that name read-write, otherwise creates it;
    /// StoreError::OpenFailed when SQLite refuses, NotADatabase when a folder has the name. A
    /// previous connection is closed only after the new one opened.
    Result<OpenedFile, StoreError> openDatabase(const std::filesystem::path& path);

    /// Runs the CREATE statement of the calculation table. Errors are swallowed: a table
    /// that already exists stays as it is.
    void createTables();

    bool isOpen() const { return m_handle != nullptr; }

    /// Prepares one statement from its UTF-8 text; an unprepared statement when there is no
    /// connection or SQLite refuses the text (for instance a missing table), whose `error`
    /// says why.
    Statement prepare(const std::string& sql) const;

    /// Number of rows the last finished INSERT, UPDATE or DELETE changed.
    int changes() const;

    /// Runs "SELECT id,text From table ORDER BY _id DESC;" and returns its rows in the order
    /// they arrive: newest first. Rows whose id does not fit an int are left out, because
    /// no later operation could address them. A query that cannot run, or stops half way,
    /// gives the reason rather than the rows it read.
    Result<std::vector<ListRow>, StoreError> listRows(std::string_view table,
                                                      const ColumnList& columns) const;

    /// Succeeds when `table` exists with every one of `columns` (and perhaps more).
    /// MissingTable, MissingColumn, or why the schema could not be read (Busy, NotADatabase).
    Result<void, StoreError> checkColumns(std::string_view table, const ColumnList& columns) const;

    /// Runs `work` inside one write transaction: everything it does is kept when it succeeds
    /// and the transaction commits, and nothing when either fails. The transaction takes the
    /// write lock at its start, waiting for it as long as any statement does.
    Result<void, StoreError> inTransaction(const std::function<Result<void, StoreError>()>& work) const;

    /// Closes the connection; once no connection of the process is left, SQLite's own
    /// resources are released too.
    void close();

    /// The exact CREATE statement of the calculation table, built from its column
    /// definitions. Files written by every version carry this text in their schema.
    static std::string calculationTableStatement();

private:
    sqlite3* m_handle = nullptr;
    StoreError m_openError = StoreError::OpenFailed; // what statements fail with, unconnected
    std::filesystem::path m_dbPath;
};

} // namespace quenmar::store
