#include "support/HtmlDocument.h"

#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace quenmar::support {
namespace {

std::vector<std::string> ownTexts(const std::vector<HtmlNode>& nodes) {
    std::vector<std::string> texts;
    for (const HtmlNode& node : nodes) {
        texts.push_back(node.ownText());
    }
    return texts;
}

HtmlDocument parsed(std::string_view html) {
    auto document = HtmlDocument::parse(html);
    EXPECT_TRUE(document.has_value());
    return std::move(*document);
}

TEST(HtmlDocument, OwnTextLeavesOutDescendantsWhileTextGathersThem) {
    const auto doc = parsed("<div class=t>2024123期<em>2024-05-01</em> tail</div>");
    const auto divs = doc.find("div");
    ASSERT_EQ(divs.size(), 1u);
    EXPECT_EQ(divs[0].ownText(), "2024123期 tail");
    EXPECT_EQ(divs[0].text(), "2024123期2024-05-01 tail");
}

TEST(HtmlDocument, BlankTextNodesAreNeitherTextNorChildren) {
    const auto doc = parsed("<div>\n  <span>01</span>\n  <!-- c -->\n  <span>02</span>\n  x\n</div>");
    const HtmlNode div = doc.find("div").at(0);
    EXPECT_EQ(div.text(), "0102\n  x\n");
    const auto children = div.children();
    ASSERT_EQ(children.size(), 3u);
    EXPECT_TRUE(children[0].isElement());
    EXPECT_EQ(children[1].ownText(), "02");
    EXPECT_TRUE(children[2].isText());
    EXPECT_EQ(children[2].ownText(), "\n  x\n");
    EXPECT_EQ(children[2].attribute("class"), "");
}

TEST(HtmlDocument, AttributesReadWholeAndEmptyWhenAbsent) {
    const auto doc = parsed("<span class=\"red ball\" data-x=''>1</span>");
    const HtmlNode span = doc.find("span").at(0);
    EXPECT_EQ(span.attribute("class"), "red ball");
    EXPECT_EQ(span.attribute("data-x"), "");
    EXPECT_EQ(span.attribute("id"), "");
}

TEST(HtmlDocument, NthChildCountsElementsOnlyAndTheParserAddsTbody) {
    // No <tbody> is written: the parser inserts it. Comments and blanks between rows do not
    // count as children.
    const auto doc =
        parsed("<table class=kjtable><tr><td>a</td></tr> <!-- x -->\n<tr><td>b1</td><td>b2</td></tr>"
               "</table><table class=kjtable><tbody></tbody><tbody><tr><td>c</td></tr></tbody></table>");
    EXPECT_EQ(ownTexts(doc.find(".kjtable > tbody:nth-child(1) > tr:nth-child(2) > td")),
              (std::vector<std::string>{"b1", "b2"}));
    EXPECT_EQ(ownTexts(doc.find(".kjtable > tbody:nth-child(2) > tr:nth-child(1) > td")),
              (std::vector<std::string>{"c"}));
    EXPECT_TRUE(doc.find(".kjtable > tbody:nth-child(3) > tr > td").empty());
}

TEST(HtmlDocument, NodeFindSearchesDescendantsInDocumentOrderWithoutItself) {
    const auto doc = parsed("<div id=o><a>1</a><div><a>2</a><p><a>3</a></p></div></div><a>4</a>");
    const auto divs = doc.find("div");
    ASSERT_EQ(divs.size(), 2u);
    EXPECT_EQ(ownTexts(divs[0].find("a")), (std::vector<std::string>{"1", "2", "3"}));
    EXPECT_EQ(divs[0].find("div").size(), 1u);
    EXPECT_EQ(ownTexts(doc.find("a")), (std::vector<std::string>{"1", "2", "3", "4"}));
}

TEST(HtmlDocument, NoBreakSpaceEntityArrivesAsU00A0) {
    const auto doc = parsed("<p>a&nbsp;b</p>");
    EXPECT_EQ(doc.find("p").at(0).ownText(), "a\xC2\xA0"
                                             "b");
}

TEST(HtmlDocument, NullNodeAnswersEmptily) {
    const HtmlNode node;
    EXPECT_TRUE(node.isNull());
    EXPECT_EQ(node.attribute("class"), "");
    EXPECT_EQ(node.ownText(), "");
    EXPECT_EQ(node.text(), "");
    EXPECT_TRUE(node.children().empty());
    EXPECT_TRUE(node.find("a").empty());
}

TEST(HtmlDocument, RefusesEmptyOversizedAndDeepPages) {
    EXPECT_FALSE(HtmlDocument::parse("").has_value());
    EXPECT_FALSE(HtmlDocument::parse(std::string(101, 'x'), HtmlLimits{100, 10, 1000, 1000}).has_value());
    EXPECT_TRUE(HtmlDocument::parse(std::string(100, 'x'), HtmlLimits{100, 10, 1000, 1000}).has_value());
    std::string deep;
    for (int i = 0; i < 11; ++i) {
        deep += "<div>";
    }
    EXPECT_FALSE(HtmlDocument::parse(deep, HtmlLimits{1000, 10, 1000, 1000}).has_value());
    EXPECT_TRUE(HtmlDocument::parse(deep.substr(5), HtmlLimits{1000, 10, 1000, 1000}).has_value());
}

TEST(HtmlDocument, UnsupportedSelectorsFindNothing) {
    const auto doc = parsed("<div><a>1</a></div>");
    EXPECT_TRUE(doc.find("div:not(").empty());
    EXPECT_TRUE(doc.find("").empty());
    EXPECT_EQ(doc.find("div > a").size(), 1u);
}

struct SelectorCase {
    const char* selector;
    bool supported;
};

class SupportedSelector : public ::testing::TestWithParam<SelectorCase> {};

TEST_P(SupportedSelector, AcceptsOnlyTheFormsTheProgramUses) {
    EXPECT_EQ(isSupportedSelector(GetParam().selector), GetParam().supported) << GetParam().selector;
}

INSTANTIATE_TEST_SUITE_P(
    Forms, SupportedSelector,
    ::testing::Values(SelectorCase{"div", true}, SelectorCase{"a", true}, SelectorCase{"span", true},
                      SelectorCase{".kjtable > tbody:nth-child(1) > tr:nth-child(3) > td", true},
                      SelectorCase{"div.more-time-cont a", true}, SelectorCase{"*", true},
                      SelectorCase{"td>span", true}, SelectorCase{"", false}, SelectorCase{"div:not(", false},
                      SelectorCase{"tr:nth-child()", false}, SelectorCase{"tr:nth-child(2n+1)", false},
                      SelectorCase{"tr:nth-child(1234567)", false}, SelectorCase{"a[href]", false},
                      SelectorCase{"a, b", false}, SelectorCase{"div >", false}, SelectorCase{"> div", false},
                      SelectorCase{".", false}, SelectorCase{"#id", false}, SelectorCase{"div ", false}));

struct DepthCase {
    const char* html;
    std::size_t depth;
};

class NestingDepth : public ::testing::TestWithParam<DepthCase> {};

TEST_P(NestingDepth, EstimatesFromTheTags) {
    EXPECT_EQ(measureHtmlShape(GetParam().html, {}).depth, GetParam().depth);
}

INSTANTIATE_TEST_SUITE_P(
    Pages, NestingDepth,
    ::testing::Values(DepthCase{"text only", 0}, DepthCase{"<div><div></div><div><p>x</p></div></div>", 3},
                      DepthCase{"<DIV><Div></div></DIV><div>", 2}, DepthCase{"<br><img src=x><hr/><x/>", 0},
                      DepthCase{"<ul><li>a<li>b<li>c</ul>", 2},
                      DepthCase{"<table><tr><td>a<td>b<tr><td>c</table>", 3},
                      DepthCase{"<script>if (a<b) { '<div><div>' }</script><p>", 1},
                      DepthCase{"<!-- <div><div><div> --><span>", 1},
                      DepthCase{"<!DOCTYPE html><?xml?>< a", 0}, DepthCase{"<div></span></div><div>", 1}));

TEST(HtmlShape, StopsPastTheDepthCap) {
    std::string deep;
    for (int i = 0; i < 100000; ++i) {
        deep += "<b>";
    }
    HtmlLimits limits;
    limits.maxDepth = 50;
    limits.maxStackWork = 1u << 30;
    EXPECT_EQ(measureHtmlShape(deep, limits).depth, 51u);
}

TEST(HtmlShape, CountsTheStackWalksOfTheParser) {
    // Three open divs: each start tag passes the elements open at the time (0 + 1 + 2), an end
    // tag without an open element walks all three, a matched one the elements down to it.
    EXPECT_EQ(measureHtmlShape("<div><div><div></x></x>", {}).stackWork, 3u + 3u + 3u);
    EXPECT_EQ(measureHtmlShape("<div><p><span></p>", {}).stackWork, 3u + 2u);
    // Ending a formatting element walks the whole stack first.
    EXPECT_EQ(measureHtmlShape("<div><b></b>", {}).stackWork, 1u + 2u + 1u);
}

TEST(HtmlDocument, RefusesPagesThatCostTooMuchStackWork) {
    std::string page;
    for (int i = 0; i < 100; ++i) {
        page += "<div>";
    }
    for (int i = 0; i < 1000; ++i) {
        page += "</x>"; // 100 000 elements passed over
    }
    HtmlLimits limits;
    limits.maxStackWork = 100'000;
    EXPECT_FALSE(HtmlDocument::parse(page, limits).has_value());
    limits.maxStackWork = 110'000;
    EXPECT_TRUE(HtmlDocument::parse(page, limits).has_value());
}

TEST(HtmlDocument, RefusesPagesThatMakeTooManyNodes) {
    // Formatting elements left open when their paragraph ends are rebuilt at every later text:
    // 100 of them and 200 short paragraphs make 20 000 nodes from 300 tags.
    std::string page = "<p>";
    for (int i = 0; i < 100; ++i) {
        page += "<b id=" + std::to_string(i) + ">";
    }
    page += "</p>";
    for (int i = 0; i < 200; ++i) {
        page += "<p>x</p>";
    }
    HtmlLimits limits;
    limits.maxNodes = 10'000;
    EXPECT_FALSE(HtmlDocument::parse(page, limits).has_value());
    limits.maxNodes = 100'000;
    EXPECT_TRUE(HtmlDocument::parse(page, limits).has_value());
}

} // namespace
} // namespace quenmar::support
