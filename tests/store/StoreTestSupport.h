#pragma once

#include <filesystem>
#include <map>
#include <optional>
#include <string>
#include <vector>

// Helpers shared by the store's tests: a temporary folder removed afterwards, whole-file
// reads and writes, a read-only folder that works even for root, and running a program
// with its output captured.
namespace quenmar::test {

class TempFolder {
public:
    TempFolder();
    ~TempFolder();
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    const std::filesystem::path& path() const { return m_path; }

private:
    std::filesystem::path m_path;
};

std::string readFile(const std::filesystem::path& path);
void writeFile(const std::filesystem::path& path, const std::string& bytes);

/// Makes a folder refuse new files while it lives: permission bits for an ordinary user,
/// the immutable attribute for root (whom permission bits do not stop). `active()` is
/// false when neither works here.
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

struct ProcessResult {
    int exitCode = -1; // -1 when the program did not end normally
    std::string out;
    std::string err;
};

/// Runs a program with the given arguments; `environment` entries are set (an empty value
/// removes the variable) on top of this process's environment.
ProcessResult runProcess(const std::filesystem::path& program, const std::vector<std::string>& args,
                         const std::map<std::string, std::string>& environment = {});

/// The folder of the built executables (QUENMAR_BIN_DIR).
std::filesystem::path binFolder();

/// The checked-in fixtures (QUENMAR_TEST_DATA).
std::filesystem::path testDataFolder();

} // namespace quenmar::test
