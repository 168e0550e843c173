#pragma once

#include <cstddef>
#include <string_view>

// What a page may cost the HTML parser, and the estimate of that cost made from its tags
// alone before the parser ever sees it.
namespace quenmar::support {

// The parser's time grows with the square of the nesting depth, and with the depth times
// the number of end tags that match nothing open; both are bounded before it starts. Some
// misnested markup makes it create far more nodes than the page has tags; that is bounded
// while it parses.
struct HtmlLimits {
    std::size_t maxBytes = 4u << 20;      // results pages are well under 1 MiB
    std::size_t maxDepth = 1024;          // element nesting; real pages stay under 100
    std::size_t maxStackWork = 8'000'000; // see HtmlShape::stackWork; a large real page needs < 1M
    std::size_t maxNodes = 200'000;       // nodes the parser creates; a 200 KB page has ~20,000
};

/// What a page's tags will cost the parser, estimated from the tags alone (void elements,
/// self-closed tags, raw-text elements and the implied end of an open p, li, option, dt, dd,
/// tr, td or th at its next sibling are understood).
struct HtmlShape {
    std::size_t depth = 0;     // the deepest element nesting
    std::size_t stackWork = 0; // open elements the parser passes over: the depth at each start
                               // tag and at each end of a formatting element, plus the elements
                               // searched for each end tag
};

/// Measures `html`, stopping as soon as the depth or the work passes `limits`.
HtmlShape measureHtmlShape(std::string_view html, const HtmlLimits& limits);

} // namespace quenmar::support
