#pragma once

#include "draws/DrawError.h"
#include "draws/PageDraws.h"
#include "draws/RefreshGate.h"
#include "draws/RefreshTimer.h"

#include <functional>
#include <string>
#include <string_view>
#include <vector>

// One refresh of the latest draw: the online check, the fetch, and what the window does with
// the result. The refresh itself touches no window, so it runs on a worker thread; its
// outcome is applied on the UI thread afterwards, which then looks exactly as if the whole
// refresh had run there.
namespace quenmar::draws {

inline constexpr std::string_view kOfflineText = "未连网";
inline constexpr std::string_view kUpdatedNotice =
    "开奖数据已更新，与实时开奖数据存在相差两小时左右的误差,此不会影响推演数据，本软件不参照历史数据.";
/// Online, but the page did not arrive or could not be read.
inline constexpr std::string_view kFetchFailedText = "开奖数据获取失败";

/// What a refresh needs from the outside world; tests put their own in.
struct RefreshServices {
    std::function<bool()> isOnline;
    std::function<FetchedDraw(int code)> fetchDraw; // called with a code of 100..106 only
    /// When set, asked instead of fetchDraw: the page's latest draw with every draw it lists.
    std::function<FetchedDraws(int code)> fetchDraws = {};
};

/// The build's online check (ping of the build's host) and sources.
RefreshServices defaultRefreshServices();

/// What the UI thread does after a refresh, in this order: put `statusText` into the status
/// field when it is not empty, stop the refresh timer when `stopTimer`, show the draw when
/// `showDraw`.
struct RefreshOutcome {
    bool ran = false; // false for a code outside 100..106: nothing to do at all
    std::string statusText;
    bool stopTimer = false;
    bool showDraw = false;
    int kind = 0;                   // display kind, the code minus 100
    std::string numbersText;        // what the display cuts the numbers from
    DrawResult draw;                // the draw shown, when `showDraw`
    std::vector<DrawResult> listed; // every draw the page listed, when `showDraw`: to be kept
    std::string source;             // the page they came from
};

/// One refresh for lottery `code`. Offline: "未连网" and nothing else. A draw read from a page
/// (status 200): the notice, the timer stopped, the draw shown. No usable page: a short
/// failure text; the timer keeps running and the draw on screen stays.
RefreshOutcome refreshLatestDraw(int code, const RefreshServices& services);

} // namespace quenmar::draws
