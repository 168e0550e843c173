#include "update/UpdateCrypto.h"

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

void appendUtf8(std::string& out, std::uint32_t codePoint) {
    if (codePoint < 0x80) {
        out += static_cast<char>(codePoint);
    } else if (codePoint < 0x800) {
        out += static_cast<char>(0xC0 | (codePoint >> 6));
        out += static_cast<char>(0x80 | (codePoint & 0x3F));
    } else if (codePoint < 0x10000) {
        out += static_cast<char>(0xE0 | (codePoint >> 12));
        out += static_cast<char>(0x80 | ((codePoint >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (codePoint & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (codePoint >> 18));
        out += static_cast<char>(0x80 | ((codePoint >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((codePoint >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (codePoint & 0x3F));
    }
}

// UTF-16LE to UTF-8, up to the first U+0000 (the address was a C string once); nothing for an
// odd byte count or an unpaired surrogate.
std::optional<std::string> utf8FromUtf16le(const std::vector<unsigned char>& bytes) {
    if (bytes.size() % 2 != 0) {
        return std::nullopt;
    }
    std::string out;
    for (std::size_t i = 0; i < bytes.size(); i += 2) {
        std::uint32_t unit = bytes[i] | (static_cast<std::uint32_t>(bytes[i + 1]) << 8);
        if (unit == 0) {
            break;
        }
        if (unit >= 0xDC00 && unit <= 0xDFFF) {
            return std::nullopt;
        }
        if (unit >= 0xD800 && unit <= 0xDBFF) {
            if (i + 3 >= bytes.size()) {
                return std::nullopt;
            }
            const std::uint32_t low = bytes[i + 2] | (static_cast<std::uint32_t>(bytes[i + 3]) << 8);
            if (low < 0xDC00 || low > 0xDFFF) {
                return std::nullopt;
            }
            unit = 0x10000 + ((unit - 0xD800) << 10) + (low - 0xDC00);
            i += 2;
        }
        appendUtf8(out, unit);
    }
    return out;
}

// UTF-8 to UTF-16LE; nothing for text that is not well-formed UTF-8.
std::optional<std::string> utf16leFromUtf8(std::string_view text) {
    std::string out;
    const auto put = [&out](std::uint32_t unit) {
        out += static_cast<char>(unit & 0xFF);
        out += static_cast<char>(unit >> 8);
    };
    for (std::size_t i = 0; i < text.size();) {
        const auto lead = static_cast<unsigned char>(text[i]);
        std::size_t length = 0;
        std::uint32_t codePoint = 0;
        if (lead < 0x80) {
            length = 1;
            codePoint = lead;
        } else if (lead >= 0xC2 && lead <= 0xDF) {
            length = 2;
            codePoint = lead & 0x1F;
        } else if (lead >= 0xE0 && lead <= 0xEF) {
            length = 3;
            codePoint = lead & 0x0F;
        } else if (lead >= 0xF0 && lead <= 0xF4) {
            length = 4;
            codePoint = lead & 0x07;
        } else {
            return std::nullopt;
        }
        if (i + length > text.size()) {
            return std::nullopt;
        }
        for (std::size_t k = 1; k < length; ++k) {
            const auto next = static_cast<unsigned char>(text[i + k]);
            if ((next & 0xC0) != 0x80) {
                return std::nullopt;
            }
            codePoint = (codePoint << 6) | (next & 0x3F);
        }
        constexpr std::uint32_t smallest[] = {0, 0, 0x80, 0x800, 0x10000};
        if (codePoint < smallest[length] || codePoint > 0x10FFFF ||
            (codePoint >= 0xD800 && codePoint <= 0xDFFF)) {
            return std::nullopt;
        }
        if (codePoint >= 0x10000) {
            put(0xD800 + ((codePoint - 0x10000) >> 10));
            put(0xDC00 + ((codePoint - 0x10000) & 0x3FF));
        } else {
            put(codePoint);
        }
        i += length;
    }
    return out;
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
    return utf8FromUtf16le(plain).value_or(std::string());
}

bool isUpdatePublicKey(std::string_view publicKeyPem) {
    const Pkey key = readPublicKey(publicKeyPem);
    return key && EVP_PKEY_get_base_id(key.get()) == EVP_PKEY_RSA &&
           EVP_PKEY_get_size(key.get()) == kUrlBlockBytes;
}

EncryptedUrl encryptDownloadUrl(std::string_view url, std::string_view privateKeyPem) {
    const Pkey key = readPrivateKey(privateKeyPem);
    if (!key) {
        return {{}, "cannot read the private key (an unencrypted PEM key is needed)"};
    }
    if (EVP_PKEY_get_base_id(key.get()) != EVP_PKEY_RSA || EVP_PKEY_get_size(key.get()) != kUrlBlockBytes) {
        return {{}, "the private key must be a 4096-bit RSA key"};
    }
    const auto text = utf16leFromUtf8(url);
    if (!text || text->empty()) {
        return {{}, "the address must be non-empty UTF-8 text"};
    }
    EncryptedUrl result;
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
            return {{}, "cannot encrypt the address with this key"};
        }
        result.hex += hexFromBytes(block.data(), written);
    }
    return result;
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
