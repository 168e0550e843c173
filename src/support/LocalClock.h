#pragma once

#include "base/DateTime.h"

// The system clock and time zone, read in one place so that every other layer takes "now"
// as a value and can be pinned in tests.
namespace quenmar::support {

/// Reads the local clock, milliseconds included (the process's time zone, TZ honoured).
DateTime readLocalClock();

/// The time zone's standard bias in minutes: UTC = local time + bias, daylight saving left
/// out (Asia/Shanghai gives −480).
int standardBiasMinutes();

} // namespace quenmar::support
