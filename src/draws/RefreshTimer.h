#pragma once

// The refresh timer's rule as a value: it repeats while no draw has arrived and stops at the
// first one. The window's own timer follows it through RefreshOutcome::stopTimer.
namespace quenmar::draws {

/// The refresh timer's interval while no draw has arrived yet.
inline constexpr int kRefreshIntervalMs = 3000;

/// Running with its interval until a refresh stops it.
struct RefreshTimer {
    int intervalMs = kRefreshIntervalMs;

    bool running() const { return intervalMs > 0; }
    /// `stopTimer` of a refresh's outcome.
    void apply(bool stopTimer) {
        if (stopTimer) {
            intervalMs = 0;
        }
    }
};

} // namespace quenmar::draws
