#pragma once

#include <string>

// The one shape of a failure of this layer: what went wrong in a transfer or a child process,
// with the library's or the system's own words for it. The layers above wrap it in their own
// messages; `errorText` is the one place that turns it into text.
namespace quenmar::support {

enum class SupportFailure {
    TransferFailed,    // an HTTP transfer did not complete: connection, TLS, time or size limit, cancel
    FileNotWritten,    // a download's file could not be created or written
    ProgramNotStarted, // a child process could not be started
    ProgramTimedOut,   // it ran past its time limit and was killed
    ProgramCrashed,    // it ended by a signal rather than with an exit status
};

struct SupportError {
    SupportFailure failure = SupportFailure::TransferFailed;
    std::string detail; // the library's or the system's words, when it had any
};

/// The error in plain words: its detail, or a fixed text for its kind when it has none.
std::string errorText(const SupportError& error);

} // namespace quenmar::support
