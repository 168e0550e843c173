#include "CliRunner.h"

#include "Files.h"
#include "Programs.h"

namespace quenmar::testing {

std::string binDir() {
    return test::binFolder().string();
}

CliResult runCli(const std::vector<std::string>& args, const std::map<std::string, std::string>& env,
                 const std::string& program) {
    std::vector<std::string> argv{program};
    argv.insert(argv.end(), args.begin(), args.end());
    test::ProgramRun run = program.empty() ? test::runCli(args, env) : test::runProgram(argv, env);
    return {run.exitCode, std::move(run.out), std::move(run.err)};
}

} // namespace quenmar::testing
