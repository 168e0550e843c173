#include "support/LocalClock.h"

#include <ctime>
#include <sys/time.h>

namespace quenmar::support {

DateTime readLocalClock() {
    timespec now{};
    clock_gettime(CLOCK_REALTIME, &now);
    tzset();
    std::tm local{};
    localtime_r(&now.tv_sec, &local);
    DateTime reading;
    reading.year = local.tm_year + 1900;
    reading.month = local.tm_mon + 1;
    reading.day = local.tm_mday;
    reading.hour = local.tm_hour;
    reading.minute = local.tm_min;
    reading.second = local.tm_sec == 60 ? 59 : local.tm_sec; // a leap second is not a time of day here
    reading.millisecond = static_cast<int>(now.tv_nsec / 1'000'000);
    return reading;
}

int standardBiasMinutes() {
    tzset();
    // POSIX `timezone` is the seconds west of UTC of the zone's standard time.
    return static_cast<int>(timezone / 60);
}

} // namespace quenmar::support
