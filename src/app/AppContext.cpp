#include "app/AppContext.h"

#include "engine/Moment.h"
#include "support/LocalClock.h"

namespace quenmar::app {

ClockReading systemClock() {
    const support::LocalClockReading r = support::readLocalClock();
    return ClockReading{momentFromDateTime(DateTime{r.year, r.month, r.day, r.hour, r.minute, r.second, r.millisecond}),
                        support::standardBiasMinutes()};
}

QString todayText(const ClockReading& now) {
    const auto fields = dateTimeFromMoment(now.moment);
    return fields ? QString::fromStdString(dateText(*fields)) : QString();
}

} // namespace quenmar::app
