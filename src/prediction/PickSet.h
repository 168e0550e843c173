#pragma once

#include "prediction/PickGenerator.h"

#include <span>
#include <string_view>

// The generator's fast path: the pick text held as sets of the numbers in it, and the rules'
// additions made in blocks that are settled with a few operations on those sets. Internal to
// the prediction; the pick generator's text helpers state the rules, and the tests check this
// path against them.
namespace quenmar {

/// The first pass of a seed under the scales x, u, v (none below zero), then the post passes
/// under d. Characters of the seed that are not ASCII digits are passed over.
PickNumbers expandSeedOnSets(std::string_view seed, double x, double u, double v, double d);

/// The post passes under d over the numbers of a first pass, in their order.
PickNumbers postPassesOnSets(std::span<const int> firstPass, double d);

} // namespace quenmar
