#pragma once

#include "TestServer.h"

#include <cstdlib>
#include <string>

// Fixture pages of tests/data/draws, as bytes (in their GB encodings) or decoded.
namespace quenmar::test {

inline std::string drawsDataDir() {
    const char* root = std::getenv("QUENMAR_TEST_DATA");
    return std::string(root != nullptr ? root : "tests/data") + "/draws";
}

inline std::string fixtureBytes(const std::string& name) {
    return readFile(drawsDataDir() + "/" + name).value_or("");
}

} // namespace quenmar::test
