#include "support/HtmlDocument.h"

// Modest's own headers only: myhtml/api.h redeclares what myhtml/myhtml.h declares, and the
// two together do not compile.
#include <modest/finder/finder.h>
#include <mycss/mycss.h>
#include <mycss/selectors/init.h>
#include <mycss/selectors/list.h>
#include <myhtml/myhtml.h>
#include <utility>

namespace quenmar::support {

namespace detail {

// Everything one parsed page needs, released together. The selector parser and the finder
// belong to the document, so two documents never share mutable parser state.
struct HtmlDocumentState {
    myhtml_t* html = nullptr;
    myhtml_tree_t* tree = nullptr;
    mycss_t* css = nullptr;
    mycss_entry_t* entry = nullptr;
    modest_finder_t* finder = nullptr;

    HtmlDocumentState() = default;
    HtmlDocumentState(const HtmlDocumentState&) = delete;
    HtmlDocumentState& operator=(const HtmlDocumentState&) = delete;

    ~HtmlDocumentState() {
        if (finder != nullptr) {
            modest_finder_destroy(finder, true);
        }
        if (entry != nullptr) {
            mycss_entry_destroy(entry, true);
        }
        if (css != nullptr) {
            mycss_destroy(css, true);
        }
        if (tree != nullptr) {
            myhtml_tree_destroy(tree);
        }
        if (html != nullptr) {
            myhtml_destroy(html);
        }
    }

    HtmlNode wrap(myhtml_tree_node_t* node) const { return HtmlNode(this, node); }

