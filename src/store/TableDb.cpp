// The one place that includes SQLite: its result codes become StepResult, StoreError and
// empty values here and nowhere else.
#include "store/TableDb.h"

#include <algorithm>
#include <atomic>
#include <climits>
#include <sqlite3.h>
#include <system_error>

namespace quenmar::store {

namespace {

// Connections open in this process. SQLite's global resources are released when the last
// one closes; releasing them earlier would pull them from under a connection still in use.
std::atomic<int> g_openConnections{0};

std::string utf8Path(const std::filesystem::path& path) {
    const std::u8string text = path.u8string();
    return std::string(text.begin(), text.end());
}

// What a failed prepare or step tells of the file. A lock held past the busy wait is not an
// empty history, nor is a file SQLite cannot read as a database.
StoreError errorOf(int code) {
    switch (code & 0xFF) { // the primary code of an extended one
    case SQLITE_BUSY:
    case SQLITE_LOCKED:
        return StoreError::Busy;
    case SQLITE_NOTADB:
    case SQLITE_CORRUPT:
    case SQLITE_CANTOPEN: // a folder where the file should be
        return StoreError::NotADatabase;
    default:
        return StoreError::StatementFailed;
    }
}

} // namespace

// ---- Statement ----

Statement::Statement(Statement&& other) noexcept
    : m_handle(other.m_handle), m_bindFailed(other.m_bindFailed), m_error(other.m_error) {
    other.m_handle = nullptr;
}

Statement& Statement::operator=(Statement&& other) noexcept {
    if (this != &other) {
        finalize();
        m_handle = other.m_handle;
        m_bindFailed = other.m_bindFailed;
        m_error = other.m_error;
        other.m_handle = nullptr;
    }
    return *this;
}

Statement::~Statement() {
    finalize();
}

void Statement::finalize() {
    if (m_handle != nullptr) {
        sqlite3_finalize(m_handle);
        m_handle = nullptr;
    }
}

void Statement::bindInt(int position, int value) {
    if (m_handle == nullptr || sqlite3_bind_int(m_handle, position, value) != SQLITE_OK) {
        m_bindFailed = true;
    }
}

void Statement::bindDouble(int position, double value) {
    if (m_handle == nullptr || sqlite3_bind_double(m_handle, position, value) != SQLITE_OK) {
        m_bindFailed = true;
    }
}

void Statement::bindText(int position, std::string_view text) {
    // A null data pointer would bind NULL, which the NOT NULL columns refuse; an empty text
    // must stay an empty text.
    static const char kEmpty[] = "";
    const char* data = text.empty() ? kEmpty : text.data();
    if (m_handle == nullptr || text.size() > static_cast<std::size_t>(INT_MAX) ||
        sqlite3_bind_text(m_handle, position, data, static_cast<int>(text.size()), SQLITE_TRANSIENT) !=
            SQLITE_OK) {
        m_bindFailed = true;
    }
}

StepResult Statement::step() {
    if (m_handle == nullptr) {
        return StepResult::Error;
    }
    if (m_bindFailed) {
        m_error = StoreError::StatementFailed;
        return StepResult::Error;
    }
    const int code = sqlite3_step(m_handle);
    switch (code) {
    case SQLITE_ROW:
        return StepResult::Row;
    case SQLITE_DONE:
        return StepResult::Done;
    default:
        m_error = errorOf(code);
        return StepResult::Error;
    }
}

void Statement::reset() {
    if (m_handle != nullptr) {
        sqlite3_reset(m_handle);
        sqlite3_clear_bindings(m_handle);
    }
    m_bindFailed = false;
}

int Statement::columnInt(int index) const {
    return m_handle == nullptr ? 0 : sqlite3_column_int(m_handle, index);
}

std::int64_t Statement::columnInt64(int index) const {
    return m_handle == nullptr ? 0 : sqlite3_column_int64(m_handle, index);
}

double Statement::columnDouble(int index) const {
    return m_handle == nullptr ? 0.0 : sqlite3_column_double(m_handle, index);
}

std::string Statement::columnText(int index) const {
    if (m_handle == nullptr) {
        return {};
    }
    const unsigned char* text = sqlite3_column_text(m_handle, index);
    if (text == nullptr) {
        return {};
    }
    // The byte count, not the first NUL: a text edited in by hand may hold one.
    const int bytes = sqlite3_column_bytes(m_handle, index);
    return std::string(reinterpret_cast<const char*>(text), static_cast<std::size_t>(bytes));
}

// ---- TableDb ----

TableDb::TableDb(const std::filesystem::path& dataRoot) {
    const std::filesystem::path folder = dataRoot / "src" / "data";
    std::error_code error;
    if (!std::filesystem::is_directory(folder, error)) {
        std::filesystem::create_directories(folder, error); // a failure shows in the open below
    }
    m_dbPath = folder / "wnx.db";
    const auto opened = openDatabase(m_dbPath);
    if (!opened) {
        return; // silent: every later statement fails, and a save says so
    }
    // A file of no bytes holds no database yet: it is what an earlier first start leaves
    // when it was stopped between creating the file and creating the table. Creating the
    // table there loses nothing, whereas leaving it would make every later save fail.
    error.clear();
    const bool empty = *opened == OpenedFile::Existing && std::filesystem::is_regular_file(m_dbPath, error) &&
                       std::filesystem::file_size(m_dbPath, error) == 0 && !error;
    if (*opened == OpenedFile::Created || empty) {
        createTables();
    }
}

TableDb::~TableDb() {
    close();
}

Result<OpenedFile, StoreError> TableDb::openDatabase(const std::filesystem::path& path) {
    std::error_code error;
    const bool exists = std::filesystem::exists(path, error);
    const int flags = exists ? SQLITE_OPEN_READWRITE : SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE;
    sqlite3* handle = nullptr;
    const int rc = sqlite3_open_v2(utf8Path(path).c_str(), &handle, flags, nullptr);
    if (rc != SQLITE_OK) {
        // SQLite hands out a connection object even when the open fails; it must be closed.
        sqlite3_close_v2(handle);
        m_openError =
            std::filesystem::is_directory(path, error) ? StoreError::NotADatabase : StoreError::OpenFailed;
        return Failure{m_openError};
    }
    sqlite3_busy_timeout(handle, kBusyTimeoutMs);
    ++g_openConnections; // counted before the old one closes, so SQLite stays initialised
    close();
    m_handle = handle;
    return exists ? OpenedFile::Existing : OpenedFile::Created;
}

std::string TableDb::calculationTableStatement() {
    // The declared types are kept word for word, "VARHCAR(18)" included: SQLite stores
    // this text in every file's schema, and files written by every version must match.
    const ColumnList columns{
        columnDefinition("_id", "integer primary key autoincrement", ""),
        columnDefinition("ysname", "VARCHAR(255) NOT NULL", ""),
        columnDefinition("ysindex", "INT(4)", "0"),
        columnDefinition("ysnumber", "VARCHAR(32) NOT NULL", ""),
        columnDefinition("ysday", "DOUBLE", "0"),
        columnDefinition("gzsxid", "INT(4)", "0"),
        columnDefinition("upstr", "VARCHAR(3)", "null"),
        columnDefinition("downstr", "VARCHAR(3)", "null"),
        columnDefinition("dong", "VARHCAR(18) NOT NULL", ""),
        columnDefinition("rot", "INT(1)", "0"),
        columnDefinition("uinfo", "TEXT", "null"),
    };
    return createTableStatement("wnx_table", columns, std::nullopt);
}

void TableDb::createTables() {
    const std::vector<std::string> statements{calculationTableStatement()};
    for (const std::string& sql : statements) {
        char* message = nullptr;
        sqlite3_exec(m_handle, sql.c_str(), nullptr, nullptr, &message);
        // Nothing to show it to: a failed CREATE surfaces as failing saves.
        sqlite3_free(message);
    }
}

Statement TableDb::prepare(const std::string& sql) const {
    if (m_handle == nullptr) {
        return Statement(m_openError);
    }
    sqlite3_stmt* handle = nullptr;
    const int code = sqlite3_prepare_v2(m_handle, sql.c_str(), -1, &handle, nullptr);
    if (code != SQLITE_OK) {
        sqlite3_finalize(handle);
        return Statement(errorOf(code));
    }
    return Statement(handle);
}

int TableDb::changes() const {
    return m_handle == nullptr ? 0 : sqlite3_changes(m_handle);
}

Result<std::vector<ListRow>, StoreError> TableDb::listRows(std::string_view table,
                                                           const ColumnList& columns) const {
    std::vector<ListRow> rows;
    Statement statement = prepare(buildStatement("select", table, columns, "", "_id DESC"));
    StepResult step = statement.step();
    for (; step == StepResult::Row; step = statement.step()) {
        const std::int64_t id = statement.columnInt64(0);
        if (id < INT_MIN || id > INT_MAX) {
            continue;
        }
        rows.push_back(ListRow{static_cast<int>(id), statement.columnText(1)});
    }
    if (step == StepResult::Error) {
        return Failure{statement.error()};
    }
    return rows;
}

Result<void, StoreError> TableDb::checkColumns(std::string_view table, const ColumnList& columns) const {
    Statement statement = prepare("SELECT name FROM pragma_table_info(?);");
    statement.bindText(1, table);
    std::vector<std::string> present;
    StepResult step = statement.step();
    for (; step == StepResult::Row; step = statement.step()) {
        present.push_back(statement.columnText(0));
    }
    if (step == StepResult::Error) {
        return Failure{statement.error()};
    }
    if (present.empty()) {
        return Failure{StoreError::MissingTable};
    }
    for (const std::string& column : columns) {
        if (std::find(present.begin(), present.end(), column) == present.end()) {
            return Failure{StoreError::MissingColumn};
        }
    }
    return {};
}

Result<void, StoreError> TableDb::inTransaction(const std::function<Result<void, StoreError>()>& work) const {
    // IMMEDIATE takes the write lock now (within the busy wait), so that no other writer can
    // come between the statements of the work and make the commit fail half way.
    Statement begin = prepare("BEGIN IMMEDIATE;");
    if (begin.step() != StepResult::Done) {
        return Failure{begin.error()};
    }
    Result<void, StoreError> result = work();
    if (result) {
        Statement commit = prepare("COMMIT;");
        if (commit.step() == StepResult::Done) {
            return result;
        }
        result = Failure{commit.error()};
    }
    // A failed COMMIT leaves the transaction open; ROLLBACK ends it either way.
    prepare("ROLLBACK;").step();
    return result;
}

void TableDb::close() {
    if (m_handle == nullptr) {
        return;
    }
    sqlite3_close_v2(m_handle);
    m_handle = nullptr;
    if (--g_openConnections == 0) {
        sqlite3_shutdown();
    }
}

} // namespace quenmar::store
