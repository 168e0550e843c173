#pragma once

#include <filesystem>
#include <memory>
#include <string>

namespace quenmar::store {
class TableDb;
}

// History databases that cannot be read, the way users' files break: for the store's own
// tests and for the programs that must say so rather than show an empty history.
namespace quenmar::test {

enum class HistoryDamage {
    Garbage,       // bytes that are no database
    Truncated,     // a database cut off after its first kilobytes
    Folder,        // a folder where the file should be
    MissingColumn, // a calculation table without its "uinfo" column
    MissingTable,  // a database without the calculation table
};

/// Writes the history database beneath `dataRoot` ("src/data/wnx.db") with that damage.
/// Where a database is left at all, it holds rows first, so that nothing is "empty".
void writeBrokenHistory(const std::filesystem::path& dataRoot, HistoryDamage damage);

/// The history database beneath `dataRoot`, with three saved records.
void writeHistory(const std::filesystem::path& dataRoot, int records = 3);

/// Holds the write lock of the history database beneath `dataRoot` as another program would
/// during a long write, until it goes away: readers wait, then give up.
class HistoryLock {
public:
    explicit HistoryLock(const std::filesystem::path& dataRoot);
    ~HistoryLock();
    HistoryLock(const HistoryLock&) = delete;
    HistoryLock& operator=(const HistoryLock&) = delete;

    bool held() const { return m_held; }
    void release();

private:
    std::unique_ptr<store::TableDb> m_db;
    bool m_held = false;
};

} // namespace quenmar::test
