#include "tally/DrawIndex.h"

#include "engine/Moment.h"
#include "tally/PrizeTable.h"

#include <algorithm>

namespace quenmar::tally {

std::optional<std::int64_t> dayOfDate(std::string_view date) {
    // Exactly YYYY-MM-DD: the form every draw is kept in.
    if (date.size() != 10 || date[4] != '-' || date[7] != '-') {
        return std::nullopt;
    }
    const auto field = [date](std::size_t pos, std::size_t len) -> std::optional<int> {
        int value = 0;
        for (const char c : date.substr(pos, len)) {
            if (c < '0' || c > '9') {
                return std::nullopt;
            }
            value = value * 10 + (c - '0');
        }
        return value;
    };
    const auto year = field(0, 4);
    const auto month = field(5, 2);
    const auto day = field(8, 2);
    if (!year || !month || !day || !isValidDateTime(DateTime{*year, *month, *day, 0, 0, 0, 0})) {
        return std::nullopt;
    }
    return dayNumberOfDate(*year, *month, *day);
}

std::optional<std::int64_t> firstDrawDay(double moment) {
    const auto fields = dateTimeFromMoment(moment);
    if (!fields) {
        return std::nullopt;
    }
    return dayNumberOfDate(fields->year, fields->month, fields->day) +
           (fields->hour >= kMissedDrawHour ? 1 : 0);
}

DrawIndex::DrawIndex(const std::vector<store::KeptDraw>& draws) {
    for (const store::KeptDraw& draw : draws) {
        if (draw.code != kHappy8Code) {
            continue;
        }
        const auto day = dayOfDate(draw.date);
        const std::vector<int> numbers = numbersIn(draw.mainNumbers);
        const NumberSet set = numberSetOf(numbers);
        if (!day || numbers.size() != kDrawNumbers || set.size() != kDrawNumbers) {
            continue;
        }
        m_draws.push_back(IndexedDraw{*day, tally::issueNumber(draw.issue), draw.issue, draw.date, set});
    }
    std::sort(m_draws.begin(), m_draws.end(), [](const IndexedDraw& a, const IndexedDraw& b) {
        return a.day != b.day ? a.day < b.day : a.issueNumber < b.issueNumber;
    });
}

const IndexedDraw* DrawIndex::targetFor(double moment) const {
    const auto first = firstDrawDay(moment);
    if (!first) {
        return nullptr;
    }
    const auto it =
        std::lower_bound(m_draws.begin(), m_draws.end(), *first,
                         [](const IndexedDraw& draw, std::int64_t day) { return draw.day < day; });
    return it == m_draws.end() ? nullptr : &*it;
}

} // namespace quenmar::tally
