#include "update/UpdateError.h"

#include "update/UpdateTexts.h"

#include <array>
#include <string_view>

namespace quenmar::update {

namespace {

constexpr std::string_view kIndexStep = "没有可用的更新索引: ";
constexpr std::string_view kOfferStep = "不提供更新: ";
constexpr std::string_view kEncryptStep = "无法加密下载地址: ";

// The words of every failure: the step of quenmar-cli update it stops, and the reason, "{0}"
// standing for the error's detail.
struct FailureWords {
    UpdateFailure failure;
    std::string_view step;
    std::string_view reason;
};

constexpr std::array<FailureWords, 13> kWords{{
    {UpdateFailure::IndexNotFetched, kIndexStep, "cannot fetch the update index: {0}"},
    {UpdateFailure::IndexTooLarge, kIndexStep, "the update index is too large"},
    {UpdateFailure::IndexNotJson, kIndexStep, "the update index is not valid JSON"},
    {UpdateFailure::IndexNotObject, kIndexStep, "the update index is not a JSON object"},
    {UpdateFailure::IndexLacksMember, kIndexStep, "the update index lacks \"{0}\""},
    {UpdateFailure::VersionInvalid, kOfferStep,
     "the version number \"ver\" must be a positive integer (ver {0})"},
    {UpdateFailure::NoNewerVersion, kOfferStep, "no newer version (ver {0})"},
    {UpdateFailure::SizeInvalid, kOfferStep,
     "the installer size \"size\" must be from 0 to 4 GiB (size {0})"},
    {UpdateFailure::FingerprintMalformed, kOfferStep, "the fingerprint \"md5\" is not 32 hexadecimal digits"},
    {UpdateFailure::PrivateKeyUnreadable, kEncryptStep,
     "cannot read the private key (an unencrypted PEM key is needed)"},
    {UpdateFailure::PrivateKeyUnsuitable, kEncryptStep, "the private key must be a 4096-bit RSA key"},
    {UpdateFailure::AddressNotText, kEncryptStep, "the address must be non-empty UTF-8 text"},
    {UpdateFailure::AddressNotEncrypted, kEncryptStep, "cannot encrypt the address with this key"},
}};

const FailureWords& wordsOf(UpdateFailure failure) {
    for (const FailureWords& words : kWords) {
        if (words.failure == failure) {
            return words;
        }
    }
    return kWords.front();
}

} // namespace

std::string updateErrorText(const UpdateError& error) {
    std::string text = fillTemplate(wordsOf(error.failure).reason, error.detail);
    // An error page is no index; its status tells the publisher more than the parse error.
    if (error.httpStatus != 0 && error.httpStatus != 200) {
        text += " (HTTP status " + std::to_string(error.httpStatus) + ")";
    }
    return text;
}

std::string updateErrorMessage(const UpdateError& error) {
    return std::string(wordsOf(error.failure).step) + updateErrorText(error);
}

} // namespace quenmar::update
