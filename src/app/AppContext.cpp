#include "app/AppContext.h"

#include "engine/Moment.h"
#include "support/LocalClock.h"

namespace quenmar::app {

ClockReading systemClock() {
    return ClockReading{momentFromDateTime(support::readLocalClock()), support::standardBiasMinutes()};
}

} // namespace quenmar::app
