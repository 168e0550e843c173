// The history store on a real file: one save (an autocommit insert, synced to the disk as
// every save of the program is) and the listing that fills the history list, both on a
// database that already holds 100,000 records.
#include "engine/Moment.h"
#include "store/RecordStore.h"

#include <benchmark/benchmark.h>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>

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
        m_db->prepare("BEGIN;").step();
        for (int i = 0; i < kRows; ++i) {
            if (!saveRecord(*m_db, sampleRecord(i))) {
                std::abort();
            }
        }
        m_db->prepare("COMMIT;").step();
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
        if (rows.size() < static_cast<std::size_t>(kRows)) {
            state.SkipWithError("the database lost rows");
            break;
        }
        benchmark::DoNotOptimize(rows.data());
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

} // namespace