    std::vector<HtmlNode> find(myhtml_tree_node_t* scope, std::string_view selector) const {
        std::vector<HtmlNode> found;
        if (scope == nullptr || !isSupportedSelector(selector)) {
            return found;
        }
        mystatus_t status = MyCORE_STATUS_OK;
        mycss_selectors_t* selectors = mycss_entry_selectors(entry);
        mycss_selectors_list_t* list =
            mycss_selectors_parse(selectors, MyENCODING_UTF_8, selector.data(), selector.size(), &status);
        if (list == nullptr) {
            return found;
        }
        if (status == MyCORE_STATUS_OK && (list->flags & MyCSS_SELECTORS_FLAGS_SELECTOR_BAD) == 0) {
            myhtml_collection_t* collection = nullptr;
            modest_finder_by_selectors_list(finder, scope, list, &collection);
            if (collection != nullptr) {
                found.reserve(collection->length);
                for (std::size_t i = 0; i < collection->length; ++i) {
                    if (collection->list[i] != scope) {
                        found.push_back(wrap(collection->list[i]));
                    }
                }
                myhtml_collection_destroy(collection);
            }
        }
        mycss_selectors_list_destroy(selectors, list, true);
        return found;
    }
};

} // namespace detail

namespace {

constexpr std::size_t kParseChunkBytes = 4 * 1024;

myhtml_tree_node_t* raw(void* node) {
    return static_cast<myhtml_tree_node_t*>(node);
}

bool isElementNode(myhtml_tree_node_t* node) {
    const myhtml_tag_id_t tag = myhtml_node_tag_id(node);
    return tag != MyHTML_TAG__UNDEF && tag != MyHTML_TAG__TEXT && tag != MyHTML_TAG__COMMENT &&
           tag != MyHTML_TAG__DOCTYPE && tag != MyHTML_TAG__END_OF_FILE;
}

std::string_view nodeText(myhtml_tree_node_t* node) {
    std::size_t length = 0;
    const char* text = myhtml_node_text(node, &length);
    return text == nullptr ? std::string_view() : std::string_view(text, length);
}

// The indentation between tags: the HTML blanks (space, tab, LF, FF, CR) alone.
bool isBlank(std::string_view text) {
    return text.find_first_not_of(" \t\n\f\r") == std::string_view::npos;
}

bool isTextNode(myhtml_tree_node_t* node) {
    return myhtml_node_tag_id(node) == MyHTML_TAG__TEXT;
}

bool isContentText(myhtml_tree_node_t* node) {
    return isTextNode(node) && !isBlank(nodeText(node));
}

// The content text below `top` in document order: of its children alone, or (`deep`) of all
// its descendants. A text node is its own text. An iterative walk: the depth is capped before
// parsing, but a loop needs no stack at all.
std::string textBelow(myhtml_tree_node_t* top, bool deep) {
    if (top == nullptr) {
        return {};
    }
    if (isTextNode(top)) {
        return std::string(nodeText(top));
    }
    std::string text;
    myhtml_tree_node_t* node = myhtml_node_child(top);
    while (node != nullptr) {
        if (isContentText(node)) {
            text += nodeText(node);
        }
        if (deep && isElementNode(node) && myhtml_node_child(node) != nullptr) {
            node = myhtml_node_child(node);
            continue;
        }
        while (node != nullptr && node != top && myhtml_node_next(node) == nullptr) {
            node = myhtml_node_parent(node);
        }
        node = (node == nullptr || node == top) ? nullptr : myhtml_node_next(node);
    }
    return text;
}

} // namespace

bool HtmlNode::isElement() const {
    return m_node != nullptr && isElementNode(raw(m_node));
}

bool HtmlNode::isText() const {
    return m_node != nullptr && isTextNode(raw(m_node));
}

std::string HtmlNode::attribute(std::string_view name) const {
    if (!isElement() || name.empty()) {
        return {};
    }
    myhtml_tree_attr_t* attr = myhtml_attribute_by_key(raw(m_node), name.data(), name.size());
    if (attr == nullptr) {
        return {};
    }
    std::size_t length = 0;
    const char* value = myhtml_attribute_value(attr, &length);
    return value == nullptr ? std::string() : std::string(value, length);
}

std::string HtmlNode::ownText() const {
    return textBelow(raw(m_node), false);
}

std::string HtmlNode::text() const {
    return textBelow(raw(m_node), true);
}

std::vector<HtmlNode> HtmlNode::children() const {
    std::vector<HtmlNode> list;
    if (m_node == nullptr || isTextNode(raw(m_node))) {
        return list;
    }
    for (myhtml_tree_node_t* child = myhtml_node_child(raw(m_node)); child != nullptr;
         child = myhtml_node_next(child)) {
        if (isElementNode(child) || isContentText(child)) {
            list.push_back(HtmlNode(m_state, child));
        }
    }
    return list;
}

std::vector<HtmlNode> HtmlNode::find(std::string_view selector) const {
    if (m_state == nullptr || !isElement()) {
        return {};
    }
    return m_state->find(raw(m_node), selector);
}

HtmlDocument::HtmlDocument(std::unique_ptr<detail::HtmlDocumentState> state) : m_state(std::move(state)) {}
HtmlDocument::HtmlDocument(HtmlDocument&&) noexcept = default;
HtmlDocument& HtmlDocument::operator=(HtmlDocument&&) noexcept = default;
HtmlDocument::~HtmlDocument() = default;

std::optional<HtmlDocument> HtmlDocument::parse(std::string_view html, const HtmlLimits& limits) {
    if (html.empty() || html.size() > limits.maxBytes) {
        return std::nullopt;
    }
    if (const HtmlShape shape = measureHtmlShape(html, limits);
        shape.depth > limits.maxDepth || shape.stackWork > limits.maxStackWork) {
        return std::nullopt;
    }
    auto state = std::make_unique<detail::HtmlDocumentState>();
    // Single mode: the default starts parser threads, which a page of a few kilobytes does
    // not need and which would outlive nothing but cost a thread start per page.
    state->html = myhtml_create();
    if (state->html == nullptr ||
        myhtml_init(state->html, MyHTML_OPTIONS_PARSE_MODE_SINGLE, 1, 0) != MyCORE_STATUS_OK) {
        return std::nullopt;
    }
    state->tree = myhtml_tree_create();
    if (state->tree == nullptr || myhtml_tree_init(state->tree, state->html) != MyCORE_STATUS_OK) {
        return std::nullopt;
    }
    // Fed in chunks so that a page whose tags make the tree builder multiply nodes (misnested
    // formatting elements are reopened at every text) is given up once it passes the node cap,
    // rather than after it has been built whole.
    std::size_t inserted = 0;
    myhtml_callback_tree_node_insert_set(
        state->tree,
        [](myhtml_tree_t*, myhtml_tree_node_t*, void* count) { ++*static_cast<std::size_t*>(count); },
        &inserted);
    myhtml_encoding_set(state->tree, MyENCODING_UTF_8);
    bool parsed = true;
    for (std::size_t offset = 0; parsed && offset < html.size(); offset += kParseChunkBytes) {
        const std::string_view chunk = html.substr(offset, kParseChunkBytes);
        parsed = myhtml_parse_chunk(state->tree, chunk.data(), chunk.size()) == MyCORE_STATUS_OK &&
                 inserted <= limits.maxNodes;
    }
    parsed = parsed && myhtml_parse_chunk_end(state->tree) == MyCORE_STATUS_OK && inserted <= limits.maxNodes;
    myhtml_callback_tree_node_insert_set(state->tree, nullptr, nullptr);
    if (!parsed) {
        return std::nullopt;
    }
    state->css = mycss_create();
    if (state->css == nullptr || mycss_init(state->css) != MyCORE_STATUS_OK) {
        return std::nullopt;
    }
    state->entry = mycss_entry_create();
    if (state->entry == nullptr || mycss_entry_init(state->css, state->entry) != MyCORE_STATUS_OK) {
        return std::nullopt;
    }
    state->finder = modest_finder_create_simple();
    if (state->finder == nullptr) {
        return std::nullopt;
    }
    return HtmlDocument(std::move(state));
}

std::vector<HtmlNode> HtmlDocument::find(std::string_view selector) const {
    return m_state->find(myhtml_tree_get_document(m_state->tree), selector);
}

HtmlNode HtmlDocument::root() const {
    return m_state->wrap(myhtml_tree_get_document(m_state->tree));
}

namespace {

bool isAsciiAlpha(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}
bool isAsciiDigit(char c) {
    return c >= '0' && c <= '9';
}
bool isNameChar(char c) {
    return isAsciiAlpha(c) || isAsciiDigit(c) || c == '-' || c == '_';
}

// Reads one compound selector at `pos`; false when there is none or it is malformed.
bool readCompound(std::string_view s, std::size_t& pos) {
    const std::size_t start = pos;
    if (pos < s.size() && s[pos] == '*') {
        ++pos;
    } else if (pos < s.size() && isAsciiAlpha(s[pos])) {
        while (pos < s.size() && isNameChar(s[pos])) {
            ++pos;
        }
    }
    constexpr std::string_view kNthChild = ":nth-child(";
    while (pos < s.size()) {
        if (s[pos] == '.') {
            ++pos;
            if (pos >= s.size() || !(isAsciiAlpha(s[pos]) || s[pos] == '_' || s[pos] == '-')) {
                return false;
            }
            while (pos < s.size() && isNameChar(s[pos])) {
                ++pos;
            }
        } else if (s.substr(pos, kNthChild.size()) == kNthChild) {
            pos += kNthChild.size();
            const std::size_t digits = pos;
            while (pos < s.size() && isAsciiDigit(s[pos]) && pos - digits < 6) {
                ++pos;
            }
            if (pos == digits || pos >= s.size() || s[pos] != ')') {
                return false;
            }
            ++pos;
        } else {
            break;
        }
    }
    return pos > start;
}

} // namespace

bool isSupportedSelector(std::string_view s) {
    if (s.empty() || s.size() > 256) {
        return false;
    }
    std::size_t pos = 0;
    if (!readCompound(s, pos)) {
        return false;
    }
    while (pos < s.size()) {
        const std::size_t gap = pos;
        while (pos < s.size() && s[pos] == ' ') {
            ++pos;
        }
        if (pos < s.size() && s[pos] == '>') {
            ++pos;
            while (pos < s.size() && s[pos] == ' ') {
                ++pos;
            }
        } else if (pos == gap) {
            return false; // two compounds need a blank or ">" between them
        }
        if (!readCompound(s, pos)) {
            return false;
        }
    }
    return true;
}

} // namespace quenmar::support
