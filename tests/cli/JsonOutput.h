#pragma once

#include <gtest/gtest.h>
#include <json/json.h>
#include <memory>
#include <string>

// The JSON quenmar-cli printed, parsed; a parse failure fails the test that asked.
namespace quenmar::test {

inline Json::Value parseJson(const std::string& text) {
    Json::CharReaderBuilder builder;
    std::unique_ptr<Json::CharReader> reader(builder.newCharReader());
    Json::Value root;
    std::string errors;
    EXPECT_TRUE(reader->parse(text.data(), text.data() + text.size(), &root, &errors)) << errors;
    return root;
}

} // namespace quenmar::test
