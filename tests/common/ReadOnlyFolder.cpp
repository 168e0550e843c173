#include "ReadOnlyFolder.h"

#include <fcntl.h>
#include <linux/fs.h>
#include <sys/ioctl.h>
#include <unistd.h>

namespace quenmar::test {

namespace {

bool setImmutable(const std::filesystem::path& folder, bool on) {
    const int fd = open(folder.c_str(), O_RDONLY | O_DIRECTORY);
    if (fd < 0) {
        return false;
    }
    int flags = 0;
    bool ok = ioctl(fd, FS_IOC_GETFLAGS, &flags) == 0;
    if (ok) {
        flags = on ? (flags | FS_IMMUTABLE_FL) : (flags & ~FS_IMMUTABLE_FL);
        ok = ioctl(fd, FS_IOC_SETFLAGS, &flags) == 0;
    }
    close(fd);
    return ok;
}

} // namespace

ReadOnlyFolder::ReadOnlyFolder(std::filesystem::path folder) : m_folder(std::move(folder)) {
    if (geteuid() != 0) {
        std::error_code error;
        std::filesystem::permissions(m_folder,
                                     std::filesystem::perms::owner_read | std::filesystem::perms::owner_exec,
                                     std::filesystem::perm_options::replace, error);
        m_mode = error ? Mode::None : Mode::Permissions;
    } else if (setImmutable(m_folder, true)) {
        m_mode = Mode::Immutable;
    }
}

ReadOnlyFolder::~ReadOnlyFolder() {
    if (m_mode == Mode::Immutable) {
        setImmutable(m_folder, false);
    } else if (m_mode == Mode::Permissions) {
        std::error_code error;
        std::filesystem::permissions(m_folder, std::filesystem::perms::owner_all,
                                     std::filesystem::perm_options::replace, error);
    }
}

} // namespace quenmar::test
