#include "update/UpdateCrypto.h"

#include "support/TextCodec.h"

#include <array>
#include <cstdint>
#include <fstream>
#include <memory>
#include <openssl/bio.h>
#include <openssl/evp.h>
#include <openssl/pem.h>
#include <openssl/rsa.h>
#include <vector>

namespace quenmar::update {

namespace {

// The UTF-16LE pieces that the publisher encrypts stay even, so that no code unit is split
// between two blocks; PKCS #1 v1.5 needs 11 of the 512 bytes for its padding.
constexpr std::size_t kUrlPieceBytes = 500;

struct PkeyFree {
    void operator()(EVP_PKEY* key) const { EVP_PKEY_free(key); }
};
struct PkeyCtxFree {
    void operator()(EVP_PKEY_CTX* context) const { EVP_PKEY_CTX_free(context); }
};
struct BioFree {
    void operator()(BIO* bio) const { BIO_free(bio); }
};
struct MdCtxFree {
    void operator()(EVP_MD_CTX* context) const { EVP_MD_CTX_free(context); }
};
using Pkey = std::unique_ptr<EVP_PKEY, PkeyFree>;
using PkeyCtx = std::unique_ptr<EVP_PKEY_CTX, PkeyCtxFree>;
using Bio = std::unique_ptr<BIO, BioFree>;
using MdCtx = std::unique_ptr<EVP_MD_CTX, MdCtxFree>;

Bio memoryBio(std::string_view pem) {
    if (pem.size() > static_cast<std::size_t>(INT32_MAX)) {
        return nullptr;
    }
    return Bio(BIO_new_mem_buf(pem.data(), static_cast<int>(pem.size())));
}

// A callback that refuses passphrase prompts: a key must never wait for a terminal.
int noPassphrase(char*, int, int, void*) {
    return 0;
}

Pkey readPublicKey(std::string_view pem) {
    const Bio bio = memoryBio(pem);
    return Pkey(bio ? PEM_read_bio_PUBKEY(bio.get(), nullptr, noPassphrase, nullptr) : nullptr);
}

Pkey readPrivateKey(std::string_view pem) {
    const Bio bio = memoryBio(pem);
    return Pkey(bio ? PEM_read_bio_PrivateKey(bio.get(), nullptr, noPassphrase, nullptr) : nullptr);
}

int hexValue(char c) {
    if (c >= '0' && c <= '9') {
        return c - '0';
    }
    if (c >= 'a' && c <= 'f') {
        return c - 'a' + 10;
    }
    if (c >= 'A' && c <= 'F') {
        return c - 'A' + 10;
    }
    return -1;
}

std::optional<std::vector<unsigned char>> bytesFromHex(std::string_view text) {
    if (text.size() % 2 != 0) {
        return std::nullopt;
    }
    std::vector<unsigned char> bytes;
    bytes.reserve(text.size() / 2);
    for (std::size_t i = 0; i < text.size(); i += 2) {
        const int high = hexValue(text[i]);
        const int low = hexValue(text[i + 1]);
        if (high < 0 || low < 0) {
            return std::nullopt;
        }
        bytes.push_back(static_cast<unsigned char>(high * 16 + low));
    }
    return bytes;
}

std::string hexFromBytes(const unsigned char* bytes, std::size_t count) {
    constexpr char digits[] = "0123456789ABCDEF";
    std::string text;
    text.reserve(count * 2);
    for (std::size_t i = 0; i < count; ++i) {
        text += digits[bytes[i] >> 4];
        text += digits[bytes[i] & 0x0F];
    }
    return text;
}

} // namespace

std::string decodeDownloadUrl(std::string_view urlText, std::string_view publicKeyPem) {
    const Pkey key = readPublicKey(publicKeyPem);
    const auto bytes = bytesFromHex(urlText);
    if (!key || !bytes) {
        return {};
    }
    const int keySize = EVP_PKEY_get_size(key.get());
    if (keySize <= 0) {
        return {};
    }
    std::vector<unsigned char> plain;
    std::vector<unsigned char> block(static_cast<std::size_t>(keySize));
    for (std::size_t offset = 0; offset < bytes->size(); offset += kUrlBlockBytes) {
        const std::size_t length = std::min(kUrlBlockBytes, bytes->size() - offset);
        const PkeyCtx context(EVP_PKEY_CTX_new(key.get(), nullptr));
        std::size_t recovered = block.size();
        if (context && EVP_PKEY_verify_recover_init(context.get()) == 1 &&
            EVP_PKEY_CTX_set_rsa_padding(context.get(), RSA_PKCS1_PADDING) == 1 &&
            EVP_PKEY_verify_recover(context.get(), block.data(), &recovered, bytes->data() + offset,
                                    length) == 1) {
            plain.insert(plain.end(), block.begin(), block.begin() + static_cast<std::ptrdiff_t>(recovered));
        }
    }
    return downloadUrlFromPlaintext(
        std::string_view(reinterpret_cast<const char*>(plain.data()), plain.size()));
}

std::string downloadUrlFromPlaintext(std::string_view plaintext) {
    if (plaintext.size() % 2 != 0) {
        return {};
    }
    std::size_t end = 0;
    while (end < plaintext.size() && (plaintext[end] != '\0' || plaintext[end + 1] != '\0')) {
        end += 2;
    }
    return support::convertToUtf8(plaintext.substr(0, end), "UTF-16LE").value_or(std::string());
}

bool isUpdatePublicKey(std::string_view publicKeyPem) {
    const Pkey key = readPublicKey(publicKeyPem);
    return key && EVP_PKEY_get_base_id(key.get()) == EVP_PKEY_RSA &&
           EVP_PKEY_get_size(key.get()) == kUrlBlockBytes;
}

Result<std::string, UpdateError> encryptDownloadUrl(std::string_view url, std::string_view privateKeyPem) {
    const Pkey key = readPrivateKey(privateKeyPem);
    if (!key) {
        return Failure{UpdateError{UpdateFailure::PrivateKeyUnreadable, {}}};
    }
    if (EVP_PKEY_get_base_id(key.get()) != EVP_PKEY_RSA || EVP_PKEY_get_size(key.get()) != kUrlBlockBytes) {
        return Failure{UpdateError{UpdateFailure::PrivateKeyUnsuitable, {}}};
    }
    const auto text = support::convertFromUtf8(url, "UTF-16LE");
    if (!text || text->empty()) {
        return Failure{UpdateError{UpdateFailure::AddressNotText, {}}};
    }
    std::string hex;
    std::vector<unsigned char> block(kUrlBlockBytes);
    for (std::size_t offset = 0; offset < text->size(); offset += kUrlPieceBytes) {
        const std::size_t length = std::min(kUrlPieceBytes, text->size() - offset);
        const PkeyCtx context(EVP_PKEY_CTX_new(key.get(), nullptr));
        std::size_t written = block.size();
        // Signing without a digest applies the PKCS #1 v1.5 private-key padding to the raw
        // bytes, which is exactly what public-key recovery undoes.
        if (!context || EVP_PKEY_sign_init(context.get()) != 1 ||
            EVP_PKEY_CTX_set_rsa_padding(context.get(), RSA_PKCS1_PADDING) != 1 ||
            EVP_PKEY_sign(context.get(), block.data(), &written,
                          reinterpret_cast<const unsigned char*>(text->data()) + offset, length) != 1 ||
            written != kUrlBlockBytes) {
            return Failure{UpdateError{UpdateFailure::AddressNotEncrypted, {}}};
        }
        hex += hexFromBytes(block.data(), written);
    }
    return hex;
}

std::optional<std::string> fileFingerprint(const std::filesystem::path& file) {
    std::error_code error;
    if (!std::filesystem::is_regular_file(file, error)) {
        return std::nullopt;
    }
    std::ifstream in(file, std::ios::binary);
    if (!in) {
        return std::nullopt;
    }
    const MdCtx context(EVP_MD_CTX_new());
    if (!context || EVP_DigestInit_ex(context.get(), EVP_md5(), nullptr) != 1) {
        return std::nullopt;
    }
    std::array<char, 64 * 1024> buffer;
    while (in) {
        in.read(buffer.data(), buffer.size());
        const auto count = static_cast<std::size_t>(in.gcount());
        if (count > 0 && EVP_DigestUpdate(context.get(), buffer.data(), count) != 1) {
            return std::nullopt;
        }
    }
    if (in.bad()) {
        return std::nullopt;
    }
    std::array<unsigned char, EVP_MAX_MD_SIZE> digest{};
    unsigned int length = 0;
    if (EVP_DigestFinal_ex(context.get(), digest.data(), &length) != 1 || length != 16) {
        return std::nullopt;
    }
    return hexFromBytes(digest.data(), length);
}

bool verifyFingerprint(std::string_view expected, const std::filesystem::path& file) {
    const auto actual = fileFingerprint(file);
    return actual && *actual == expected;
}

} // namespace quenmar::update
