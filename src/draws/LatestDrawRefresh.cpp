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
    services.fetchDraw = [](int code) -> FetchedDraw {
        const auto lottery = lotteryByCode(code);
        if (!lottery) {
            return Failure{DrawError{DrawFailure::NoPage, "no such lottery"}};
        }
        return fetchLatestDraw(*lottery, defaultDrawSources());
    };
    services.fetchDraws = [](int code) -> FetchedDraws {
        const auto lottery = lotteryByCode(code);
        if (!lottery) {
            return Failure{DrawError{DrawFailure::NoPage, "no such lottery"}};
        }
        return draws::fetchDraws(*lottery, defaultDrawSources());
    };
    return services;
}

namespace {

// The page's draws from whichever service the caller gave; a latest draw alone is the one
// draw its page lists.
FetchedDraws fetchFrom(const RefreshServices& services, int code) {
    if (services.fetchDraws) {
        return services.fetchDraws(code);
    }
    const FetchedDraw draw = services.fetchDraw ? services.fetchDraw(code) : Failure{DrawError{}};
    if (!draw) {
        return Failure{draw.error()};
    }
    return PageDraws{*draw, {*draw}, {}};
}

} // namespace

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
    outcome.kind = code - kFirstLotteryCode;
    const FetchedDraws fetched = fetchFrom(services, code);
    if (!fetched) {
        // A page that never arrived is no draw: blanking the one on screen (or the
        // placeholder) and calling the data updated would both be wrong.
        outcome.statusText = kFetchFailedText;
        return outcome;
    }
    outcome.draw = fetched->latest;
    outcome.listed = fetched->listed;
    outcome.source = fetched->source;
    outcome.statusText = kUpdatedNotice;
    outcome.stopTimer = true;
    outcome.showDraw = true;
    outcome.numbersText = displayNumbers(*lottery, outcome.draw);
    return outcome;
}

} // namespace quenmar::draws
