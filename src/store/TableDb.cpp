// The one place that includes SQLite: its result codes become StepResult, StoreError and
// empty values here and nowhere else.
#include "store/TableDb.h"

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

} // namespace

// ---- Statement ----

Statement::Statement(Statement&& other) noexcept
    : m_handle(other.m_handle), m_bindFailed(other.m_bindFailed) {
    other.m_handle = nullptr;
}

Statement& Statement::operator=(Statement&& other) noexcept {
    if (this != &other) {
        finalize();
        m_handle = other.m_handle;
        m_bindFailed = other.m_bindFailed;
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
    if (m_handle == nullptr || m_bindFailed) {
        return StepResult::Error;
    }
    switch (sqlite3_step(m_handle)) {
    case SQLITE_ROW:
        return StepResult::Row;
    case SQLITE_DONE:
        return StepResult::Done;
    default:
        return StepResult::Error;
    }
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
        return Failure{StoreError::OpenFailed};
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
        return Statement();
    }
    sqlite3_stmt* handle = nullptr;
    if (sqlite3_prepare_v2(m_handle, sql.c_str(), -1, &handle, nullptr) != SQLITE_OK) {
        sqlite3_finalize(handle);
        return Statement();
    }
    return Statement(handle);
}

int TableDb::changes() const {
    return m_handle == nullptr ? 0 : sqlite3_changes(m_handle);
}

std::vector<ListRow> TableDb::listRows(std::string_view table, const ColumnList& columns) const {
    std::vector<ListRow> rows;
    Statement statement = prepare(buildStatement("select", table, columns, "", "_id DESC"));
    while (statement.step() == StepResult::Row) {
        const std::int64_t id = statement.columnInt64(0);
        if (id < INT_MIN || id > INT_MAX) {
            continue;
        }
        rows.push_back(ListRow{static_cast<int>(id), statement.columnText(1)});
    }
    return rows;
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
