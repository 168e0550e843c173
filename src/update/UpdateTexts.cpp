#include "update/UpdateTexts.h"

#include <cmath>
#include <cstdio>

namespace quenmar::update {

std::string megabytesText(std::int64_t bytes) {
    const double megabytes = std::round(static_cast<double>(bytes) / 1024.0 / 1024.0 * 100.0) / 100.0;
    if (std::fabs(megabytes) < 0.000001) {
        return "0"; // never "-0"
    }
    char text[64];
    std::snprintf(text, sizeof text, "%.15G", megabytes);
    return text;
}

std::string fillTemplate(std::string_view pattern, std::string_view value) {
    std::string text(pattern);
    if (const auto at = text.find("{0}"); at != std::string::npos) {
        text.replace(at, 3, value);
    }
    return text;
}

std::optional<int> progressPercent(std::int64_t received, std::int64_t total) {
    if (total <= 0 || received <= 0 || received > total) {
        return std::nullopt;
    }
    return static_cast<int>(std::lround(static_cast<double>(received) * 100.0 / static_cast<double>(total)));
}

std::string progressText(std::int64_t received, std::int64_t total) {
    return "文件大小:" + megabytesText(total) + "/已下载:" + megabytesText(received) + "MB";
}

} // namespace quenmar::update
