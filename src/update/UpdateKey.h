#pragma once

#include <string_view>

namespace quenmar::update {

/// The public half of the update key pair (RSA 4096, PEM "PUBLIC KEY"). The private half
/// never leaves the publisher; resources/update/public.pem holds the same text for the
/// publishing tools.
std::string_view updatePublicKeyPem();

} // namespace quenmar::update
