#pragma once

#include <filesystem>
#include <optional>

// Where the program's files live, decided in this one place so that the history database,
// the settings file and the lock file always agree, and the desktop program and
// quenmar-cli share one history.
//
// A portable copy keeps everything beside itself: "config.ini" in the program folder and
// the database in "src/data/wnx.db" beneath it. When the program folder is not the user's
// (a system-wide install), the same layout moves beneath the per-user data folder,
// "$XDG_DATA_HOME/Quenmar" (by default "~/.local/share/Quenmar"), so that every user has a
// history of their own.
//
// The environment variable QUENMAR_HOME, when set to a non-empty folder, overrides both:
// the settings file and the database go beneath it, and the lock file into its "Quenmar"
// subfolder. Tests use it to run against a folder of their own.
namespace quenmar::support {

inline constexpr const char* kHomeVariable = "QUENMAR_HOME";
inline constexpr const char* kAppFolderName = "Quenmar";

/// The folder of the running executable; nothing when the platform cannot tell.
std::optional<std::filesystem::path> programFolder();

/// The per-user data folder ($XDG_DATA_HOME, by default ~/.local/share; %APPDATA% on
/// Windows), without the program's own subfolder; nothing when it cannot be found.
std::optional<std::filesystem::path> userDataFolder();

/// True when the current user may create files in the folder. Asks the operating system
/// for the effective access, so a read-only mount or a folder owned by someone else
/// counts as not writable.
bool isWritableFolder(const std::filesystem::path& folder);

/// True when the program folder belongs to the user who runs it, so that the program may keep
/// its files there and an update may replace it: the user can write it, and it does not lie
/// beneath /usr, which is the package manager's. Even root, who can write there, keeps its
/// files elsewhere: a history inside /usr would outlive the package that put the program there.
bool isUserProgramFolder(const std::filesystem::path& folder);

/// The data root for the given folders: the program folder when it is the user's, otherwise
/// "Quenmar" beneath the per-user data folder; nothing when neither is known.
std::optional<std::filesystem::path>
chooseDataRoot(const std::optional<std::filesystem::path>& programFolder,
               const std::optional<std::filesystem::path>& userDataFolder);

/// The data root of this run: QUENMAR_HOME when set, else `chooseDataRoot` of the program
/// folder and the per-user data folder.
std::optional<std::filesystem::path> dataRoot();

/// "src/data" beneath a data root: the folder of the history database.
std::filesystem::path dataFolder(const std::filesystem::path& root);

/// "src/data/wnx.db" beneath a data root.
std::filesystem::path databasePath(const std::filesystem::path& root);

/// "config.ini" in a data root.
std::filesystem::path configPath(const std::filesystem::path& root);

/// The single-instance lock file "Quenmar/wnx.zj" in the per-user data folder (beneath
/// QUENMAR_HOME when that is set); nothing when the folder cannot be found.
std::optional<std::filesystem::path> lockFilePath();

} // namespace quenmar::support
