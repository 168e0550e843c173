#include "app/AppContext.h"

#include "engine/Moment.h"
#include "support/LocalClock.h"

namespace quenmar::app {

ClockReading systemClock() {
    return ClockReading{momentFromDateTime(support::readLocalClock()), support::standardBiasMinutes()};
}

QString todayText(const ClockReading& now) {
    const auto fields = dateTimeFromMoment(now.moment);
    return fields ? QString::fromStdString(dateText(*fields)) : QString();
}

} // namespace quenmar::app
