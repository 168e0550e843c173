#pragma once

#include "support/HtmlShape.h"

#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// A parsed HTML page with CSS selector queries: the one place that includes the HTML parser.
// Pages come from sites we do not control, so the parser only ever sees pages within
// `HtmlLimits` (HtmlShape.h), and only selectors of the few forms the program uses reach its
// selector engine (see isSupportedSelector). HtmlNode and HtmlDocument share this pair of
// files: both are the parser's, which only HtmlDocument.cpp includes.
namespace quenmar::support {

namespace detail {
struct HtmlDocumentState;
}

/// One node of a parsed document: an element or a text node. A plain handle, valid while its
/// document lives; a default-constructed handle is null and answers every query emptily.
class HtmlNode {
public:
    HtmlNode() = default;

    bool isNull() const { return m_node == nullptr; }
    bool isElement() const;
    bool isText() const;

    /// The attribute's value; empty when the node has no such attribute.
    std::string attribute(std::string_view name) const;

    /// The text of this node's own text children, in order, without that of its descendant
    /// elements. For a text node, its text.
    std::string ownText() const;

    /// All descendant text in document order. Text nodes of blanks alone (the indentation
    /// between tags) are left out here and in ownText, as they are among the children.
    std::string text() const;

    /// The child elements and the child text nodes that hold more than blanks, in order;
    /// comments are not children.
    std::vector<HtmlNode> children() const;

    /// The descendant elements matching `selector`, in document order (this node itself is
    /// never among them). Empty for an unsupported selector.
    std::vector<HtmlNode> find(std::string_view selector) const;

private:
    friend struct detail::HtmlDocumentState;
    HtmlNode(const detail::HtmlDocumentState* state, void* node) : m_state(state), m_node(node) {}

    const detail::HtmlDocumentState* m_state = nullptr;
    void* m_node = nullptr;
};

class HtmlDocument {
public:
    /// Parses UTF-8 `html`. Nothing when the page is empty, exceeds `limits`, or the parser
    /// fails.
    static std::optional<HtmlDocument> parse(std::string_view html, const HtmlLimits& limits = {});

    HtmlDocument(HtmlDocument&&) noexcept;
    HtmlDocument& operator=(HtmlDocument&&) noexcept;
    ~HtmlDocument();

    /// The elements of the whole document matching `selector`, in document order.
    std::vector<HtmlNode> find(std::string_view selector) const;

    /// The document node.
    HtmlNode root() const;

private:
    explicit HtmlDocument(std::unique_ptr<detail::HtmlDocumentState> state);
    std::unique_ptr<detail::HtmlDocumentState> m_state;
};

/// True for the selector forms the program queries with: compound selectors of an optional
/// tag name (or "*"), ".class" parts and ":nth-child(N)" parts, joined by " " or ">". The
/// selector engine crashes on some malformed selectors, so nothing else is handed to it.
bool isSupportedSelector(std::string_view selector);

} // namespace quenmar::support
