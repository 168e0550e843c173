// Runs every QtTest class of the desktop program in one process.
#include "app/Resources.h"
#include "app/UiFont.h"

#include <QApplication>
#include <QTest>
#include <memory>
#include <vector>

std::vector<std::unique_ptr<QObject>> makeInputPanelTests();
std::vector<std::unique_ptr<QObject>> makeKeyboardTests();
std::vector<std::unique_ptr<QObject>> makeLineEntryTests();
std::vector<std::unique_ptr<QObject>> makeMainWinTests();
std::vector<std::unique_ptr<QObject>> makeMenuTests();
std::vector<std::unique_ptr<QObject>> makeRecordPanelTests();
std::vector<std::unique_ptr<QObject>> makeDrawsPanelTests();
std::vector<std::unique_ptr<QObject>> makeProcessTests();
std::vector<std::unique_ptr<QObject>> makeUpdateWinTests();
std::vector<std::unique_ptr<QObject>> makeDrawHistoryWinTests();
std::vector<std::unique_ptr<QObject>> makeExpertWinTests();

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    quenmar::app::initResources();
    quenmar::app::installCjkFallbacks();
    int failed = 0;
    for (auto make : {makeInputPanelTests, makeKeyboardTests, makeLineEntryTests, makeMainWinTests,
                      makeMenuTests, makeRecordPanelTests, makeDrawsPanelTests, makeProcessTests,
                      makeUpdateWinTests, makeExpertWinTests, makeDrawHistoryWinTests}) {
        for (auto& test : make()) {
            failed += QTest::qExec(test.get(), argc, argv);
        }
    }
    return failed == 0 ? 0 : 1;
}
