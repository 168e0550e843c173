#include "Files.h"
#include "Programs.h"
#include "base/Version.h"

#include <cstdlib>
#include <gtest/gtest.h>
#include <map>
#include <set>
#include <sstream>

// quenmar-cli explains itself, and its parser refuses in our words.
namespace quenmar::test {
namespace {

using Words = std::vector<std::string>;

// The options the bash completion offers each command ("cast", "history show"), read from its
// table: the help and the completion must not drift apart.
std::map<std::string, std::set<std::string>> completionTable() {
    const char* file = std::getenv("QUENMAR_COMPLETION");
    const auto script = readFile(file != nullptr ? file : "");
    EXPECT_TRUE(script) << "QUENMAR_COMPLETION names the completion script";
    std::map<std::string, std::set<std::string>> table;
    std::istringstream lines(script.value_or(""));
    bool inTable = false;
    for (std::string line; std::getline(lines, line);) {
        inTable = (inTable || line.rfind("_quenmar_cli_options()", 0) == 0) &&
                  line.find("esac") == std::string::npos;
        const auto close = line.find(')');
        if (!inTable || close == std::string::npos || line.find(";;") == std::string::npos) {
            continue;
        }
        std::set<std::string> options;
        if (const auto echo = line.find("echo \""); echo != std::string::npos) {
            std::istringstream words(line.substr(echo + 6, line.rfind('"') - echo - 6));
            for (std::string word; words >> word;) {
                options.insert(word);
            }
        }
        std::istringstream patterns(line.substr(0, close));
        for (std::string pattern; std::getline(patterns, pattern, '|');) {
            const auto first = pattern.find_first_not_of(" \"");
            const auto last = pattern.find_last_not_of(" \"");
            table[pattern.substr(first, last - first + 1)] = options;
        }
    }
    return table;
}

// The long options a help text lists, one a line ("  -h,--help  ...").
std::set<std::string> listedOptions(const std::string& help) {
    std::set<std::string> options;
    std::istringstream lines(help);
    for (std::string line; std::getline(lines, line);) {
        std::istringstream names(line.rfind("  -", 0) == 0 ? line.substr(0, line.find(' ', 2)) : "");
        for (std::string name; std::getline(names, name, ',');) {
            if (name.rfind("  ", 0) == 0) {
                name.erase(0, 2);
            }
            if (name.rfind("--", 0) == 0) {
                options.insert(name);
            }
        }
    }
    return options;
}

Words split(const std::string& command) {
    std::istringstream in(command);
    Words words;
    for (std::string word; in >> word;) {
        words.push_back(word);
    }
    return words;
}

TEST(CommandLine, EveryCommandsHelpGoesToStandardOutputAndListsWhatItsCompletionOffers) {
    const auto table = completionTable();
    ASSERT_EQ(table.size(), 14u); // every command and group: a new one brings its completion line

    for (const auto& [command, options] : table) {
        Words words = split(command);
        words.push_back("--help");
        const ProgramRun help = runCli(words);
        EXPECT_EQ(help.exitCode, 0) << command;
        EXPECT_EQ(help.err, "") << command;
        EXPECT_NE(help.out.find("Usage: quenmar-cli " + command + " "), std::string::npos) << help.out;
        EXPECT_EQ(listedOptions(help.out), options) << command;
        // The command is listed, with its line, in the help of the one above it.
        words.erase(words.end() - 2, words.end());
        words.push_back("-h");
        const std::string above = runCli(words).out;
        EXPECT_NE(above.find("\n  " + split(command).back() + " "), std::string::npos) << above;
    }
}

TEST(CommandLine, VersionIsTheProgramsVersionName) {
    const ProgramRun version = runCli({"--version"});
    EXPECT_EQ(version.exitCode, 0);
    EXPECT_EQ(version.out, "quenmar-cli " + std::string(kVersionName) + "\n");
    EXPECT_EQ(version.err, "");
}

struct UsageError {
    Words args;
    std::string message;
};

class CommandLineRefuses : public ::testing::TestWithParam<UsageError> {};

TEST_P(CommandLineRefuses, WithOneLineOfOurOwnAndStatusTwo) {
    const ProgramRun r = runCli(GetParam().args);
    EXPECT_EQ(r.exitCode, 2);
    EXPECT_EQ(r.out, "");
    EXPECT_EQ(r.err, "quenmar-cli: " + GetParam().message + "\n");
}

const Words kCast{"cast", "--method", "number", "--number", "38", "--zodiac", "1"};

Words operator+(Words a, const Words& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

INSTANTIATE_TEST_SUITE_P(
    ParserRules, CommandLineRefuses,
    ::testing::Values(
        // The later of two values wins, wherever the options stand.
        UsageError{kCast + Words{"--zodiac", "13"}, "卦主生肖应为1到12之间的整数 (子鼠为1)"},
        // A value is the next word, even one that looks like an option.
        UsageError{kCast + Words{"--notes", "--help"}, "--notes 只能与 --save 一起使用"},
        UsageError{kCast + Words{"--json=1"}, "未知选项: --json"},
        UsageError{kCast + Words{"-x"}, "未知选项: -x"},
        UsageError{kCast + Words{"--version"}, "未知选项: --version"},
        UsageError{kCast + Words{"--", "--json"}, "多余的参数: --json"},
        UsageError{{"draws", "--json", "list"}, "多余的参数: list"},
        UsageError{{"history", "--json", "list"},
                   "未知的 history 子命令: --json (应为 list、show、review、delete 或 check)"},
        UsageError{{"history", "review", "1", "--moment"}, "选项 --moment 缺少取值"},
        UsageError{{"-x", "cast"}, "未知命令 (见 quenmar-cli --help)"}));

} // namespace
} // namespace quenmar::test
