#pragma once

// The system clock and time zone, read in one place so that every other layer takes "now"
// as a value and can be pinned in tests.
namespace quenmar::support {

/// Local date-time fields of one clock reading, milliseconds included.
struct LocalClockReading {
    int year = 1970;
    int month = 1;
    int day = 1;
    int hour = 0;
    int minute = 0;
    int second = 0;
    int millisecond = 0;
};

/// Reads the local clock (the process's time zone, TZ honoured).
LocalClockReading readLocalClock();

/// The time zone's standard bias in minutes: UTC = local time + bias, daylight saving left
/// out (Asia/Shanghai gives −480).
int standardBiasMinutes();

} // namespace quenmar::support
