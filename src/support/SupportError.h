#pragma once

#include <string>

// The one shape of a failure of this layer: what went wrong in a transfer or a child process,
// with the words for it chosen where the library's code becomes this value (HttpClient.cpp,
// Process.cpp). The layers above wrap `errorText` in their own messages.
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
    std::string detail; // in plain words: the library's or the system's own where it gave any
};

/// The error in plain words, as the layers above put it into their messages.
inline const std::string& errorText(const SupportError& error) {
    return error.detail;
}

} // namespace quenmar::support
