#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

// The figures of the update window: sizes in megabytes and the download progress.
namespace quenmar::update {

/// `bytes` in megabytes (bytes / 1024 / 1024) rounded to two decimals and printed with
/// "%.15G": 5242880 gives "5", 1310720 gives "1.25"; a value within 0.000001 of zero gives "0".
std::string megabytesText(std::int64_t bytes);

/// The template with its first "{0}" replaced by `value`.
std::string fillTemplate(std::string_view pattern, std::string_view value);

/// The progress bar position (0..100, rounded) for a progress notice, or nothing when the
/// notice does not count: the total is unknown, or nothing or more than the total arrived.
std::optional<int> progressPercent(std::int64_t received, std::int64_t total);

/// "文件大小:{total}/已下载:{received}MB" in megabytes.
std::string progressText(std::int64_t received, std::int64_t total);

} // namespace quenmar::update
