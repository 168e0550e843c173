// The history store on a real file: one save (an autocommit insert, synced to the disk as
// every save of the program is), the listing that fills the history list, and the delete of
// 1,999 ticked records, all on a database that already holds 100,000 records.
#include "engine/Moment.h"
#include "store/RecordStore.h"

#include <benchmark/benchmark.h>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

namespace {

using namespace quenmar;
using namespace quenmar::store;

constexpr int kRows = 100'000;

YsModel sampleRecord(int i) {
    YsModel model;
    model.ysindex = 1 + i % 3;
    model.ysnumber = std::to_string(1700000000000LL + i * 104729LL);
    model.ysday = momentFromDateTime(DateTime{2024, 1 + i % 12, 1 + i % 28, i % 24, i % 60, 0, 0});
    model.ysname = recordTitle("记录" + std::to_string(i), model.ysday);
    model.gzsxid = 1 + i % 12;
    model.upstr = "101";
    model.downstr = "010";
    model.dong = {0, 0, 1, 0, -1, 0};
    model.rot = 1 + i % 2;
    model.uinfo = "备注";
    return model;
}

// One database of 100,000 records in a temporary folder, built once and removed at exit.
class BenchDatabase {
public:
    BenchDatabase() {
        std::string pattern = (std::filesystem::temp_directory_path() / "quenmar-bench-XXXXXX").string();
        if (mkdtemp(pattern.data()) == nullptr) {
            std::abort();
        }
        m_root = pattern;
        m_db = std::make_unique<TableDb>(m_root);
        // Filled in one transaction: the set-up is not what is measured.
        if (!addRecords(kRows)) {
            std::abort();
        }
    }

    // Adds `count` records in one transaction; the id of the last one, 0 on failure.
    int addRecords(int count) const {
        const auto added = m_db->inTransaction([&]() -> Result<void, StoreError> {
            for (int i = 0; i < count; ++i) {
                if (auto saved = saveRecord(*m_db, sampleRecord(i)); !saved) {
                    return saved;
                }
            }
            return {};
        });
        Statement last = m_db->prepare("SELECT max(_id) FROM wnx_table;");
        return added && last.step() == StepResult::Row ? last.columnInt(0) : 0;
    }
    ~BenchDatabase() {
        m_db.reset();
        std::error_code error;
        std::filesystem::remove_all(m_root, error);
    }
    BenchDatabase(const BenchDatabase&) = delete;
    BenchDatabase& operator=(const BenchDatabase&) = delete;

    const TableDb& db() const { return *m_db; }

    static BenchDatabase& instance() {
        static BenchDatabase database;
        return database;
    }

private:
    std::filesystem::path m_root;
    std::unique_ptr<TableDb> m_db;
};

void BM_ListRecords(benchmark::State& state) {
    const TableDb& db = BenchDatabase::instance().db();
    for (auto _ : state) {
        const auto rows = listRecords(db);
        if (!rows || rows->size() < static_cast<std::size_t>(kRows)) {
            state.SkipWithError("the database lost rows");
            break;
        }
        benchmark::DoNotOptimize(rows->data());
    }
    state.SetItemsProcessed(state.iterations() * kRows);
}
BENCHMARK(BM_ListRecords)->Unit(benchmark::kMillisecond);

void BM_SaveRecord(benchmark::State& state) {
    const TableDb& db = BenchDatabase::instance().db();
    const YsModel record = sampleRecord(kRows);
    for (auto _ : state) {
        if (!saveRecord(db, record)) {
            state.SkipWithError("save failed");
            break;
        }
    }
}
BENCHMARK(BM_SaveRecord)->Unit(benchmark::kMillisecond);

// The desktop's delete of every ticked entry and `history delete` of many ids: one transaction.
void BM_DeleteManyRecords(benchmark::State& state) {
    constexpr int kTicked = 1999;
    const BenchDatabase& database = BenchDatabase::instance();
    for (auto _ : state) {
        state.PauseTiming();
        const int last = database.addRecords(kTicked);
        std::vector<int> ids;
        for (int id = last - kTicked + 1; id <= last; ++id) {
            ids.push_back(id);
        }
        state.ResumeTiming();
        const auto deleted = deleteRecords(database.db(), ids);
        if (!deleted || deleted->size() != ids.size()) {
            state.SkipWithError("delete failed");
            break;
        }
    }
    state.SetItemsProcessed(state.iterations() * kTicked);
}
BENCHMARK(BM_DeleteManyRecords)->Unit(benchmark::kMillisecond);

} // namespace
