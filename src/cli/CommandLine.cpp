#include "cli/CommandLine.h"

#include "base/Utf8.h"
#include "base/Version.h"
#include "cli/CastCommand.h"
#include "cli/CheckCommand.h"
#include "cli/DrawsCommand.h"
#include "cli/ErrorLine.h"
#include "cli/HistoryCommand.h"
#include "cli/KeptDrawsCommand.h"
#include "cli/UpdateCommand.h"

#include <CLI/CLI.hpp>
#include <algorithm>
#include <memory>
#include <optional>
#include <ostream>
#include <string>
#include <string_view>
#include <vector>

namespace quenmar::cli {

namespace {

struct OptionSpec {
    std::string_view name;      // "--method"
    std::string_view valueName; // how the help shows its value; empty for a flag
    std::string_view help;
};

struct CommandSpec {
    std::string_view path; // the words that name the command: "cast", "history show"
    std::string_view summary;
    std::vector<OptionSpec> options;
    std::string_view operands; // how the help shows the words after the options: "ID", "FILE"
    std::string_view operandsHelp;
    CommandRunner run = nullptr; // null for a group that only holds subcommands
    // A group's messages when no subcommand or an unknown word ("{}") follows it.
    std::string_view missingSubcommand = {};
    std::string_view unknownSubcommand = {};
};

constexpr std::string_view kJson = "--json";
constexpr std::string_view kMomentHelp = "the local time that stands for now (default: the clock)";
constexpr std::string_view kMomentValue = "\"YYYY-MM-DD HH:MM:SS[.mmm]\"";
constexpr std::string_view kCodeValue = "100..106";

const std::vector<CommandSpec>& commandTable() {
    static const std::vector<CommandSpec> table{
        {"cast",
         "Casts a hexagram: the chart, the report, the suggested numbers.",
         {{"--method", "number|hand|ms", "the casting method (or 1, 2, 3)"},
          {"--zodiac", "N", "the querent's zodiac animal, 1 (rat) to 12 (pig)"},
          {"--number", "TEXT", "the number, ASCII digits (number; ms: a reopened one)"},
          {"--lines", "DDDDDD", "hand: the lines from line 1 up, each 6, 7, 8 or 9"},
          {"--moment", kMomentValue, kMomentHelp},
          {"--time", "current|draw", "ms: the moment or the next draw (default: draw)"},
          {"--game", "CODE", "the lottery of --time draw, 100..106 (default: 100)"},
          {kJson, "", "print one JSON object instead of the text"},
          {"--save", "TITLE", "save the calculation under TITLE"},
          {"--notes", "TEXT", "the notes saved with --save"}},
         "",
         "",
         runCastCommand},
        {"history",
         "The saved calculations, shared with the desktop program.",
         {},
         "",
         "",
         nullptr,
         "缺少 history 子命令 (list、show、review、delete 或 check)",
         "未知的 history 子命令: {} (应为 list、show、review、delete 或 check)"},
        {"history list",
         "Lists the saved calculations, newest first.",
         {{kJson, "", "print them as JSON"}},
         "",
         "",
         runHistoryList},
        {"history show",
         "Prints the columns of one saved calculation.",
         {{kJson, "", "print them as JSON"}},
         "ID",
         "the id of the record",
         runHistoryShow},
        {"history review",
         "Computes a saved calculation again.",
         {{"--moment", kMomentValue, "now, for a calculation by number (default: the clock)"},
          {kJson, "", "print the chart as JSON, as cast --json does"}},
         "ID",
         "the id of the record",
         runHistoryReview},
        {"history delete",
         "Deletes saved calculations.",
         {},
         "ID...",
         "the ids of the records",
         runHistoryDelete},
        {"history check",
         "对奖: checks saved calculations against the kept 快乐8 draws.",
         {{kJson, "", "print the checks and the summary as JSON"}},
         "[ID...]",
         "the ids of the records (default: all)",
         runHistoryCheck},
        {"draws",
         "Fetches the latest draw of a lottery; its subcommands work on the kept draws.",
         {{"--code", kCodeValue, "the lottery (default: 100, 快乐8)"},
          {"--url", "URL", "read the draw from this page instead"},
          {kJson, "", "print the draw as JSON"}},
         "",
         "",
         runDrawsCommand},
        {"draws import",
         "Keeps the draws of a CSV file, or none of them.",
         {},
         "FILE",
         "a CSV file: code,issue,date,numbers",
         runDrawsImport},
        {"draws export",
         "Writes the kept draws as CSV.",
         {{"--code", kCodeValue, "only the draws of this lottery"}},
         "",
         "",
         runDrawsExport},
        {"draws list",
         "Lists the kept draws, newest first.",
         {{"--code", kCodeValue, "only the draws of this lottery"}, {kJson, "", "print them as JSON"}},
         "",
         "",
         runDrawsList},
        {"update",
         "The publisher's tools for the update index.",
         {},
         "",
         "",
         nullptr,
         "update 的子命令应为 check 或 publish",
         "update 的子命令应为 check 或 publish"},
        {"update check",
         "Reads an update index and shows what the program would.",
         {{"--index-url", "URL", "the address of the index (default: the program's own)"},
          {"--public-key", "FILE", "the update public key, PEM (default: the program's own)"},
          {"--ca-file", "FILE", "further trust anchors for the update server, PEM"},
          {"--download", "DIR", "also fetch the installer there and check it"},
          {kJson, "", "print the result as JSON"}},
         "",
         "",
         runUpdateCheck},
        {"update publish",
         "Prints the update index for an installer.",
         {{"--private-key", "FILE", "the update private key, PEM (required)"},
          {"--url", "URL", "the installer's download address (required)"},
          {"--installer", "FILE", "the installer (required)"},
          {"--ver", "N", "the release number, above 0 (required)"},
          {"--verns", "TEXT", "the version name, such as V1.0.1 (required)"},
          {"--day", "TEXT", "the release date (required)"},
          {"--body", "TEXT", "the release notes (required)"},
          {"--name", "TEXT", "the product name in the index"}},
         "",
         "",
         runUpdatePublish},
    };
    return table;
}

// CLI11's help with a usage line of our own: it names the operands as the table spells them,
// never the words a command without operands collects, and COMMAND or SUBCOMMAND as the level
// asks.
class HelpFormatter : public CLI::Formatter {
public:
    std::string make_help(const CLI::App* app, std::string name, CLI::AppFormatMode mode) const override {
        std::string help = make_description(app) + make_usage(app, name) + make_positionals(app);
        if (const auto options = app->get_options(isOption); !options.empty()) {
            help += make_group(get_label("Options"), false, options);
        }
        help += make_subcommands(app, mode);
        return app->get_footer().empty() ? help : help + "\n" + make_footer(app);
    }

