#pragma once

#include "base/Result.h"
#include "draws/DrawResult.h"

#include <string>

// The one shape of a fetch that gave no draw, and the one place that words it.
namespace quenmar::draws {

enum class DrawFailure {
    NoPage,      // no page arrived: no connection, a status other than 200, a stalled site
    PageRefused, // the HTML parser refused the page (empty, oversized, nested too deeply)
    NotADraw,    // what the page holds cannot be a draw of the lottery (99 of 80, a 3 MB issue)
};

struct DrawError {
    DrawFailure failure = DrawFailure::NoPage;
    std::string detail; // "HTTP status 404", "body error": for the message, never the status bar;
                        // never the page's own text
};

/// A draw read from a page, or why there is none.
using FetchedDraw = Result<DrawResult, DrawError>;

/// What quenmar-cli draws says of it: "无法获取开奖页面: HTTP status 404", "无法解析开奖页面
/// (body error)", "开奖页面上的数据不是一期开奖 (...)". The desktop program's status bar says only that the
/// draw did not come (kFetchFailedText).
std::string drawErrorMessage(const DrawError& error);

} // namespace quenmar::draws
