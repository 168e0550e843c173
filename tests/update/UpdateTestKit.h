#pragma once

#include "Files.h"
#include "Programs.h"
#include "TempFolder.h"
#include "TestServer.h"
#include "base/Result.h"
#include "update/UpdateError.h"

#include <string>

// Keys the update tests make for themselves: a 4096-bit pair standing for the publisher's,
// and an unrelated pair whose private half encrypts addresses the program must not accept.
namespace quenmar::test {

struct TestKeyPair {
    std::string privateKeyFile;
    std::string privatePem;
    std::string publicPem;
};

struct UpdateTestKeys {
    TestKeyPair publisher;
    TestKeyPair stranger;
    TestKeyPair small; // 2048 bits: blocks of the wrong size
};

/// Made once per test run with the openssl command; an assertion fails when that is impossible.
const UpdateTestKeys& updateTestKeys();

/// The reason a result of the update layer gives in words; empty when it holds a value.
template <typename T>
std::string errorOf(const Result<T, update::UpdateError>& result) {
    return result ? std::string() : update::updateErrorText(result.error());
}

} // namespace quenmar::test
