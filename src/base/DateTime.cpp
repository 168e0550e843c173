#include "base/DateTime.h"

namespace quenmar {

namespace {

bool isLeap(int y) {
    return (y % 4 == 0 && y % 100 != 0) || y % 400 == 0;
}

int daysInMonth(int y, int m) {
    static constexpr int days[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    return m == 2 && isLeap(y) ? 29 : days[m - 1];
}

} // namespace

bool isValidDateTime(const DateTime& f) {
    return f.year >= 1 && f.year <= 9999 && f.month >= 1 && f.month <= 12 && f.day >= 1 &&
           f.day <= daysInMonth(f.year, f.month) && f.hour >= 0 && f.hour <= 23 && f.minute >= 0 &&
           f.minute <= 59 && f.second >= 0 && f.second <= 59 && f.millisecond >= 0 && f.millisecond <= 999;
}

int weekday(const DateTime& f) {
    // 1970-01-01 was a Thursday (5 in the Sunday = 1 numbering).
    const std::int64_t days = daysFromCivil(f.year, f.month, f.day);
    return static_cast<int>(((days % 7) + 7 + 4) % 7) + 1;
}

std::string dateText(const DateTime& f) {
    std::string text;
    text.reserve(24);
    text += std::to_string(f.year);
    text += "年";
    text += std::to_string(f.month);
    text += "月";
    text += std::to_string(f.day);
    text += "日";
    return text;
}

std::string dateTimeText(const DateTime& f) {
    std::string text = dateText(f);
    if (f.second != 0) {
        text +=
            std::to_string(f.hour) + "时" + std::to_string(f.minute) + "分" + std::to_string(f.second) + "秒";
    } else if (f.minute != 0) {
        text += std::to_string(f.hour) + "时" + std::to_string(f.minute) + "分";
    } else if (f.hour != 0) {
        text += std::to_string(f.hour) + "时";
    }
    return text;
}

} // namespace quenmar
