#pragma once

#include "base/Result.h"
#include "support/HttpClient.h"
#include "update/UpdateError.h"

#include <cstdint>
#include <string>
#include <string_view>

// The update index: the small JSON document on the update server that says which release is
// current, where its installer is (encrypted) and what its fingerprint is.
namespace quenmar::update {

struct UpdateIndex {
    std::string name;      // product name on the server; required, never shown
    std::int64_t ver = 0;  // version number of the offered release
    std::string verns;     // its version name, e.g. "V1.0.1"
    std::string day;       // release date text, shown unchanged
    std::string url;       // encrypted download address (hex)
    std::string md5;       // installer fingerprint, also the installer's file name stem
    std::string body;      // release notes
    std::int64_t size = 0; // installer size in bytes; 0 when missing
};

using UpdateIndexResult = Result<UpdateIndex, UpdateError>;

/// Reads an index document. The members are looked up by their exact names; "name", "ver",
/// "verns", "day", "url", "md5" and "body" must exist (of any type). Numeric members accept
/// integers, reals (truncated), booleans and numeric strings; any other value reads as 0.
/// Text members read strings as they are, numbers and booleans in their JSON spelling, and
/// anything else as empty text.
UpdateIndexResult parseUpdateIndex(std::string_view json);

/// Fetches and reads the index at `indexUrl`. The body is read whatever the HTTP status (an
/// error page is no index); a transfer that does not complete gives no index.
UpdateIndexResult fetchUpdateIndex(const std::string& indexUrl, const support::HttpOptions& options);

/// The limits of the index request: it runs while the main window waits for it, so a stalled
/// server must give up within seconds, and an index is never larger than a few kilobytes.
support::HttpOptions indexRequestOptions(const std::string& caFile = {});

} // namespace quenmar::update
