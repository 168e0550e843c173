#pragma once

#include "engine/CastRequest.h"
#include "engine/Moment.h"

#include <string>
#include <vector>

// The requests every benchmark of a calculation cycles over, so that the figures of the
// engine and of the whole calculation describe the same work.
namespace quenmar {

// 96 requests, a third for each method, spread over zodiacs, hours and days of two years so
// that charts with short and empty picks are among them.
inline std::vector<CastRequest> benchRequests() {
    std::vector<CastRequest> requests;
    const char* lines[] = {"100", "011", "110", "001", "111", "000", "101", "010"};
    for (int i = 0; i < 96; ++i) {
        CastRequest r;
        r.zodiac = (i * 5) % 12 + 1;
        r.moment = momentFromDateTime(DateTime{2023 + i % 2, 1 + (i * 7) % 12, 1 + (i * 11) % 28,
                                               (i * 5) % 24, (i * 13) % 60, (i * 17) % 60, (i * 37) % 1000});
        switch (i % 3) {
        case 0:
            r.method = CastMethod::ByNumber;
            r.numberText = std::to_string(1 + (i * 104729) % 1000003);
            break;
        case 1:
            r.method = CastMethod::ByHand;
            r.upperLines = lines[i % 8];
            r.lowerLines = lines[(i / 3) % 8];
            r.movingFlags = {i % 2, -(i % 5 == 0), 0, (i / 2) % 2, 0, -(i % 7 == 1)};
            break;
        default:
            r.method = CastMethod::ByMilliseconds;
            r.timeChoice = TimeChoice::Draw;
            r.numberText = std::to_string(1690000000000LL + i * 7654321LL);
            break;
        }
        requests.push_back(r);
    }
    return requests;
}

} // namespace quenmar
