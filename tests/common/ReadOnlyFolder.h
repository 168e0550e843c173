#pragma once

#include <filesystem>

namespace quenmar::test {

/// Makes a folder refuse new files while it lives: permission bits for an ordinary user, the
/// immutable attribute for root (whom permission bits do not stop). `active()` is false when
/// neither works here.
class ReadOnlyFolder {
public:
    explicit ReadOnlyFolder(std::filesystem::path folder);
    ~ReadOnlyFolder();
    ReadOnlyFolder(const ReadOnlyFolder&) = delete;
    ReadOnlyFolder& operator=(const ReadOnlyFolder&) = delete;

    bool active() const { return m_mode != Mode::None; }

private:
    enum class Mode { None, Permissions, Immutable };
    std::filesystem::path m_folder;
    Mode m_mode = Mode::None;
};

} // namespace quenmar::test
