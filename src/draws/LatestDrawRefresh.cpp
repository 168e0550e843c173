#include "draws/LatestDrawRefresh.h"

#include "draws/DrawFetch.h"
#include "draws/Lottery.h"
#include "support/OnlineCheck.h"

namespace quenmar::draws {

RefreshServices defaultRefreshServices() {
    RefreshServices services;
    services.isOnline = [] {
        return support::runOnlineCheck(support::pingCommand(onlineCheckHost()));
    };
    services.fetchDraw = [](int code) {
        const auto lottery = lotteryByCode(code);
        if (!lottery) {
            DrawResult none;
            none.status = kStatusFetchError;
            return none;
        }
        return fetchLatestDraw(*lottery, defaultDrawSources());
    };
    return services;
}

RefreshOutcome refreshLatestDraw(int code, const RefreshServices& services) {
    RefreshOutcome outcome;
    const auto lottery = lotteryByCode(code);
    if (!lottery) {
        return outcome;
    }
    outcome.ran = true;
    if (!services.isOnline || !services.isOnline()) {
        outcome.statusText = kOfflineText;
        return outcome;
    }
    if (services.fetchDraw) {
        outcome.draw = services.fetchDraw(code);
    } else {
        outcome.draw.status = kStatusFetchError;
    }
    outcome.kind = code - kFirstLotteryCode;
    if (outcome.draw.status != kStatusOk) {
        // A page that never arrived is no draw: blanking the one on screen (or the
        // placeholder) and calling the data updated would both be wrong.
        outcome.statusText = kFetchFailedText;
        return outcome;
    }
    outcome.statusText = kUpdatedNotice;
    outcome.stopTimer = true;
    outcome.showDraw = true;
    outcome.numbersText = displayNumbers(*lottery, outcome.draw);
    return outcome;
}

} // namespace quenmar::draws
