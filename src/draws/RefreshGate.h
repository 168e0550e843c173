#pragma once

#include <atomic>

namespace quenmar::draws {

/// At most one refresh in flight: a tick or a click that finds one running starts none.
/// tryBegin() on the UI thread before handing the refresh to a worker; finish() on the UI
/// thread after its outcome has been applied.
class RefreshGate {
public:
    bool tryBegin() { return !m_busy.exchange(true); }
    void finish() { m_busy.store(false); }
    bool busy() const { return m_busy.load(); }

private:
    std::atomic<bool> m_busy{false};
};

} // namespace quenmar::draws
