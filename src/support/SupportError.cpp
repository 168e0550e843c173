#include "support/SupportError.h"

namespace quenmar::support {

std::string errorText(const SupportError& error) {
    if (!error.detail.empty()) {
        return error.detail;
    }
    switch (error.failure) {
    case SupportFailure::TransferFailed:
        return "transfer failed";
    case SupportFailure::FileNotWritten:
        return "cannot write the downloaded file";
    case SupportFailure::ProgramNotStarted:
        return "the program could not be started";
    case SupportFailure::ProgramTimedOut:
        return "the program ran past its time limit";
    case SupportFailure::ProgramCrashed:
        return "the program ended abnormally";
    }
    return "failed";
}

} // namespace quenmar::support
