#pragma once

#include <string>
#include <vector>

namespace quenmar {

/// One derived hexagram, primary (本卦) or changed (变卦). Lives only during one run.
struct GuaModel {
    int upperTrigram = 0;         // 1..8, lines 4-6
    int lowerTrigram = 0;         // 1..8, lines 1-3
    int movingLine = 0;           // 1..6 for a number cast, else 0
    std::vector<int> movingFlags; // primary cast by hand only
    std::string upperLines;
    std::string upperName;
    std::string lowerLines;
    std::string lowerName;
    int shiLine = 0;                   // line of 世, 1..6
    int yingLine = 0;                  // line of 应, 1..6
    int soulKind = 0;                  // 0 none, 1 游魂, 2 归魂
    int palace = 0;                    // trigram number of the palace
    int generation = 0;                // 1..8 within the palace
    std::vector<std::string> lineBits; // "1" or "0", line 1 first
    std::vector<std::string> spirits;  // primary only
    std::vector<std::string> relations;
    std::vector<std::string> ganzhi; // stem + branch
    std::vector<int> elementIndexes;
    std::vector<std::string> elements;
};

} // namespace quenmar
