#pragma once

#include "store/DrawStore.h"
#include "tally/NumberSet.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// Which kept draw a saved calculation is checked against, and the kept 快乐8 draws sorted by
// date so that the answer is one binary search.
namespace quenmar::tally {

inline constexpr int kHappy8Code = 100;

/// From this hour on the day's draw (21:30) has been missed, and a calculation counts from the
/// next day: the program's own rule for a missed draw.
inline constexpr int kMissedDrawHour = 22;

/// The day number (days since 1899-12-30) of "YYYY-MM-DD"; nothing for any other text or a
/// date that does not exist.
std::optional<std::int64_t> dayOfDate(std::string_view date);

/// The first day whose draw a calculation at `moment` can be checked against: the moment's
/// date, or the day after it from 22:00 on. Nothing for a moment without a date.
std::optional<std::int64_t> firstDrawDay(double moment);

/// A kept 快乐8 draw, ready to be checked against.
struct IndexedDraw {
    std::int64_t day = 0;
    std::int64_t issueNumber = 0;
    std::string issue;
    std::string date;
    NumberSet numbers;

    bool operator==(const IndexedDraw&) const = default;
};

class DrawIndex {
public:
    DrawIndex() = default;
    /// The 快乐8 draws among `draws` with a readable date and twenty numbers of 1..80; others
    /// cannot be checked against and are left out.
    explicit DrawIndex(const std::vector<store::KeptDraw>& draws);

    /// The first draw dated on or after firstDrawDay(moment) (of two on one day, the lower
    /// issue); null when no kept draw is late enough.
    const IndexedDraw* targetFor(double moment) const;

    std::size_t size() const { return m_draws.size(); }

private:
    std::vector<IndexedDraw> m_draws; // by day, then issue
};

} // namespace quenmar::tally