    std::string make_usage(const CLI::App* app, std::string name) const override {
        std::string usage = get_label("Usage") + ": " + name;
        if (!app->get_options(isOption).empty()) {
            usage += " [OPTIONS]";
        }
        for (const CLI::Option* operands : app->get_options(isShownOperand)) {
            usage += " " + operands->get_name();
        }
        if (!app->get_subcommands({}).empty()) {
            usage += app->get_parent() == nullptr            ? " COMMAND"
                     : app->get_require_subcommand_min() > 0 ? " SUBCOMMAND"
                                                             : " [SUBCOMMAND]";
        }
        return usage + "\n";
    }

    std::string make_option_opts(const CLI::Option* option) const override {
        return option->get_positional() ? std::string() : CLI::Formatter::make_option_opts(option);
    }

private:
    static bool isOption(const CLI::Option* option) { return option->nonpositional(); }
    static bool isShownOperand(const CLI::Option* option) {
        return option->get_positional() && !option->get_group().empty();
    }
};

/// One command of the table as CLI11 holds it.
struct Node {
    const CommandSpec* spec = nullptr;
    CLI::App* app = nullptr;
    CLI::Option* operands = nullptr; // every word after the options, in order
};

/// The grammar as a CLI11 tree. Every command keeps what it does not know (allow_extras), so
/// that this file, not CLI11, says what is wrong with it; a group takes at most one subcommand,
/// so that a word after a command's subcommand is that subcommand's operand ("draws import
/// list" imports the file "list").
class Grammar {
public:
    Grammar() {
        m_root.name("quenmar-cli");
        m_root.description("Hexagram charts, reports and suggested numbers on a terminal, as text or JSON.");
        m_root.footer("Run \"quenmar-cli COMMAND --help\" for the options of a command.");
        m_root.set_help_flag("-h,--help", "print this help and exit");
        m_root.set_version_flag("--version", "quenmar-cli " + std::string(kVersionName),
                                "print the version and exit");
        auto formatter = std::make_shared<HelpFormatter>();
        formatter->column_width(30);
        formatter->label("Positionals", "Arguments");
        m_root.formatter(formatter);
        m_root.allow_extras();
        m_root.require_subcommand(0, 1);
        for (const CommandSpec& spec : commandTable()) {
            const auto space = spec.path.rfind(' ');
            CLI::App* parent =
                space == std::string_view::npos ? &m_root : node(spec.path.substr(0, space))->app;
            Node added{&spec, parent->add_subcommand(std::string(spec.path.substr(space + 1)),
                                                     std::string(spec.summary))};
            added.app->allow_extras();
            // A group needs its subcommand (asked for in our words below); any command takes one
            // at most.
            added.app->require_subcommand(spec.run == nullptr ? 1 : 0, 1);
            added.app->group(parent == &m_root ? "Commands" : "Subcommands");
            added.app->footer("");
            for (const OptionSpec& option : spec.options) {
                const std::string name(option.name);
                const std::string help(option.help);
                if (option.valueName.empty()) {
                    // "--json=1" names no option of ours: the flag takes no value.
                    added.app->add_flag(name, help)->disable_flag_override();
                } else {
                    added.app->add_option(name, help)
                        ->type_name(std::string(option.valueName))
                        ->multi_option_policy(CLI::MultiOptionPolicy::TakeLast); // a later repetition wins
                }
            }
            if (spec.run != nullptr) {
                // A command without operands still collects the words, to name the first one as
                // extra; its help does not show them. CLI11 lets a command keep the words after
                // "--" only while it still waits for operands: this one always does, and takes
                // all there are.
                const std::string name = spec.operands.empty() ? "WORDS" : std::string(spec.operands);
                const std::string help(spec.operandsHelp);
                added.operands = added.app->add_option(name, help)
                                     ->expected(CLI::detail::expected_max_vector_size, -1)
                                     ->multi_option_policy(CLI::MultiOptionPolicy::TakeAll)
                                     ->type_name("");
                if (spec.operands.empty()) {
                    added.operands->group("");
                }
            }
            if (parent != &m_root) {
                parent->footer("Run \"quenmar-cli " + std::string(spec.path.substr(0, space)) +
                               " SUBCOMMAND --help\" for the options of a subcommand.");
            }
            m_nodes.push_back(added);
        }
    }

