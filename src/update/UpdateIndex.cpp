#include "update/UpdateIndex.h"

#include "base/Utf8.h"

#include <charconv>
#include <cmath>
#include <cstdlib>
#include <json/json.h>
#include <limits>
#include <memory>

namespace quenmar::update {

namespace {

constexpr const char* kRequiredMembers[] = {"name", "ver", "verns", "day", "url", "md5", "body"};

// An index is a few hundred bytes; a megabyte leaves room for the longest release notes.
constexpr std::size_t kMaxIndexBytes = 1u << 20;

std::int64_t truncateReal(double value) {
    // Outside this range the conversion is undefined; such a value is no sensible number.
    constexpr double limit = 9.2e18;
    if (!std::isfinite(value) || value >= limit || value <= -limit) {
        return 0;
    }
    return static_cast<std::int64_t>(value);
}

// A numeric string: an integer, or a real that is truncated; anything else is 0.
std::int64_t numberFromText(std::string_view text) {
    text = utf8::trimBlanks(text);
    if (!text.empty() && text.front() == '+') {
        text.remove_prefix(1);
    }
    if (text.empty()) {
        return 0;
    }
    std::int64_t whole = 0;
    const auto integer = std::from_chars(text.data(), text.data() + text.size(), whole);
    if (integer.ec == std::errc{} && integer.ptr == text.data() + text.size()) {
        return whole;
    }
    const std::string copy(text);
    char* end = nullptr;
    const double real = std::strtod(copy.c_str(), &end);
    if (end != copy.c_str() + copy.size() || copy.find_first_of("xXnN") != std::string::npos) {
        return 0; // strtod would also read hexadecimal, "inf" and "nan"
    }
    return truncateReal(real);
}

// jsoncpp's own conversions throw on numeric strings and on values out of range, so every
// type is handled here.
std::int64_t readInteger(const Json::Value& value) {
    switch (value.type()) {
    case Json::intValue:
        return value.asInt64();
    case Json::uintValue:
        return value.isInt64() ? value.asInt64() : 0;
    case Json::realValue:
        return truncateReal(value.asDouble());
    case Json::booleanValue:
        return value.asBool() ? 1 : 0;
    case Json::stringValue:
        return numberFromText(value.asString());
    default:
        return 0;
    }
}

std::string readText(const Json::Value& value) {
    switch (value.type()) {
    case Json::stringValue:
    case Json::intValue:
    case Json::uintValue:
    case Json::realValue:
    case Json::booleanValue:
        return value.asString();
    default:
        return {};
    }
}

} // namespace

UpdateIndexResult parseUpdateIndex(std::string_view json) {
    if (json.size() > kMaxIndexBytes) {
        return Failure{UpdateError{UpdateFailure::IndexTooLarge, {}}};
    }
    Json::CharReaderBuilder builder;
    builder["collectComments"] = false;
    builder["failIfExtra"] = true;
    builder["allowSpecialFloats"] = false;
    Json::Value root;
    std::string errors;
    try {
        const std::unique_ptr<Json::CharReader> reader(builder.newCharReader());
        if (!reader->parse(json.data(), json.data() + json.size(), &root, &errors)) {
            return Failure{UpdateError{UpdateFailure::IndexNotJson, {}}};
        }
        if (!root.isObject()) {
            return Failure{UpdateError{UpdateFailure::IndexNotObject, {}}};
        }
        for (const char* member : kRequiredMembers) {
            if (!root.isMember(member)) {
                return Failure{UpdateError{UpdateFailure::IndexLacksMember, member}};
            }
        }
        UpdateIndex index;
        index.name = readText(root["name"]);
        index.ver = readInteger(root["ver"]);
        index.verns = readText(root["verns"]);
        index.day = readText(root["day"]);
        index.url = readText(root["url"]);
        index.md5 = readText(root["md5"]);
        index.body = readText(root["body"]);
        index.size = root.isMember("size") ? readInteger(root["size"]) : 0;
        return index;
    } catch (const std::exception&) {
        // jsoncpp reports some malformed input (nesting too deep, for one) by throwing.
        return Failure{UpdateError{UpdateFailure::IndexNotJson, {}}};
    }
}

UpdateIndexResult fetchUpdateIndex(const std::string& indexUrl, const support::HttpOptions& options) {
    const support::HttpResult response = support::httpGet(indexUrl, options);
    if (!response) {
        return Failure{UpdateError{UpdateFailure::IndexNotFetched, support::errorText(response.error())}};
    }
    UpdateIndexResult result = parseUpdateIndex(response->body);
    if (!result) {
        UpdateError error = result.error();
        error.httpStatus = response->status;
        return Failure{std::move(error)};
    }
    return result;
}

support::HttpOptions indexRequestOptions(const std::string& caFile) {
    support::HttpOptions options;
    options.connectTimeoutMs = 5'000;
    options.totalTimeoutMs = 10'000;
    options.maxRedirects = 5;
    options.maxBodyBytes = kMaxIndexBytes;
    options.caFile = caFile;
    return options;
}

} // namespace quenmar::update
