#include "draws/DrawError.h"

namespace quenmar::draws {

std::string drawErrorMessage(const DrawError& error) {
    switch (error.failure) {
    case DrawFailure::NoPage:
        return "无法获取开奖页面: " + error.detail;
    case DrawFailure::PageRefused:
        return "无法解析开奖页面 (" + error.detail + ")";
    case DrawFailure::NotADraw:
        return "开奖页面上的数据不是一期开奖 (" + error.detail + ")";
    }
    return {};
}

} // namespace quenmar::draws
