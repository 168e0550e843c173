#pragma once

#include <filesystem>
#include <string>

namespace quenmar::test {

/// A fresh folder below the system's temporary folder, removed with everything in it (read-only
/// parts included) when the object goes away. The path is empty in the unlikely case that no
/// folder could be made.
class TempFolder {
public:
    TempFolder();
    ~TempFolder();
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    const std::filesystem::path& path() const { return m_path; }
    /// The path of `name` inside the folder, as text.
    std::string file(const std::string& name) const { return (m_path / name).string(); }

private:
    std::filesystem::path m_path;
};

} // namespace quenmar::test
