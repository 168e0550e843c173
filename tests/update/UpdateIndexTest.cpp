#include "update/UpdateIndex.h"

#include "UpdateTestKit.h"
#include "update/UpdateCheck.h"

#include <gtest/gtest.h>

namespace quenmar::update {
namespace {

constexpr const char* kFullIndex = R"({"name":"wnx","ver":3,"verns":"V1.0.2","day":"2024年5月1日",)"
                                   R"("url":"ABCD","md5":"0123456789ABCDEF0123456789ABCDEF","body":"修正",)"
                                   R"("size":5242880})";

TEST(UpdateIndexTest, ReadsEveryMember) {
    const UpdateIndexResult result = parseUpdateIndex(kFullIndex);
    ASSERT_TRUE(result) << test::errorOf(result);
    const UpdateIndex& index = *result;
    EXPECT_EQ(index.name, "wnx");
    EXPECT_EQ(index.ver, 3);
    EXPECT_EQ(index.verns, "V1.0.2");
    EXPECT_EQ(index.day, "2024年5月1日");
    EXPECT_EQ(index.url, "ABCD");
    EXPECT_EQ(index.md5, "0123456789ABCDEF0123456789ABCDEF");
    EXPECT_EQ(index.body, "修正");
    EXPECT_EQ(index.size, 5242880);
}

TEST(UpdateIndexTest, SizeIsOptional) {
    const auto result =
        parseUpdateIndex(R"({"name":"","ver":2,"verns":"","day":"","url":"","md5":"","body":""})");
    ASSERT_TRUE(result);
    EXPECT_EQ(result->size, 0);
}

class MissingMemberTest : public ::testing::TestWithParam<const char*> {};

// Every required member, dropped in turn (or spelt in another case, which is not the member).
TEST_P(MissingMemberTest, MakesNoIndex) {
    const std::string member = GetParam();
    std::string json = kFullIndex;
    const std::string key = "\"" + member + "\"";
    std::string renamed = "\"";
    renamed.append(1, static_cast<char>(member[0] - 32)).append(member.substr(1)).append("\"");
    json.replace(json.find(key), key.size(), renamed);
    const auto result = parseUpdateIndex(json);
    EXPECT_FALSE(result);
    EXPECT_EQ(test::errorOf(result), "the update index lacks " + key);
}

INSTANTIATE_TEST_SUITE_P(Required, MissingMemberTest,
                         ::testing::Values("name", "ver", "verns", "day", "url", "md5", "body"));

struct NumberCase {
    const char* json;
    std::int64_t value;
};

class NumericMemberTest : public ::testing::TestWithParam<NumberCase> {};

TEST_P(NumericMemberTest, ReadsAsInteger) {
    const NumberCase& c = GetParam();
    const std::string json =
        std::string(R"({"name":"","verns":"","day":"","url":"","md5":"","body":"","ver":)") + c.json +
        R"(,"size":)" + c.json + "}";
    const auto result = parseUpdateIndex(json);
    ASSERT_TRUE(result) << test::errorOf(result);
    EXPECT_EQ(result->ver, c.value);
    EXPECT_EQ(result->size, c.value);
}

INSTANTIATE_TEST_SUITE_P(
    Forms, NumericMemberTest,
    ::testing::Values(NumberCase{"2", 2}, NumberCase{"-5", -5}, NumberCase{"2.9", 2}, NumberCase{"-2.9", -2},
                      NumberCase{"true", 1}, NumberCase{"false", 0}, NumberCase{R"("5242880")", 5242880},
                      NumberCase{R"(" 7 ")", 7}, NumberCase{R"("+8")", 8}, NumberCase{R"("3.7")", 3},
                      NumberCase{R"("9223372036854775807")", 9223372036854775807},
                      // Values jsoncpp would throw on, and text that is no number.
                      NumberCase{"18446744073709551615", 0}, NumberCase{"1e300", 0},
                      NumberCase{R"("1e300")", 0}, NumberCase{R"("99999999999999999999")", 0},
                      NumberCase{R"("abc")", 0}, NumberCase{R"("12abc")", 0}, NumberCase{R"("0x1F")", 0},
                      NumberCase{R"("nan")", 0}, NumberCase{R"("")", 0}, NumberCase{"null", 0},
                      NumberCase{"[2]", 0}, NumberCase{R"({"v":2})", 0}));

TEST(UpdateIndexTest, TextMembersOfOtherTypes) {
    const auto result =
        parseUpdateIndex(R"({"name":1,"ver":2,"verns":2.5,"day":true,"url":null,"md5":[],"body":{"a":1}})");
    ASSERT_TRUE(result);
    EXPECT_EQ(result->name, "1");
    EXPECT_EQ(result->verns, "2.5");
    EXPECT_EQ(result->day, "true");
    EXPECT_EQ(result->url, "");
    EXPECT_EQ(result->md5, "");
    EXPECT_EQ(result->body, "");
}

struct BadDocumentCase {
    const char* name;
    std::string json;
    const char* error;
};

class BadDocumentTest : public ::testing::TestWithParam<BadDocumentCase> {};

TEST_P(BadDocumentTest, MakesNoIndex) {
    const auto result = parseUpdateIndex(GetParam().json);
    EXPECT_FALSE(result);
    EXPECT_EQ(test::errorOf(result), GetParam().error);
}

INSTANTIATE_TEST_SUITE_P(
    Documents, BadDocumentTest,
    ::testing::Values(BadDocumentCase{"Empty", "", "the update index is not valid JSON"},
                      BadDocumentCase{"ErrorPage", "<html>404</html>", "the update index is not valid JSON"},
                      BadDocumentCase{"TrailingText", std::string(kFullIndex) + "x",
                                      "the update index is not valid JSON"},
                      BadDocumentCase{"Array", "[1,2]", "the update index is not a JSON object"},
                      BadDocumentCase{"DeepNesting", std::string(5000, '[') + std::string(5000, ']'),
                                      "the update index is not valid JSON"},
                      BadDocumentCase{"TooLarge", std::string(2u << 20, ' ') + kFullIndex,
                                      "the update index is too large"}),
    [](const auto& testCase) { return std::string(testCase.param.name); });

struct OfferCase {
    std::int64_t ver;
    std::int64_t size;
    const char* error; // empty: offered
};

class OfferValueTest : public ::testing::TestWithParam<OfferCase> {};

// What the index says of its release must be possible before the window offers it.
TEST_P(OfferValueTest, RefusesImpossibleVersionsAndSizes) {
    UpdateIndex index = *parseUpdateIndex(kFullIndex);
    index.ver = GetParam().ver;
    index.size = GetParam().size;
    EXPECT_EQ(test::errorOf(makeUpdateOffer(index, "", "/tmp")), GetParam().error);
}

INSTANTIATE_TEST_SUITE_P(
    Values, OfferValueTest,
    ::testing::Values(
        OfferCase{2, 0, ""}, OfferCase{2, 4294967296, ""},
        OfferCase{0, 10, "the version number \"ver\" must be a positive integer (ver 0)"},
        OfferCase{-3, 10, "the version number \"ver\" must be a positive integer (ver -3)"},
        OfferCase{1, -1, "no newer version (ver 1)"},
        OfferCase{2, -1, "the installer size \"size\" must be from 0 to 4 GiB (size -1)"},
        OfferCase{2, 4294967297, "the installer size \"size\" must be from 0 to 4 GiB (size 4294967297)"},
        OfferCase{2, INT64_MAX,
                  "the installer size \"size\" must be from 0 to 4 GiB (size 9223372036854775807)"}));

} // namespace
} // namespace quenmar::update
