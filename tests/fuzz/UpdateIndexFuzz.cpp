// Fuzz target for the update index: any body the update server (or whoever answers in its
// place) sends is parsed, turned into an offer only when it keeps the index's rules, and the
// offer's texts are laid out as the update window shows them.
#include "FuzzCheck.h"
#include "update/UpdateCheck.h"
#include "update/UpdateIndex.h"
#include "update/UpdateKey.h"
#include "update/UpdateWindowModel.h"

#include <cstddef>
#include <cstdint>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace quenmar::update;
    using quenmar::test::fuzzCheck;
    const auto index = parseUpdateIndex(std::string_view(reinterpret_cast<const char*>(data), size));
    if (!index) {
        (void)updateErrorMessage(index.error());
        return 0;
    }
    const auto offer = makeUpdateOffer(*index, updatePublicKeyPem(), "/nonexistent");
    if (!offer) {
        (void)updateErrorMessage(offer.error());
        return 0;
    }
    // Only what the window can offer comes through: a newer release, a possible size, and a
    // fingerprint that makes a plain file name in the installer folder.
    fuzzCheck(offer->md5.size() == 32 && isFingerprintText(offer->md5), "the fingerprint is 32 hex digits");
    fuzzCheck(offer->installerPath.parent_path() == "/nonexistent", "the installer stays in its folder");
    fuzzCheck(index->ver > quenmar::kReleaseNumber, "only a newer release is offered");
    fuzzCheck(offer->size >= 0 && offer->size <= kMaxInstallerBytes, "the size is possible");
    const UpdateWindowModel model(*offer);
    fuzzCheck(model.lines().size() == std::size(kLineTemplates), "the window shows its six lines");
    return 0;
}
