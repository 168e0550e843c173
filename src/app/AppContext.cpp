#include "app/AppContext.h"

#include "engine/Moment.h"
#include "support/LocalClock.h"

namespace quenmar::app {

ClockReading systemClock() {
    return ClockReading{momentFromDateTime(support::readLocalClock()), support::standardBiasMinutes()};
}

std::string todayText(const ClockReading& now) {
    const auto fields = dateTimeFromMoment(now.moment);
    return fields ? dateText(*fields) : std::string();
}

} // namespace quenmar::app
