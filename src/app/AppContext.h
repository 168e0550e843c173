#pragma once

#include "engine/Casting.h"

#include <filesystem>
#include <functional>
#include <string>

namespace quenmar::store {
class TableDb;
}

namespace quenmar::app {

/// What the windows need from the world outside them, handed in at start-up so that tests can
/// put in their own folder, clock and services.
struct AppContext {
    std::filesystem::path programFolder; // the executable's folder: help book, installer files
    std::filesystem::path dataRoot;      // where config.ini and src/data/wnx.db lie (support::dataRoot)
    std::filesystem::path configFile;    // config.ini
    store::TableDb* db = nullptr;        // the one database connection; owned by the caller
    std::function<ClockReading()> clock; // "now" for casts, the toss-time pickers and update_day
    bool showSplash = true;              // tests skip the three-second splash
    bool openHelpInViewer = true;        // tests record the request instead of opening a viewer
};

/// The system clock with the time zone's standard bias.
ClockReading systemClock();

} // namespace quenmar::app
