#pragma once

#include "TestServer.h"

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

} // namespace quenmar::test
