#include "support/OnlineCheck.h"

#include "support/Process.h"

namespace quenmar::support {

namespace {

// iputils ping: one request (-c 1), two seconds for the answer (-W 2), numeric (-n). Name
// resolution is not covered by -W, hence the child's own time limit on top.
constexpr const char* kPingWaitSeconds = "2";

} // namespace

OnlineCheckCommand pingCommand(const std::string& host) {
    return OnlineCheckCommand{"ping", {"-n", "-c", "1", "-W", kPingWaitSeconds, "--", host}, 5'000};
}

bool runOnlineCheck(const OnlineCheckCommand& command) {
    const auto status = runProcess(command.program, command.args, command.timeLimitMs);
    return status && *status == 0;
}

} // namespace quenmar::support
