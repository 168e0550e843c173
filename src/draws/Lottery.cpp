#include "draws/Lottery.h"

#include "draws/DrawResult.h"

namespace quenmar::draws {

std::optional<Lottery> lotteryByCode(int code) {
    for (const Lottery& lottery : kLotteries) {
        if (lottery.code == code) {
            return lottery;
        }
    }
    return std::nullopt;
}

std::string displayNumbers(const Lottery& lottery, const DrawResult& draw) {
    return lottery.showsExtra ? draw.mainNumbers + draw.extraNumbers : draw.mainNumbers;
}

} // namespace quenmar::draws
