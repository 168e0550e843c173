#pragma once

#include "draws/DrawResult.h"

#include <atomic>
#include <functional>
#include <string>
#include <string_view>

// One refresh of the latest draw: the online check, the fetch, and what the window does with
// the result. The refresh itself touches no window, so it runs on a worker thread; its
// outcome is applied on the UI thread afterwards, which then looks exactly as if the whole
// refresh had run there.
namespace quenmar::draws {

/// The refresh timer's interval while no draw has arrived yet.
inline constexpr int kRefreshIntervalMs = 3000;

inline constexpr std::string_view kOfflineText = "未连网";
inline constexpr std::string_view kUpdatedNotice =
    "开奖数据已更新，与实时开奖数据存在相差两小时左右的误差,此不会影响推演数据，本软件不参照历史数据.";
/// Online, but the page did not arrive or could not be read.
inline constexpr std::string_view kFetchFailedText = "开奖数据获取失败";

/// What a refresh needs from the outside world; tests put their own in.
struct RefreshServices {
    std::function<bool()> isOnline;
    std::function<DrawResult(int code)> fetchDraw; // called with a code of 100..106 only
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
    int kind = 0;            // display kind, the code minus 100
    std::string numbersText; // what the display cuts the numbers from
    DrawResult draw;
};

/// One refresh for lottery `code`. Offline: "未连网" and nothing else. A draw read from a page
/// (status 200): the notice, the timer stopped, the draw shown. No usable page: a short
/// failure text; the timer keeps running and the draw on screen stays.
RefreshOutcome refreshLatestDraw(int code, const RefreshServices& services);

/// The refresh timer as a value: running with its interval until a refresh stops it.
struct RefreshTimer {
    int intervalMs = kRefreshIntervalMs;

    bool running() const { return intervalMs > 0; }
    void apply(const RefreshOutcome& outcome) {
        if (outcome.stopTimer) {
            intervalMs = 0;
        }
    }
};

/// At most one refresh in flight: a tick or a click that finds one running starts none.
/// tryBegin() on the UI thread before handing the refresh to a worker; finish() on the UI
/// thread after its outcome has been applied.
class RefreshGate {
public:
    bool tryBegin() { return !m_busy.exchange(true); }
    void finish() { m_busy.store(false); }
    bool busy() const { return m_busy.load(); }

private:
    std::atomic<bool> m_busy{false};
};

} // namespace quenmar::draws
