#include "BrokenHistory.h"

#include "Files.h"
#include "store/RecordStore.h"

namespace quenmar::test {

namespace {

std::filesystem::path historyFile(const std::filesystem::path& dataRoot) {
    return dataRoot / "src" / "data" / "wnx.db";
}

bool run(const store::TableDb& db, const std::string& sql) {
    return db.prepare(sql).step() == store::StepResult::Done;
}

} // namespace

void writeHistory(const std::filesystem::path& dataRoot, int records) {
    store::TableDb db(dataRoot);
    (void)db.inTransaction([&]() -> Result<void, store::StoreError> {
        for (int i = 1; i <= records; ++i) {
            store::YsModel model;
            model.ysname = "记录" + std::to_string(i);
            model.ysindex = 1;
            model.ysnumber = "123";
            model.ysday = 45415.5;
            model.gzsxid = 5;
            model.dong = {0, 0, 1, 0, 0, 0};
            model.rot = 1;
            if (auto saved = store::saveRecord(db, model); !saved) {
                return saved;
            }
        }
        return {};
    });
}

void writeBrokenHistory(const std::filesystem::path& dataRoot, HistoryDamage damage) {
    const std::filesystem::path file = historyFile(dataRoot);
    std::filesystem::create_directories(file.parent_path());
    switch (damage) {
    case HistoryDamage::Garbage:
        writeFile(file, std::string(8192, '\x5a'));
        break;
    case HistoryDamage::Truncated: {
        writeHistory(dataRoot, 40);
        const std::string bytes = readFile(file).value_or("");
        writeFile(file, bytes.substr(0, 4096));
        break;
    }
    case HistoryDamage::Folder:
        std::filesystem::create_directories(file);
        break;
    case HistoryDamage::MissingColumn: {
        // The table as an editor leaves it after dropping a column: every row still there.
        writeHistory(dataRoot);
        store::TableDb db(dataRoot);
        run(db, "ALTER TABLE wnx_table DROP COLUMN uinfo;");
        break;
    }
    case HistoryDamage::MissingTable: {
        writeHistory(dataRoot);
        store::TableDb db(dataRoot);
        run(db, "DROP TABLE wnx_table;");
        break;
    }
    }
}

HistoryLock::HistoryLock(const std::filesystem::path& dataRoot) : m_db(std::make_unique<store::TableDb>()) {
    m_held = m_db->openDatabase(historyFile(dataRoot)) && run(*m_db, "BEGIN EXCLUSIVE;");
}

HistoryLock::~HistoryLock() {
    release();
}

void HistoryLock::release() {
    if (m_held) {
        run(*m_db, "ROLLBACK;");
        m_held = false;
    }
}

} // namespace quenmar::test
