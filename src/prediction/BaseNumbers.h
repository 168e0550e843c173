#pragma once

#include "engine/ChartDigits.h"
#include "engine/ChartResult.h"
#include "prediction/NumberBasis.h"

// The base numbers of a finished chart and the scale factors computed from them. All factor
// arithmetic is IEEE double in a fixed order, because the picks depend on the last bit of it.
namespace quenmar {

/// The number basis of a finished chart: its digits, relation scores and marked lines.
/// Per-line arrays shorter than six entries and line indexes outside 0..5 read as digit 0.
NumberBasis buildNumberBasis(const ChartResult& chart);
/// The same of a chart's digits alone.
NumberBasis buildNumberBasis(const ChartDigits& digits);

/// Relation score −5..5 of two digits (not symmetric); 0 for unequal arguments outside 0..9.
int digitRelation(int a, int b);

/// One decimal place, half away from zero; values within ±0.000001 are returned unchanged.
double toTenths(double v);

/// toTenths(|sum| × s), where a sum of 0 counts as 10.
double scaledMagnitude(long long sum, double s);

/// The chart factor 0.1..2.0 from the querent's relations to the day and hour digits.
double chartFactor(const NumberBasis& basis);

/// Factors of line 1..6 from the querent's relations to the primary line, to the changed line,
/// and from the four cross relations of the line; 0.0 for any other line number.
double primaryLineFactor(const NumberBasis& basis, int line, double s);
double changedLineFactor(const NumberBasis& basis, int line, double s);
double crossLineFactor(const NumberBasis& basis, int line, double s);

} // namespace quenmar
