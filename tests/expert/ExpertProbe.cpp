// The expert layer's solar terms and pillars for the cross-check against an independent
// astronomy implementation (tests/reference/check_expert.py).
//
//   expert_probe terms FIRST LAST    one line per 节: year index epochMs TT-minus-civil-seconds
//   expert_probe pillars BIAS        reads moments (day counts), one a line; writes for each
//                                    "yearPillar monthPillar termYear termIndex", or "-"
#include "engine/Moment.h"
#include "expert/SolarPillars.h"

#include <cstdio>
#include <cstdlib>
#include <iostream>
#include <string>

namespace {

using namespace quenmar;

int printTerms(int first, int last) {
    for (int year = first; year <= last; ++year) {
        for (int index = 0; index < kTermsPerYear; ++index) {
            const auto instant = solarTermInstant(year, index);
            if (!instant) {
                std::fprintf(stderr, "no terms for %d\n", year);
                return 1;
            }
            std::printf("%d %d %lld %.3f\n", year, index, static_cast<long long>(*instant),
                        terrestrialMinusCivilSeconds(*instant));
        }
    }
    return 0;
}

int printPillars(int bias) {
    std::string line;
    while (std::getline(std::cin, line)) {
        const auto pillars = solarPillars(epochMs(std::strtod(line.c_str(), nullptr), bias));
        if (!pillars) {
            std::puts("-");
            continue;
        }
        std::printf("%s %s %d %d\n", pillars->yearPillar.c_str(), pillars->monthPillar.c_str(),
                    pillars->term.year, pillars->term.index);
    }
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    const std::string mode = argc > 1 ? argv[1] : "";
    if (mode == "terms" && argc == 4) {
        return printTerms(std::atoi(argv[2]), std::atoi(argv[3]));
    }
    if (mode == "pillars" && argc == 3) {
        return printPillars(std::atoi(argv[2]));
    }
    std::fprintf(stderr, "usage: expert_probe terms FIRST LAST | expert_probe pillars BIAS\n");
    return 2;
}
