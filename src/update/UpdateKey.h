#pragma once

#include <string_view>

namespace quenmar::update {

/// The public half of the update key pair (RSA 4096, PEM "PUBLIC KEY"), built in from
/// resources/update/public.pem, the file the publishing tools read too. The private half never
/// leaves the publisher.
std::string_view updatePublicKeyPem();

} // namespace quenmar::update
