// quenmar-cli: the chart, the report and the suggested numbers on a terminal or as JSON.
#include "cli/Args.h"
#include "cli/CastCommand.h"
#include "cli/DrawsCommand.h"
#include "cli/ErrorLine.h"
#include "cli/HistoryCommand.h"
#include "cli/UpdateCommand.h"

#include <cstring>
#include <exception>
#include <functional>
#include <iostream>
#include <map>
#include <string>
#include <vector>

namespace {

using Command = std::function<int(const std::vector<std::string>&, std::ostream&, std::ostream&)>;

const char* const kUsage =
    "usage:\n"
    "  quenmar-cli cast --method number|hand|ms --zodiac N [--number TEXT] [--lines DDDDDD]\n"
    "                   [--moment \"YYYY-MM-DD HH:MM:SS[.mmm]\"] [--time current|draw] [--game CODE] "
    "[--json]\n"
    "                   [--save TITLE [--notes TEXT]]\n"
    "  quenmar-cli draws [--code 100..106] [--url URL] [--json]\n"
    "  quenmar-cli draws import FILE\n"
    "  quenmar-cli draws export [--code 100..106]\n"
    "  quenmar-cli draws list [--code 100..106] [--json]\n"
    "  quenmar-cli history list [--json]\n"
    "  quenmar-cli history show ID [--json]\n"
    "  quenmar-cli history review ID [--moment \"YYYY-MM-DD HH:MM:SS[.mmm]\"] [--json]\n"
    "  quenmar-cli history delete ID...\n"
    "  quenmar-cli history check [ID...] [--json]\n"
    "  quenmar-cli update check [--index-url URL] [--public-key FILE] [--ca-file FILE] [--download DIR] "
    "[--json]\n"
    "  quenmar-cli update publish --private-key FILE --url URL --installer FILE --ver N --verns TEXT\n"
    "                             --day TEXT --body TEXT [--name TEXT]\n";

const std::map<std::string, Command>& commands() {
    static const std::map<std::string, Command> table{
        {"cast", quenmar::cli::runCastCommand},
        {"draws", quenmar::cli::runDrawsCommand},
        {"history", quenmar::cli::runHistoryCommand},
        {"update", quenmar::cli::runUpdateCommand},
    };
    return table;
}

} // namespace

int main(int argc, char** argv) {
    try {
        if (argc < 2 || std::strcmp(argv[1], "--help") == 0 || std::strcmp(argv[1], "-h") == 0) {
            (argc < 2 ? std::cerr : std::cout) << kUsage;
            return argc < 2 ? quenmar::cli::kExitBadInput : quenmar::cli::kExitOk;
        }
        const auto it = commands().find(argv[1]);
        if (it == commands().end()) {
            return quenmar::cli::reportError(std::cerr, "未知命令 (见 quenmar-cli --help)",
                                             quenmar::cli::kExitBadInput);
        }
        const std::vector<std::string> words(argv + 2, argv + argc);
        return it->second(words, std::cout, std::cerr);
    } catch (const std::exception& e) {
        return quenmar::cli::reportError(std::cerr, std::string("运行时异常: ") + e.what(),
                                         quenmar::cli::kExitFailed);
    } catch (...) {
        return quenmar::cli::reportError(std::cerr, "运行时异常", quenmar::cli::kExitFailed);
    }
}
