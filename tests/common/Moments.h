#pragma once

namespace quenmar::test {

/// The moment (days since 1899-12-30 00:00 local time) of a local date-time.
double at(int year, int month, int day, int hour = 0, int minute = 0, int second = 0, int millisecond = 0);

} // namespace quenmar::test
