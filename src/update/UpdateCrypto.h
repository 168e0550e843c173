#pragma once

#include "base/Result.h"
#include "update/UpdateError.h"

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

// The two protections of an update. The download address in the index is encrypted with the
// update private key, so only its holder can point the program at an installer; the
// installer is checked against the MD5 fingerprint from the index before it runs.
namespace quenmar::update {

/// Bytes per encrypted block: the size of a 4096-bit RSA key.
inline constexpr std::size_t kUrlBlockBytes = 512;

/// The download address hidden in the index's "url": hexadecimal text (either case), cut
/// into blocks of 512 bytes, each recovered with the public key (PKCS #1 v1.5 padding), the
/// joined plaintext read as UTF-16LE and returned as UTF-8. A block that does not decrypt
/// adds nothing; text that is not hexadecimal, plaintext that is not UTF-16 and a key that
/// cannot be read give an empty address.
std::string decodeDownloadUrl(std::string_view urlText, std::string_view publicKeyPem);

/// The last step of `decodeDownloadUrl`: the decrypted bytes as UTF-16LE text up to the first
/// U+0000 (the address was a C string once), as UTF-8; empty for an odd byte count or an
/// unpaired surrogate.
std::string downloadUrlFromPlaintext(std::string_view plaintext);

/// True when the PEM text holds an RSA public key of 4096 bits, the size the blocks need.
bool isUpdatePublicKey(std::string_view publicKeyPem);

/// The publisher's side of `decodeDownloadUrl`: the UTF-8 address as UTF-16LE, in pieces of
/// at most 500 bytes, each encrypted with the private key (a 4096-bit RSA key in PEM form);
/// the upper-case hexadecimal text for the index's "url".
Result<std::string, UpdateError> encryptDownloadUrl(std::string_view url, std::string_view privateKeyPem);

/// The MD5 of the file as 32 upper-case hexadecimal digits; nothing when it cannot be read.
std::optional<std::string> fileFingerprint(const std::filesystem::path& file);

/// True when the file exists and its fingerprint equals `expected` exactly (case included).
bool verifyFingerprint(std::string_view expected, const std::filesystem::path& file);

} // namespace quenmar::update
