// Fuzz target for the download address of the update index: the hexadecimal text, cut into
// blocks and recovered with the program's own update key, and the UTF-16LE plaintext a block
// gives (no input can forge a block that the key recovers, so that step is fed directly).
// The first byte chooses which one the rest goes to.
#include "FuzzCheck.h"
#include "base/Utf8.h"
#include "update/UpdateCrypto.h"
#include "update/UpdateKey.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace quenmar::update;
    using quenmar::test::fuzzCheck;
    if (size == 0) {
        return 0;
    }
    const std::string_view rest(reinterpret_cast<const char*>(data) + 1, size - 1);
    const std::string address =
        data[0] % 2 == 0 ? decodeDownloadUrl(rest, updatePublicKeyPem()) : downloadUrlFromPlaintext(rest);
    fuzzCheck(quenmar::utf8::isValid(address), "an address is valid UTF-8");
    fuzzCheck(address.find('\0') == std::string::npos, "an address ends at its first U+0000");
    return 0;
}
