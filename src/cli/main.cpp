// quenmar-cli: the chart, the report and the suggested numbers on a terminal or as JSON.
#include "cli/Args.h"
#include "cli/CommandLine.h"
#include "cli/ErrorLine.h"

#include <exception>
#include <iostream>
#include <string>
#include <vector>

int main(int argc, char** argv) {
    try {
        return quenmar::cli::runCommandLine(std::vector<std::string>(argv + 1, argv + argc), std::cout,
                                            std::cerr);
    } catch (const std::exception& e) {
        return quenmar::cli::reportError(std::cerr, std::string("运行时异常: ") + e.what(),
                                         quenmar::cli::kExitFailed);
    } catch (...) {
        return quenmar::cli::reportError(std::cerr, "运行时异常", quenmar::cli::kExitFailed);
    }
}
