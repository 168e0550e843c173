#pragma once

#include <array>
#include <cstdint>

namespace quenmar {

/// The digits, relation scores and marked lines of a finished chart from which the suggested
/// numbers are made. Built once per calculation, beside its chart.
struct NumberBasis {
    std::int32_t querentDigit = 0;
    std::int32_t dayStemDigit = 0;
    std::int32_t dayBranchDigit = 0;
    std::int32_t hourStemDigit = 0;
    std::int32_t hourBranchDigit = 0;
    std::array<std::int32_t, 6> primaryStemDigits{};
    std::array<std::int32_t, 6> primaryBranchDigits{};
    std::array<std::int32_t, 6> changedStemDigits{};
    std::array<std::int32_t, 6> changedBranchDigits{};
    std::array<std::int32_t, 28> querentRelations{};
    std::array<std::array<std::int32_t, 4>, 6> crossRelations{};
    std::int32_t markedLine = 0;
    std::array<std::int32_t, 4> markedDigits{};
    std::int32_t shiIndex = 0;
    std::int32_t yingIndex = 0;
    std::array<std::int32_t, 2> shiDigits{};
    std::array<std::int32_t, 2> yingDigits{};
    std::int32_t changedShiIndex = 0;
    std::int32_t changedYingIndex = 0;
    std::array<std::int32_t, 4> changedShiYingRelations{};
    std::array<std::int32_t, 4> changedShiYingDigits{};

    bool operator==(const NumberBasis&) const = default;
};

} // namespace quenmar
