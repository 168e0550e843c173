#pragma once

#include <string>

// The one shape of a failure of this layer, from the index request to the publisher's
// encryption, and the one place that words it.
namespace quenmar::update {

enum class UpdateFailure {
    IndexNotFetched,      // the index request did not complete (detail: why)
    IndexTooLarge,        // the body is larger than any index
    IndexNotJson,         // the body is no JSON document
    IndexNotObject,       // the document is no JSON object
    IndexLacksMember,     // a required member is missing (detail: its name)
    VersionInvalid,       // "ver" is 0 or negative: no release has that number (detail: "ver")
    NoNewerVersion,       // "ver" is not above the running release (detail: "ver")
    SizeInvalid,          // "size" is negative or larger than any installer (detail: "size")
    FingerprintMalformed, // "md5" is not 32 hexadecimal digits
    PrivateKeyUnreadable, // the publisher's key is no unencrypted PEM key
    PrivateKeyUnsuitable, // it is not a 4096-bit RSA key
    AddressNotText,       // the address to encrypt is empty or not UTF-8
    AddressNotEncrypted,  // the key refused to encrypt it
};

struct UpdateError {
    UpdateFailure failure = UpdateFailure::IndexNotFetched;
    std::string detail;
    long httpStatus = 0; // the index response's status when one arrived, else 0
};

/// The reason in plain words: "the update index lacks \"md5\" (HTTP status 404)".
std::string updateErrorText(const UpdateError& error);

/// What quenmar-cli update says: the step that failed, then the reason ("没有可用的更新索引: ...",
/// "不提供更新: ...", "无法加密下载地址: ...").
std::string updateErrorMessage(const UpdateError& error);

} // namespace quenmar::update
