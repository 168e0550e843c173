#include "expert/SolarTerms.h"

#include "base/DateTime.h"

#include <array>
#include <cmath>
#include <erfa.h>
#include <erfam.h>
#include <mutex>

namespace quenmar {

namespace {

constexpr std::string_view kTermNames = "小寒立春惊蛰清明立夏芒种小暑立秋白露寒露立冬大雪";
constexpr std::size_t kNameBytes = 6; // two CJK characters of three bytes each

constexpr double kPi = 3.14159265358979323846;
constexpr double kDegree = kPi / 180.0;
constexpr double kMsPerDay = 86'400'000.0;
constexpr double kUnixEpochJd = 2440587.5;
constexpr double kJ2000 = 2451545.0;
// The mean Sun's daily motion: the step of the root search and the first guess.
constexpr double kMeanMotionDeg = 0.98564736;

// Ecliptic longitude of 节 `index`: 小寒 at 285°, then every 30° (立春 315°, ..., 大雪 255°).
double targetLongitudeDeg(int index) {
    return std::fmod(285.0 + 30.0 * index, 360.0);
}

// --- ΔT where the leap-second table does not reach ----------------------------------------------

// Espenak and Meeus's polynomial expressions for ΔT (their Five Millennium Canon of Solar
// Eclipses), the pieces from 1860 to 2150: ΔT = Σ c[k]·t^k with t = y − origin.
struct DeltaTPiece {
    double until; // decimal year the piece ends at
    double origin;
    std::array<double, 6> c;
};

constexpr std::array<DeltaTPiece, 7> kDeltaTPieces = {{
    {1900.0, 1860.0, {7.62, 0.5737, -0.251754, 0.01680668, -0.0004473624, 1.0 / 233174.0}},
    {1920.0, 1900.0, {-2.79, 1.494119, -0.0598939, 0.0061966, -0.000197, 0.0}},
    {1941.0, 1920.0, {21.20, 0.84493, -0.076100, 0.0020936, 0.0, 0.0}},
    {1961.0, 1950.0, {29.07, 0.407, -1.0 / 233.0, 1.0 / 2547.0, 0.0, 0.0}},
    {1986.0, 1975.0, {45.45, 1.067, -1.0 / 260.0, -1.0 / 718.0, 0.0, 0.0}},
    {2005.0, 2000.0, {63.86, 0.3345, -0.060374, 0.0017275, 0.000651814, 0.00002373599}},
    {2050.0, 2000.0, {62.92, 0.32217, 0.005589, 0.0, 0.0, 0.0}},
}};

double modelDeltaTSeconds(double year) {
    for (const DeltaTPiece& piece : kDeltaTPieces) {
        if (year < piece.until) {
            const double t = year - piece.origin;
            double value = 0.0;
            for (auto k = piece.c.size(); k-- > 0;) {
                value = value * t + piece.c[k];
            }
            return value;
        }
    }
    const double u = (year - 1820.0) / 100.0; // 2050 on
    return -20.0 + 32.0 * u * u - 0.5628 * (2150.0 - year);
}

double decimalYearOfJd(double jd) {
    return 2000.0 + (jd - kJ2000) / 365.2425;
}

// --- the Sun --------------------------------------------------------------------------------------

// Apparent geocentric ecliptic longitude of the Sun, in radians 0..2π, at TT = tt1 + tt2 (a Julian
// date in two parts). The Earth ephemeris takes TDB, which differs from TT by under 2 ms.
double apparentSolarLongitude(double tt1, double tt2) {
    double heliocentric[2][3];
    double barycentric[2][3];
    eraEpv00(tt1, tt2, heliocentric, barycentric);

    // The Sun seen from the Earth. Light leaves it some 8 minutes earlier, but the Sun moves so
    // little about the barycentre meanwhile (about 6 km) that its place now serves.
    double toSun[3] = {-heliocentric[0][0], -heliocentric[0][1], -heliocentric[0][2]};
    double distance = 0.0;
    double direction[3];
    eraPn(toSun, &distance, direction);

    // Annual aberration from the Earth's barycentric velocity, in units of c.
    double velocity[3];
    for (int k = 0; k < 3; ++k) {
        velocity[k] = barycentric[1][k] * ERFA_AULT / ERFA_DAYSEC;
    }
    const double bm1 = std::sqrt(1.0 - eraPdp(velocity, velocity));
    double apparent[3];
    eraAb(direction, velocity, distance, bm1, apparent);

    // To the ecliptic and mean equinox of date, then to the true equinox by the nutation in
    // longitude (the ecliptic itself does not nutate).
    double toEcliptic[3][3];
    eraEcm06(tt1, tt2, toEcliptic);
    double ecliptic[3];
    eraRxp(toEcliptic, apparent, ecliptic);
    // IAU 2000B nutation, a milliarcsecond short of the full 2000A series at a small part of its
    // cost, which the first use of a year pays: it moves no term of 1900-2100 by 0.06 s.
    double dpsi = 0.0;
    double deps = 0.0;
    eraNut00b(tt1, tt2, &dpsi, &deps);
    return eraAnp(std::atan2(ecliptic[1], ecliptic[0]) + dpsi);
}

// The TT Julian date (days after J2000) at which the apparent longitude reaches a target, by the
// secant method from a guess within a few days. The first step takes the mean Sun's motion, which
// the true one never leaves by more than 4 %.
double solveTerm(double guessDays, double targetDeg) {
    const double target = targetDeg * kDegree;
    const auto gap = [target](double days) {
        return std::remainder(target - apparentSolarLongitude(kJ2000, days), 2.0 * kPi);
    };
    double before = guessDays;
    double gapBefore = gap(before);
    double days = before + gapBefore / (kMeanMotionDeg * kDegree);
    for (int step = 0; step < 20; ++step) {
        const double gapNow = gap(days);
        if (gapNow == gapBefore) {
            break;
        }
        const double next = days - gapNow * (days - before) / (gapNow - gapBefore);
        before = days;
        gapBefore = gapNow;
        days = next;
        if (std::fabs(days - before) < 1e-8) { // under a millisecond
            break;
        }
    }
    return days;
}

// TT (days after J2000) to milliseconds since 1970 UTC: through the leap-second table while the
// library vouches for the year (from 1960), else through the ΔT model; before 1960 the civil
// clock kept mean solar time, so UT is what it showed, and after the table's reach UTC can only
// be predicted to follow UT1. Where the table's reach ends (2026 with ERFA 2.0) the instants step
// by the two's difference, some 6 s, far below the minute shown.
double civilMsOfTerrestrial(double ttDays) {
    double tai1 = 0.0;
    double tai2 = 0.0;
    double utc1 = 0.0;
    double utc2 = 0.0;
    if (eraTttai(kJ2000, ttDays, &tai1, &tai2) == 0 && eraTaiutc(tai1, tai2, &utc1, &utc2) == 0) {
        return ((utc1 - kUnixEpochJd) + utc2) * kMsPerDay;
    }
    const double deltaT = modelDeltaTSeconds(decimalYearOfJd(kJ2000 + ttDays));
    return ((kJ2000 - kUnixEpochJd) + ttDays) * kMsPerDay - deltaT * 1000.0;
}

// --- the table of terms, filled a year at a time -------------------------------------------------

constexpr int kFirstYear = kFirstTermYear - 1;
constexpr int kLastYear = kLastTermYear + 1;
constexpr int kYears = kLastYear - kFirstYear + 1;

struct YearTerms {
    std::once_flag computed;
    std::array<std::int64_t, kTermsPerYear> epochMs{};
};

std::array<YearTerms, kYears>& termTable() {
    static std::array<YearTerms, kYears> table;
    return table;
}

void computeYear(int year, std::array<std::int64_t, kTermsPerYear>& instants) {
    double mjd0 = 0.0;
    double mjd = 0.0;
    eraCal2jd(year, 1, 1, &mjd0, &mjd);
    const double newYearDays = (mjd0 - kJ2000) + mjd;
    // The mean Sun's longitude on 1 January lies near 280°, short of 小寒's 285°, so counting
    // forward from it puts every guess into this civil year.
    const double meanAtNewYear = 280.46646 + kMeanMotionDeg * newYearDays;
    for (int index = 0; index < kTermsPerYear; ++index) {
        const double target = targetLongitudeDeg(index);
        const double ahead = std::fmod(std::fmod(target - meanAtNewYear, 360.0) + 360.0, 360.0);
        const double ttDays = solveTerm(newYearDays + ahead / kMeanMotionDeg, target);
        instants[static_cast<std::size_t>(index)] = std::llround(civilMsOfTerrestrial(ttDays));
    }
}

const std::array<std::int64_t, kTermsPerYear>* yearTerms(int year) {
    if (year < kFirstYear || year > kLastYear) {
        return nullptr;
    }
    YearTerms& slot = termTable()[static_cast<std::size_t>(year - kFirstYear)];
    std::call_once(slot.computed, [&] { computeYear(year, slot.epochMs); });
    return &slot.epochMs;
}

} // namespace

std::string_view solarTermName(int index) {
    if (index < 0 || index >= kTermsPerYear) {
        return {};
    }
    return kTermNames.substr(static_cast<std::size_t>(index) * kNameBytes, kNameBytes);
}

std::optional<std::int64_t> solarTermInstant(int year, int index) {
    const auto* terms = yearTerms(year);
    if (terms == nullptr || index < 0 || index >= kTermsPerYear) {
        return std::nullopt;
    }
    return (*terms)[static_cast<std::size_t>(index)];
}

std::optional<SolarTerm> solarTermInForce(std::int64_t epochMs) {
    // Every 节 lies days away from 1 January, so the UTC year of the instant is the year whose
    // terms to search, whatever the local time zone.
    const int year = static_cast<int>(civilFromDays(detail::floorDiv(epochMs, 86'400'000)).year);
    const auto* terms = yearTerms(year);
    if (terms == nullptr) {
        return std::nullopt;
    }
    for (int index = kTermsPerYear - 1; index >= 0; --index) {
        if ((*terms)[static_cast<std::size_t>(index)] <= epochMs) {
            return SolarTerm{year, index, (*terms)[static_cast<std::size_t>(index)]};
        }
    }
    // Before 小寒: the previous year's 大雪 is in force.
    const auto* previous = yearTerms(year - 1);
    if (previous == nullptr) {
        return std::nullopt;
    }
    return SolarTerm{year - 1, kTermsPerYear - 1, previous->back()};
}

double terrestrialMinusCivilSeconds(std::int64_t epochMs) {
    const double utcDays = static_cast<double>(epochMs) / kMsPerDay;
    double tai1 = 0.0;
    double tai2 = 0.0;
    double tt1 = 0.0;
    double tt2 = 0.0;
    if (eraUtctai(kUnixEpochJd, utcDays, &tai1, &tai2) == 0 && eraTaitt(tai1, tai2, &tt1, &tt2) == 0) {
        return ((tt1 - kUnixEpochJd) + (tt2 - utcDays)) * ERFA_DAYSEC;
    }
    return modelDeltaTSeconds(decimalYearOfJd(kUnixEpochJd + utcDays));
}

} // namespace quenmar
