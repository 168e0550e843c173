// quenmar-app-bench: the desktop program's speed and memory, headless (offscreen).
//   BM_ProcessStartToMainWindow  a fresh process until the main window is built and shown
//   BM_BuildMainWindow           building the main window with its panels in a running program
//   BM_ComputeToPrediction       a click on "演算" until the prediction is in the results box
// The counter rss_MB of BM_BuildMainWindow is the resident memory with one main window up.
#include "app/MainPanel.h"
#include "app/MainWin.h"
#include "app/Resources.h"
#include "app/UiFont.h"
#include "app/panels/ChoicePicker.h"
#include "app/panels/InputPanel.h"
#include "app/panels/RecordPanel.h"
#include "engine/Moment.h"
#include "store/TableDb.h"

#include <QApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <fstream>
#include <spawn.h>
#include <string>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace {

using namespace quenmar;

draws::RefreshServices offline() {
    draws::RefreshServices services;
    services.isOnline = [] {
        return false;
    };
    services.fetchDraw = [](int) {
        return draws::DrawResult{};
    };
    return services;
}

struct Home {
    QTemporaryDir dir;
    store::TableDb db{dir.path().toStdString()};
    app::AppContext context;

    Home() {
        context.programFolder = dir.path().toStdString();
        context.dataRoot = dir.path().toStdString();
        context.configFile = dir.filePath(QStringLiteral("config.ini")).toStdString();
        context.db = &db;
        const double now = momentFromDateTime(DateTime{2022, 11, 7, 12, 0, 0, 0});
        context.clock = [now] {
            return ClockReading{now, -480};
        };
        context.showSplash = false;
        context.openHelpInViewer = false;
    }
};

double residentMegabytes() {
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line)) {
        if (line.rfind("VmRSS:", 0) == 0) {
            return std::stod(line.substr(6)) / 1024.0;
        }
    }
    return 0.0;
}

std::string binDir() {
    char path[4096];
    const ssize_t n = readlink("/proc/self/exe", path, sizeof path - 1);
    std::string exe(path, n > 0 ? static_cast<std::size_t>(n) : 0);
    return exe.substr(0, exe.rfind('/'));
}

void BM_ProcessStartToMainWindow(benchmark::State& state) {
    const std::string program = binDir() + "/quenmar-screenshot";
    for (auto _ : state) {
        std::string a0 = program, a1 = "/dev/null", a2 = "--window", a3 = "start";
        char* argv[] = {a0.data(), a1.data(), a2.data(), a3.data(), nullptr};
        pid_t pid = 0;
        if (posix_spawn(&pid, program.c_str(), nullptr, nullptr, argv, environ) != 0) {
            state.SkipWithError("quenmar-screenshot is not built beside the benchmark");
            return;
        }
        int status = 0;
        waitpid(pid, &status, 0);
    }
}
BENCHMARK(BM_ProcessStartToMainWindow)->Unit(benchmark::kMillisecond)->Iterations(10);

void BM_BuildMainWindow(benchmark::State& state) {
    Home home;
    for (auto _ : state) {
        app::MainWin window(home.context, offline());
        window.show();
        QApplication::processEvents();
        state.counters["rss_MB"] = residentMegabytes();
    }
}
BENCHMARK(BM_BuildMainWindow)->Unit(benchmark::kMillisecond);

void BM_ComputeToPrediction(benchmark::State& state) {
    Home home;
    app::MainWin window(home.context, offline());
    window.show();
    app::InputPanel* input = window.mainPanel()->inputPanel();
    input->methodPicker()->select(1);
    input->numberBox()->setText(QStringLiteral("1733542541123"));
    input->zodiacPicker()->select(5);
    for (auto _ : state) {
        input->computeButton()->click();
        benchmark::DoNotOptimize(window.mainPanel()->recordPanel()->resultText());
    }
}
BENCHMARK(BM_ComputeToPrediction)->Unit(benchmark::kMicrosecond);

} // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    app::initResources();
    app::installCjkFallbacks();
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
