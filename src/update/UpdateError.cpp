#include "update/UpdateError.h"

namespace quenmar::update {

namespace {

std::string reason(const UpdateError& error) {
    switch (error.failure) {
    case UpdateFailure::IndexNotFetched:
        return "cannot fetch the update index: " + error.detail;
    case UpdateFailure::IndexTooLarge:
        return "the update index is too large";
    case UpdateFailure::IndexNotJson:
        return "the update index is not valid JSON";
    case UpdateFailure::IndexNotObject:
        return "the update index is not a JSON object";
    case UpdateFailure::IndexLacksMember:
        return "the update index lacks \"" + error.detail + "\"";
    case UpdateFailure::NoNewerVersion:
        return "no newer version (ver " + error.detail + ")";
    case UpdateFailure::FingerprintMalformed:
        return "the fingerprint \"md5\" is not 32 hexadecimal digits";
    case UpdateFailure::PrivateKeyUnreadable:
        return "cannot read the private key (an unencrypted PEM key is needed)";
    case UpdateFailure::PrivateKeyUnsuitable:
        return "the private key must be a 4096-bit RSA key";
    case UpdateFailure::AddressNotText:
        return "the address must be non-empty UTF-8 text";
    case UpdateFailure::AddressNotEncrypted:
        return "cannot encrypt the address with this key";
    }
    return {};
}

} // namespace

std::string updateErrorText(const UpdateError& error) {
    std::string text = reason(error);
    // An error page is no index; its status tells the publisher more than the parse error.
    if (error.httpStatus != 0 && error.httpStatus != 200) {
        text += " (HTTP status " + std::to_string(error.httpStatus) + ")";
    }
    return text;
}

std::string updateErrorMessage(const UpdateError& error) {
    switch (error.failure) {
    case UpdateFailure::NoNewerVersion:
    case UpdateFailure::FingerprintMalformed:
        return "不提供更新: " + updateErrorText(error);
    case UpdateFailure::PrivateKeyUnreadable:
    case UpdateFailure::PrivateKeyUnsuitable:
    case UpdateFailure::AddressNotText:
    case UpdateFailure::AddressNotEncrypted:
        return "无法加密下载地址: " + updateErrorText(error);
    default:
        return "没有可用的更新索引: " + updateErrorText(error);
    }
}

} // namespace quenmar::update
