#pragma once

#include <filesystem>
#include <optional>

// The single-instance lock: a file in the per-user data folder held with an operating-system
// lock for the whole run. The lock dies with the process, so a crash never leaves a stale
// lock behind that would keep the program from starting again.
namespace quenmar::support {

class InstanceLock {
public:
    /// Creates the file's folder when needed, opens the file and takes the lock. Nothing when
    /// another process holds it, or the file cannot be opened.
    static std::optional<InstanceLock> acquire(const std::filesystem::path& file);

    InstanceLock(InstanceLock&& other) noexcept;
    InstanceLock& operator=(InstanceLock&& other) noexcept;
    InstanceLock(const InstanceLock&) = delete;
    InstanceLock& operator=(const InstanceLock&) = delete;
    ~InstanceLock();

    /// Releases the lock now (the main window does this when it is destroyed).
    void release();

private:
    explicit InstanceLock(int fd) : m_fd(fd) {}
    int m_fd = -1;
};

} // namespace quenmar::support
