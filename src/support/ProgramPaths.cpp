#include "support/ProgramPaths.h"

#include <algorithm>
#include <cstdlib>
#include <string>
#include <system_error>

#ifdef _WIN32
#include <io.h>
#include <windows.h>
#else
#include <fcntl.h>
#include <pwd.h>
#include <unistd.h>
#include <vector>
#endif

namespace quenmar::support {

namespace {

std::optional<std::filesystem::path> environmentFolder(const char* name) {
#ifdef _WIN32
    std::wstring wideName(name, name + std::char_traits<char>::length(name));
    const wchar_t* value = _wgetenv(wideName.c_str());
#else
    const char* value = std::getenv(name);
#endif
    if (value == nullptr || *value == 0) {
        return std::nullopt;
    }
    return std::filesystem::path(value);
}

// QUENMAR_HOME made absolute, so that a later change of the working folder cannot move it.
std::optional<std::filesystem::path> homeOverride() {
    auto home = environmentFolder(kHomeVariable);
    if (!home) {
        return std::nullopt;
    }
    std::error_code error;
    std::filesystem::path absolute = std::filesystem::absolute(*home, error);
    return error ? *home : absolute;
}

#ifndef _WIN32
std::optional<std::filesystem::path> homeFolder() {
    if (auto home = environmentFolder("HOME")) {
        return home;
    }
    // A service started without HOME still has a home in the password database.
    std::vector<char> buffer(16384);
    passwd entry{};
    passwd* found = nullptr;
    if (getpwuid_r(geteuid(), &entry, buffer.data(), buffer.size(), &found) != 0 || found == nullptr ||
        found->pw_dir == nullptr || *found->pw_dir == 0) {
        return std::nullopt;
    }
    return std::filesystem::path(found->pw_dir);
}
#endif

} // namespace

std::optional<std::filesystem::path> programFolder() {
#ifdef _WIN32
    std::wstring buffer(32768, L'\0');
    const DWORD length = GetModuleFileNameW(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
    if (length == 0 || length >= buffer.size()) {
        return std::nullopt;
    }
    buffer.resize(length);
    return std::filesystem::path(buffer).parent_path();
#else
    std::error_code error;
    const std::filesystem::path executable = std::filesystem::read_symlink("/proc/self/exe", error);
    if (error || executable.empty() || !executable.has_parent_path()) {
        return std::nullopt;
    }
    return executable.parent_path();
#endif
}

std::optional<std::filesystem::path> userDataFolder() {
#ifdef _WIN32
    return environmentFolder("APPDATA");
#else
    // A relative XDG_DATA_HOME is invalid by the XDG rules and is ignored.
    if (auto xdg = environmentFolder("XDG_DATA_HOME"); xdg && xdg->is_absolute()) {
        return xdg;
    }
    if (auto home = homeFolder()) {
        return *home / ".local" / "share";
    }
    return std::nullopt;
#endif
}

bool isWritableFolder(const std::filesystem::path& folder) {
    std::error_code error;
    if (!std::filesystem::is_directory(folder, error)) {
        return false;
    }
#ifdef _WIN32
    return _waccess(folder.c_str(), 2) == 0;
#else
    // Effective ids, as the later writes will use them; write and search are both needed to
    // create files inside.
    return faccessat(AT_FDCWD, folder.c_str(), W_OK | X_OK, AT_EACCESS) == 0;
#endif
}

bool isUserProgramFolder(const std::filesystem::path& folder) {
#ifndef _WIN32
    const std::filesystem::path system = "/usr";
    const std::filesystem::path normal = folder.lexically_normal();
    if (std::mismatch(system.begin(), system.end(), normal.begin(), normal.end()).first == system.end()) {
        return false;
    }
#endif
    return isWritableFolder(folder);
}

std::optional<std::filesystem::path> chooseDataRoot(const std::optional<std::filesystem::path>& program,
                                                    const std::optional<std::filesystem::path>& userData) {
    if (program && isUserProgramFolder(*program)) {
        return program;
    }
    if (userData) {
        return *userData / kAppFolderName;
    }
    return std::nullopt;
}

std::optional<std::filesystem::path> dataRoot() {
    if (auto home = homeOverride()) {
        return home;
    }
    return chooseDataRoot(programFolder(), userDataFolder());
}

std::filesystem::path dataFolder(const std::filesystem::path& root) {
    return root / "src" / "data";
}

std::filesystem::path databasePath(const std::filesystem::path& root) {
    return dataFolder(root) / "wnx.db";
}

std::filesystem::path configPath(const std::filesystem::path& root) {
    return root / "config.ini";
}

std::optional<std::filesystem::path> lockFilePath() {
    std::optional<std::filesystem::path> base = homeOverride();
    if (!base) {
        base = userDataFolder();
    }
    if (!base) {
        return std::nullopt;
    }
    return *base / kAppFolderName / "wnx.zj";
}

} // namespace quenmar::support
