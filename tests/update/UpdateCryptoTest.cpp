#include "update/UpdateCrypto.h"

#include "UpdateTestKit.h"
#include "update/UpdateKey.h"

#include <gtest/gtest.h>

namespace quenmar::update {
namespace {

using test::updateTestKeys;

std::string encrypt(const std::string& url) {
    const auto encrypted = encryptDownloadUrl(url, updateTestKeys().publisher.privatePem);
    EXPECT_EQ(test::errorOf(encrypted), "");
    return encrypted.ok() ? *encrypted : std::string();
}

std::string decode(const std::string& hex) {
    return decodeDownloadUrl(hex, updateTestKeys().publisher.publicPem);
}

TEST(UpdateCryptoTest, AddressRoundTrip) {
    const std::string url = "https://dl.example.test/wnx/setup.exe";
    const std::string hex = encrypt(url);
    EXPECT_EQ(hex.size(), 1024u); // one block of 512 bytes
    EXPECT_EQ(hex.find_first_not_of("0123456789ABCDEF"), std::string::npos);
    EXPECT_EQ(decode(hex), url);
}

// 251 UTF-16 code units are 502 bytes: more than one block holds.
TEST(UpdateCryptoTest, TwoBlockAddress) {
    const std::string url = "https://dl.example.test/" + std::string(227, 'a');
    ASSERT_EQ(url.size(), 251u);
    const std::string hex = encrypt(url);
    EXPECT_EQ(hex.size(), 2048u);
    EXPECT_EQ(decode(hex), url);
}

TEST(UpdateCryptoTest, NonAsciiAddressAndLowerCaseHex) {
    // A CJK path and a character outside the BMP (a surrogate pair in UTF-16).
    const std::string url = "https://dl.example.test/更新/\xF0\x9F\x98\x80.exe";
    std::string hex = encrypt(url);
    for (char& c : hex) {
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    }
    EXPECT_EQ(decode(hex), url);
}

// The publisher may also use the openssl command; its raw private-key encryption must
// decode the same way.
TEST(UpdateCryptoTest, DecodesWhatTheOpensslCommandEncrypts) {
    test::TempFolder dir;
    const std::string plain = dir.file("plain");
    const std::string cipher = dir.file("cipher");
    ASSERT_TRUE(test::writeFile(plain, std::string("h\0t\0t\0p\0s\0:\0/\0/\0x\0/\0", 20)));
    ASSERT_TRUE(
        test::runProgram({"openssl", "pkeyutl", "-sign", "-inkey", updateTestKeys().publisher.privateKeyFile,
                          "-pkeyopt", "rsa_padding_mode:pkcs1", "-in", plain, "-out", cipher})
            .succeeded() ||
        test::runProgram({"openssl", "rsautl", "-sign", "-inkey", updateTestKeys().publisher.privateKeyFile,
                          "-in", plain, "-out", cipher})
            .succeeded());
    const std::string bytes = test::readFile(cipher).value_or("");
    ASSERT_EQ(bytes.size(), 512u);
    std::string hex;
    for (unsigned char c : bytes) {
        constexpr char digits[] = "0123456789ABCDEF";
        hex += digits[c >> 4];
        hex += digits[c & 15];
    }
    EXPECT_EQ(decode(hex), "https://x/");
}

struct UndecodableCase {
    const char* name;
    std::string hex;
    std::string publicPem;
};

class UndecodableAddressTest : public ::testing::TestWithParam<UndecodableCase> {};

TEST_P(UndecodableAddressTest, GivesAnEmptyAddress) {
    EXPECT_EQ(decodeDownloadUrl(GetParam().hex, GetParam().publicPem), "");
}

std::vector<UndecodableCase> undecodableCases() {
    const auto& keys = updateTestKeys();
    const std::string good = encrypt("https://dl.example.test/a");
    std::string flipped = good;
    flipped[700] = flipped[700] == '0' ? '1' : '0';
    const std::string strangers = encryptDownloadUrl("https://evil.test/", keys.stranger.privatePem).value();
    return {
        {"UnrelatedKey", strangers, keys.publisher.publicPem},
        {"TamperedBlock", flipped, keys.publisher.publicPem},
        {"OddLength", good.substr(1), keys.publisher.publicPem},
        {"NotHex", good.substr(0, 1022) + "G0", keys.publisher.publicPem},
        {"ShortBlock", good.substr(0, 1000), keys.publisher.publicPem},
        {"Empty", "", keys.publisher.publicPem},
        {"NoKey", good, ""},
        {"BrokenKey", good, "-----BEGIN PUBLIC KEY-----\nAAAA\n-----END PUBLIC KEY-----\n"},
        {"PrivateKeyAsPublic", good, keys.publisher.privatePem},
    };
}

INSTANTIATE_TEST_SUITE_P(Addresses, UndecodableAddressTest, ::testing::ValuesIn(undecodableCases()),
                         [](const auto& testCase) { return std::string(testCase.param.name); });

// A block that does not decrypt adds nothing; the blocks that do still count.
TEST(UpdateCryptoTest, BadSecondBlockDropsOnlyItsPart) {
    const std::string url = "https://dl.example.test/" + std::string(236, 'b'); // 260 code units
    const std::string hex = encrypt(url);
    ASSERT_EQ(hex.size(), 2048u);
    std::string tampered = hex;
    tampered[1500] = tampered[1500] == 'F' ? 'E' : 'F';
    EXPECT_EQ(decode(tampered), url.substr(0, 250));
}

TEST(UpdateCryptoTest, PublishingNeedsA4096BitPrivateKey) {
    const auto& keys = updateTestKeys();
    EXPECT_EQ(test::errorOf(encryptDownloadUrl("https://x/", keys.small.privatePem)),
              "the private key must be a 4096-bit RSA key");
    EXPECT_EQ(test::errorOf(encryptDownloadUrl("https://x/", keys.publisher.publicPem)),
              "cannot read the private key (an unencrypted PEM key is needed)");
    EXPECT_EQ(test::errorOf(encryptDownloadUrl("", keys.publisher.privatePem)),
              "the address must be non-empty UTF-8 text");
    EXPECT_EQ(test::errorOf(encryptDownloadUrl("\xFF", keys.publisher.privatePem)),
              "the address must be non-empty UTF-8 text");
}

TEST(UpdateCryptoTest, ProgramKeyMatchesThePublishedFile) {
    const auto file = test::readFile(QUENMAR_UPDATE_PUBLIC_KEY_FILE);
    ASSERT_TRUE(file);
    EXPECT_EQ(updatePublicKeyPem(), *file);
    EXPECT_TRUE(isUpdatePublicKey(updatePublicKeyPem()));
    EXPECT_TRUE(isUpdatePublicKey(updateTestKeys().publisher.publicPem));
    EXPECT_FALSE(isUpdatePublicKey(updateTestKeys().small.publicPem));
    EXPECT_FALSE(isUpdatePublicKey(updateTestKeys().publisher.privatePem));
    // A key that reads: an address of the wrong key decodes to nothing rather than failing.
    EXPECT_EQ(decodeDownloadUrl(encrypt("https://x/"), updatePublicKeyPem()), "");
}

TEST(UpdateCryptoTest, FingerprintIsUpperCaseMd5) {
    test::TempFolder dir;
    ASSERT_TRUE(test::writeFile(dir.file("hello"), "hello"));
    ASSERT_TRUE(test::writeFile(dir.file("empty"), ""));
    EXPECT_EQ(fileFingerprint(dir.file("hello")), "5D41402ABC4B2A76B9719D911017C592");
    EXPECT_EQ(fileFingerprint(dir.file("empty")), "D41D8CD98F00B204E9800998ECF8427E");
    EXPECT_EQ(fileFingerprint(dir.file("missing")), std::nullopt);
    EXPECT_EQ(fileFingerprint(dir.path()), std::nullopt);
}

TEST(UpdateCryptoTest, VerifyComparesExactly) {
    test::TempFolder dir;
    ASSERT_TRUE(test::writeFile(dir.file("hello"), "hello"));
    EXPECT_TRUE(verifyFingerprint("5D41402ABC4B2A76B9719D911017C592", dir.file("hello")));
    EXPECT_FALSE(verifyFingerprint("5d41402abc4b2a76b9719d911017c592", dir.file("hello")));
    EXPECT_FALSE(verifyFingerprint("5D41402ABC4B2A76B9719D911017C59", dir.file("hello")));
    // A missing file is not an empty one: the fingerprint of no bytes must not pass.
    EXPECT_FALSE(verifyFingerprint("D41D8CD98F00B204E9800998ECF8427E", dir.file("missing")));
}

} // namespace
} // namespace quenmar::update
