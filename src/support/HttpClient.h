#pragma once

#include "base/Result.h"
#include "support/SupportError.h"

#include <cstdint>
#include <functional>
#include <string>

// HTTP(S) GET over libcurl: the one place that includes curl. TLS certificate and host-name
// verification are always on (the system's certificate store, or `caFile` when given);
// redirects are followed up to a cap; every transfer has time limits so that a stalled site
// never holds a caller for long. A transfer that completes gives its response with the HTTP
// status: a 404 is a completed transfer with status 404, never a success by itself. A transfer
// that does not complete gives a SupportError that says why.
namespace quenmar::support {

struct HttpOptions {
    long connectTimeoutMs = 5'000;   // establishing the connection
    long totalTimeoutMs = 15'000;    // the whole transfer; 0 = no overall limit (downloads)
    long lowSpeedBytesPerSecond = 0; // with lowSpeedSeconds: abort when slower than this ...
    long lowSpeedSeconds = 0;        // ... for this long (0 = off)
    long maxRedirects = 5;
    std::size_t maxBodyBytes = 16u << 20; // larger bodies fail instead of filling memory (0 = no cap)
    std::string caFile;                   // extra trust anchors (PEM file), in addition to the system's
                                          // certificate folder; empty = the system store only
};

/// A completed transfer.
struct HttpResponse {
    long status = 0;                 // HTTP status code
    std::string body;                // the body bytes as received (httpGet) or empty (download)
    std::int64_t contentLength = -1; // announced length, -1 when unknown
    std::string contentType;         // the Content-Type header as sent, empty when none

    bool isOk() const { return status == 200; }
};

using HttpResult = Result<HttpResponse, SupportError>;

/// Progress of a download: bytes received so far and the announced total (0 when unknown).
/// Return false to abort the transfer.
using HttpProgress = std::function<bool(std::int64_t received, std::int64_t total)>;

/// True for an http:// or https:// address (scheme in any case) with a host part and no
/// blank or control character: the only addresses the program hands to a transfer.
bool isWebAddress(const std::string& url);

/// GET `url` into memory.
HttpResult httpGet(const std::string& url, const HttpOptions& options = {});

/// GET `url` into the file `path` (created or truncated). On any failure, including a status
/// other than 200 or an abort through `progress`, the file is removed again.
HttpResult httpDownload(const std::string& url, const std::string& path, const HttpOptions& options,
                        const HttpProgress& progress = {});

} // namespace quenmar::support
