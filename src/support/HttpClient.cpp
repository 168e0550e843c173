#include "support/HttpClient.h"

#include "base/Version.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <curl/curl.h>
#include <mutex>

namespace quenmar::support {

namespace {

const std::string kUserAgent = "Quenmar/" + std::string(kVersion);

// libcurl's global state must be set up once, before the first handle, and not concurrently
// with anything else: the first transfer of the run does it, whichever thread that is on.
bool ensureCurlGlobal() {
    static std::once_flag once;
    static CURLcode result = CURLE_OK;
    std::call_once(once, [] { result = curl_global_init(CURL_GLOBAL_DEFAULT); });
    return result == CURLE_OK;
}

struct EasyHandle {
    CURL* handle = curl_easy_init();
    ~EasyHandle() {
        if (handle != nullptr) {
            curl_easy_cleanup(handle);
        }
    }
    EasyHandle() = default;
    EasyHandle(const EasyHandle&) = delete;
    EasyHandle& operator=(const EasyHandle&) = delete;
};

// What the callbacks of one transfer share. Exactly one of `body` and `file` receives the data.
struct Sink {
    std::string* body = nullptr;
    std::FILE* file = nullptr;
    std::size_t received = 0;
    std::size_t maxBytes = 0; // 0 = no cap
    bool overLimit = false;
    bool writeFailed = false;
    const HttpProgress* progress = nullptr;
    bool aborted = false;
};

std::size_t writeBody(char* data, std::size_t size, std::size_t count, void* user) {
    auto& sink = *static_cast<Sink*>(user);
    const std::size_t bytes = size * count;
    if (sink.maxBytes != 0 && (bytes > sink.maxBytes || sink.received > sink.maxBytes - bytes)) {
        sink.overLimit = true;
        return 0; // anything other than `bytes` makes libcurl abort with CURLE_WRITE_ERROR
    }
    if (sink.file != nullptr) {
        if (std::fwrite(data, 1, bytes, sink.file) != bytes) {
            sink.writeFailed = true;
            return 0;
        }
    } else {
        sink.body->append(data, bytes);
    }
    sink.received += bytes;
    return bytes;
}

int reportProgress(void* user, curl_off_t total, curl_off_t received, curl_off_t, curl_off_t) {
    auto& sink = *static_cast<Sink*>(user);
    if (sink.progress != nullptr && *sink.progress && !(*sink.progress)(received, total)) {
        sink.aborted = true;
        return 1;
    }
    return 0;
}

// The settings every transfer shares; false when libcurl refuses one of them, which only
// happens when it was built without a feature we rely on.
bool configure(CURL* curl, const std::string& url, const HttpOptions& options, Sink& sink,
               char* errorBuffer) {
    bool ok = true;
    const auto set = [&](CURLoption option, auto value) {
        ok = ok && curl_easy_setopt(curl, option, value) == CURLE_OK;
    };
    set(CURLOPT_ERRORBUFFER, errorBuffer);
    set(CURLOPT_URL, url.c_str());
    // Only the web: a crafted address or redirect must not reach files, mail or other schemes.
    set(CURLOPT_PROTOCOLS_STR, "http,https");
    set(CURLOPT_REDIR_PROTOCOLS_STR, "http,https");
    set(CURLOPT_FOLLOWLOCATION, 1L);
    set(CURLOPT_MAXREDIRS, options.maxRedirects);
    set(CURLOPT_SSL_VERIFYPEER, 1L);
    set(CURLOPT_SSL_VERIFYHOST, 2L);
    if (!options.caFile.empty()) {
        // Replaces the default bundle file; the system's certificate folder (CAPATH) stays in
        // use, so the extra anchor adds to the system store rather than narrowing it.
        set(CURLOPT_CAINFO, options.caFile.c_str());
    }
    set(CURLOPT_CONNECTTIMEOUT_MS, options.connectTimeoutMs);
    set(CURLOPT_TIMEOUT_MS, options.totalTimeoutMs);
    if (options.lowSpeedBytesPerSecond > 0 && options.lowSpeedSeconds > 0) {
        set(CURLOPT_LOW_SPEED_LIMIT, options.lowSpeedBytesPerSecond);
        set(CURLOPT_LOW_SPEED_TIME, options.lowSpeedSeconds);
    }
    if (options.maxBodyBytes != 0) {
        // Refuses an announced oversize body before any of it arrives; the write callback
        // catches bodies that do not announce their length.
        set(CURLOPT_MAXFILESIZE_LARGE, static_cast<curl_off_t>(options.maxBodyBytes));
    }
    // Transfers run on worker threads too; signals would reach the wrong thread.
    set(CURLOPT_NOSIGNAL, 1L);
    set(CURLOPT_USERAGENT, kUserAgent.c_str());
    set(CURLOPT_WRITEFUNCTION, writeBody);
    set(CURLOPT_WRITEDATA, &sink);
    set(CURLOPT_XFERINFOFUNCTION, reportProgress);
    set(CURLOPT_XFERINFODATA, &sink);
    set(CURLOPT_NOPROGRESS, 0L);
    return ok;
}

SupportError describeFailure(CURLcode code, const Sink& sink, const char* errorBuffer) {
    if (sink.overLimit || code == CURLE_FILESIZE_EXCEEDED) {
        return {SupportFailure::TransferFailed, "response body larger than the allowed size"};
    }
    if (sink.writeFailed) {
        return {SupportFailure::FileNotWritten, "cannot write the downloaded file"};
    }
    if (sink.aborted) {
        return {SupportFailure::TransferFailed, "transfer cancelled"};
    }
    if (errorBuffer[0] != '\0') {
        return {SupportFailure::TransferFailed, errorBuffer};
    }
    return {SupportFailure::TransferFailed, curl_easy_strerror(code)};
}

HttpResult perform(const std::string& url, const HttpOptions& options, Sink& sink) {
    if (!ensureCurlGlobal()) {
        return Failure{SupportError{SupportFailure::TransferFailed, "cannot initialise the HTTP library"}};
    }
    EasyHandle easy;
    if (easy.handle == nullptr) {
        return Failure{SupportError{SupportFailure::TransferFailed, "cannot create an HTTP transfer"}};
    }
    sink.maxBytes = options.maxBodyBytes;
    char errorBuffer[CURL_ERROR_SIZE] = {};
    if (!configure(easy.handle, url, options, sink, errorBuffer)) {
        return Failure{
            SupportError{SupportFailure::TransferFailed, "the HTTP library lacks a required feature"}};
    }
    const CURLcode code = curl_easy_perform(easy.handle);
    if (code != CURLE_OK) {
        return Failure{describeFailure(code, sink, errorBuffer)};
    }
    HttpResponse response;
    curl_off_t length = -1;
    if (curl_easy_getinfo(easy.handle, CURLINFO_CONTENT_LENGTH_DOWNLOAD_T, &length) == CURLE_OK) {
        response.contentLength = length;
    }
    const char* type = nullptr;
    if (curl_easy_getinfo(easy.handle, CURLINFO_CONTENT_TYPE, &type) == CURLE_OK && type != nullptr) {
        response.contentType = type;
    }
    curl_easy_getinfo(easy.handle, CURLINFO_RESPONSE_CODE, &response.status);
    return response;
}

} // namespace

HttpResult httpGet(const std::string& url, const HttpOptions& options) {
    std::string body;
    Sink sink;
    sink.body = &body;
    HttpResult result = perform(url, options, sink);
    if (result) {
        result->body = std::move(body);
    }
    return result;
}

HttpResult httpDownload(const std::string& url, const std::string& path, const HttpOptions& options,
                        const HttpProgress& progress) {
    // A fresh file every time: whatever had the name before, a link included, is removed
    // rather than written through, and "x" refuses to follow anything put there meanwhile.
    std::remove(path.c_str());
    std::FILE* file = std::fopen(path.c_str(), "wbx");
    if (file == nullptr) {
        return Failure{SupportError{SupportFailure::FileNotWritten, "cannot create the file " + path}};
    }
    Sink sink;
    sink.file = file;
    sink.progress = &progress;
    HttpResult result = perform(url, options, sink);
    if (std::fclose(file) != 0 && result) {
        result = Failure{SupportError{SupportFailure::FileNotWritten, "cannot write the downloaded file"}};
    }
    if (!result || !result->isOk()) {
        // A half-written or error-page file must never be mistaken for the download.
        std::remove(path.c_str());
    }
    return result;
}

bool isWebAddress(const std::string& url) {
    std::string scheme = url.substr(0, 8);
    for (char& c : scheme) {
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    }
    std::size_t hostStart = 0;
    if (scheme.rfind("http://", 0) == 0) {
        hostStart = 7;
    } else if (scheme.rfind("https://", 0) == 0) {
        hostStart = 8;
    } else {
        return false;
    }
    if (url.size() <= hostStart || url[hostStart] == '/') {
        return false;
    }
    // Control characters and blanks have no place in an address handed to a transfer.
    return std::none_of(url.begin(), url.end(), [](char c) {
        const auto u = static_cast<unsigned char>(c);
        return u <= 0x20 || u == 0x7F;
    });
}

} // namespace quenmar::support