    CLI::App& root() { return m_root; }

    const Node* node(std::string_view path) const {
        const auto it =
            std::find_if(m_nodes.begin(), m_nodes.end(), [&](const Node& n) { return n.spec->path == path; });
        return it == m_nodes.end() ? nullptr : &*it;
    }

    const Node* node(const CLI::App* app) const {
        const auto it =
            std::find_if(m_nodes.begin(), m_nodes.end(), [&](const Node& n) { return n.app == app; });
        return it == m_nodes.end() ? nullptr : &*it;
    }

private:
    CLI::App m_root;
    std::vector<Node> m_nodes;
};

Failure<ArgsError> fail(std::string message) {
    return Failure{ArgsError{std::move(message)}};
}

// The name of an option word: "--x=1" is the option "--x".
std::string optionName(const std::string& word) {
    return word.substr(0, word.find('='));
}

bool isFlagName(std::string_view name) {
    for (const CommandSpec& spec : commandTable()) {
        for (const OptionSpec& option : spec.options) {
            if (option.name == name && option.valueName.empty()) {
                return true;
            }
        }
    }
    return false;
}

// CLI11 stops at a value given to a flag ("--json=1") and at an option without its value, which
// can only be the last word; its exception does not say which, the words do.
std::string mismatchMessage(const std::vector<std::string>& words) {
    for (const std::string& word : words) {
        if (word.compare(0, 2, "--") == 0 && word.find('=') != std::string::npos &&
            isFlagName(optionName(word))) {
            return "未知选项: " + optionName(word);
        }
    }
    return "选项 " + optionName(words.back()) + " 缺少取值";
}

// What a command's own words say wrong before it runs: a word that is not UTF-8 (no message
// may echo it), then an option it does not know.
std::optional<std::string> wordsProblem(const Node& node) {
    std::vector<std::string> all = node.app->remaining();
    for (const CLI::Option* option : node.app->get_options()) {
        all.insert(all.end(), option->results().begin(), option->results().end());
    }
    if (!std::all_of(all.begin(), all.end(), [](const std::string& w) { return utf8::isValid(w); })) {
        return "参数不是有效的UTF-8文本";
    }
    // What a command keeps of its words besides its operands are the options it does not know,
    // and the "--" that ends the options.
    for (const std::string& word : node.app->remaining()) {
        if (word != "--") {
            return "未知选项: " + optionName(word);
        }
    }
    return std::nullopt;
}

Args argsOf(const Node& node) {
    Args args;
    for (const OptionSpec& spec : node.spec->options) {
        const CLI::Option* option = node.app->get_option(std::string(spec.name));
        if (option->count() == 0) {
            continue;
        }
        const std::string name(spec.name.substr(2));
        if (spec.valueName.empty()) {
            args.flags.insert(name);
        } else {
            args.values[name] = option->results().back();
        }
    }
    args.positional = node.operands->results();
    return args;
}

// Walks from the root to the command the words name, refusing words that belong to none.
Result<Invocation, ArgsError> invocationOf(const Grammar& grammar, const CLI::App& root) {
    if (!root.remaining().empty() || root.get_subcommands().empty()) {
        return fail("未知命令 (见 quenmar-cli --help)");
    }
    const Node* node = grammar.node(root.get_subcommands().front());
    for (;;) {
        const std::vector<CLI::App*> subcommands = node->app->get_subcommands();
        const CommandSpec& spec = *node->spec;
        if (spec.run == nullptr) {
            const auto unknown = node->app->remaining();
            if (subcommands.empty() || !unknown.empty()) {
                std::string message(unknown.empty() ? spec.missingSubcommand : spec.unknownSubcommand);
                if (const auto at = message.find("{}"); at != std::string::npos) {
                    message.replace(at, 2, unknown.front());
                }
                return fail(message);
            }
        } else {
            if (const auto problem = wordsProblem(*node)) {
                return fail(*problem);
            }
            if (subcommands.empty()) {
                return Invocation{spec.run, argsOf(*node), {}};
            }
            // "draws --json list": the options of draws do not reach its subcommand.
            const Args own = argsOf(*node);
            if (!own.positional.empty() || !own.values.empty() || !own.flags.empty()) {
                return fail("多余的参数: " + (own.positional.empty() ? subcommands.front()->get_name()
                                                                     : own.positional.front()));
            }
        }
        node = grammar.node(subcommands.front());
    }
}

} // namespace

Result<Invocation, ArgsError> parseCommandLine(const std::vector<std::string>& words) {
    try {
        Grammar grammar;
        std::vector<std::string> reversed(words.rbegin(), words.rend()); // CLI11 takes them from the back
        try {
            grammar.root().parse(reversed);
        } catch (const CLI::CallForHelp&) {
            // The help of the command named before --help, or the program's.
            return Invocation{nullptr, {}, grammar.root().help()};
        } catch (const CLI::CallForVersion& version) {
            return Invocation{nullptr, {}, std::string(version.what()) + "\n"};
        } catch (const CLI::ArgumentMismatch&) {
            return fail(mismatchMessage(words));
        } catch (const CLI::RequiredError&) {
            // A group without its subcommand: said below, with the word that stood there.
        }
        return invocationOf(grammar, grammar.root());
    } catch (const CLI::Error&) {
        // The grammar above gives CLI11 nothing else to complain of; should it still, the
        // user reads our words, not its.
        return fail("无法读取命令行 (见 quenmar-cli --help)");
    }
}

int runCommandLine(const std::vector<std::string>& words, std::ostream& out, std::ostream& err) {
    if (words.empty()) {
        err << parseCommandLine({"--help"})->text;
        return kExitBadInput;
    }
    const auto invocation = parseCommandLine(words);
    if (!invocation) {
        return reportError(err, invocation.error().message, kExitBadInput);
    }
    if (invocation->run == nullptr) {
        out << invocation->text;
        return kExitOk;
    }
    return invocation->run(invocation->args, out, err);
}

} // namespace quenmar::cli
