#include "Moments.h"

#include "engine/Moment.h"

namespace quenmar::test {

double at(int year, int month, int day, int hour, int minute, int second, int millisecond) {
    return momentFromDateTime(DateTime{year, month, day, hour, minute, second, millisecond});
}

} // namespace quenmar::test
