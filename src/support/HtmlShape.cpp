#include "support/HtmlShape.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <string>
#include <unordered_map>
#include <utility>
#include <vector>

namespace quenmar::support {

namespace {

constexpr std::array<std::string_view, 16> kVoidElements{
    "area", "base", "br",    "col",    "embed", "hr",  "img",    "input",
    "link", "meta", "param", "source", "track", "wbr", "keygen", "frame"};
constexpr std::array<std::string_view, 6> kRawTextElements{"script", "style", "textarea",
                                                           "title",  "xmp",   "plaintext"};
constexpr std::array<std::string_view, 14> kFormattingElements{
    "a", "b", "big", "code", "em", "font", "i", "nobr", "s", "small", "strike", "strong", "tt", "u"};
// An open element of these ends where the next one of its group starts; a new row also ends
// the open cell of the row before.
constexpr std::array<std::pair<std::string_view, int>, 8> kSelfEnding{
    {{"p", 1}, {"li", 2}, {"option", 3}, {"dt", 4}, {"dd", 4}, {"tr", 5}, {"td", 6}, {"th", 6}}};
constexpr int kRowGroup = 5;
constexpr int kCellGroup = 6;

template <std::size_t N>
bool among(const std::array<std::string_view, N>& list, std::string_view name) {
    return std::find(list.begin(), list.end(), name) != list.end();
}

int selfEndingGroup(std::string_view name) {
    for (const auto& [tag, group] : kSelfEnding) {
        if (tag == name) {
            return group;
        }
    }
    return 0;
}

bool isAsciiAlpha(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

bool isTagNameChar(char c) {
    return isAsciiAlpha(c) || (c >= '0' && c <= '9') || c == '-' || c == '_' || c == ':';
}

// The tag name at `pos` in lower case (at most 32 characters are kept); `pos` ends after it.
std::string lowerName(std::string_view html, std::size_t& pos) {
    std::string name;
    while (pos < html.size() && isTagNameChar(html[pos]) && name.size() < 32) {
        name += static_cast<char>(std::tolower(static_cast<unsigned char>(html[pos])));
        ++pos;
    }
    while (pos < html.size() && isTagNameChar(html[pos])) {
        ++pos;
    }
    return name;
}

// The stack of open elements as the parser would keep it, and what walking it costs.
class ShapeWalk {
public:
    ShapeWalk(std::string_view html, const HtmlLimits& limits) : m_html(html), m_limits(limits) {}

    HtmlShape run() {
        std::size_t pos = 0;
        while ((pos = m_html.find('<', pos)) != std::string_view::npos && !over()) {
            ++pos;
            if (pos >= m_html.size()) {
                break;
            }
            if (m_html.compare(pos, 3, "!--") == 0) {
                const std::size_t end = m_html.find("-->", pos + 3);
                pos = end == std::string_view::npos ? m_html.size() : end + 3;
            } else if (m_html[pos] == '/') {
                endTag(++pos);
            } else if (isAsciiAlpha(m_html[pos])) {
                startTag(pos);
            } // else "<!DOCTYPE", "<?xml", or a lone "<" in text
        }
        return m_shape;
    }

private:
    bool over() const {
        return m_shape.depth > m_limits.maxDepth || m_shape.stackWork > m_limits.maxStackWork;
    }

    void push(std::string name) {
        ++m_openCount[name];
        m_open.push_back(std::move(name));
        m_shape.depth = std::max(m_shape.depth, m_open.size());
    }

    void pop() {
        if (--m_openCount[m_open.back()] == 0) {
            m_openCount.erase(m_open.back());
        }
        m_open.pop_back();
    }

    void endTag(std::size_t& pos) {
        const std::string name = lowerName(m_html, pos);
        if (name.empty()) {
            return;
        }
        // The parser looks for the element to close from the top of its stack down; an end
        // tag without an open element walks the whole stack.
        if (m_openCount.count(name) == 0) {
            m_shape.stackWork += m_open.size();
            return;
        }
        // Ending a formatting element runs the adoption agency, which walks the whole stack.
        if (among(kFormattingElements, name)) {
            m_shape.stackWork += m_open.size();
        }
        while (!m_open.empty()) {
            ++m_shape.stackWork;
            const bool match = m_open.back() == name;
            pop();
            if (match) {
                break;
            }
        }
    }

    void startTag(std::size_t& pos) {
        std::string name = lowerName(m_html, pos);
        const std::size_t close = m_html.find('>', pos);
        const bool selfClosed = close != std::string_view::npos && close > pos && m_html[close - 1] == '/';
        pos = close == std::string_view::npos ? m_html.size() : close + 1;
        // Every start tag has the parser search its stack (for an open p to end, for the scope).
        m_shape.stackWork += m_open.size();
        if (among(kRawTextElements, name)) {
            pos = rawTextEnd(name, pos);
            return;
        }
        if (selfClosed || among(kVoidElements, name)) {
            return;
        }
        if (const int group = selfEndingGroup(name); group != 0) {
            if (group == kRowGroup && !m_open.empty() && selfEndingGroup(m_open.back()) == kCellGroup) {
                pop();
            }
            if (!m_open.empty() && selfEndingGroup(m_open.back()) == group) {
                pop();
            }
        }
        push(std::move(name));
    }

    // Where the raw text of a script, style... element that starts at `pos` ends: at its own
    // end tag, which is all the parser looks for inside it.
    std::size_t rawTextEnd(std::string_view name, std::size_t pos) const {
        std::size_t end = pos;
        while ((end = m_html.find("</", end)) != std::string_view::npos) {
            std::size_t p = end + 2;
            if (lowerName(m_html, p) == name) {
                return end;
            }
            end += 2;
        }
        return m_html.size();
    }

    std::string_view m_html;
    const HtmlLimits& m_limits;
    HtmlShape m_shape;
    std::vector<std::string> m_open;
    std::unordered_map<std::string, std::size_t> m_openCount; // spares the walk for names not open
};

} // namespace

HtmlShape measureHtmlShape(std::string_view html, const HtmlLimits& limits) {
    return ShapeWalk(html, limits).run();
}

} // namespace quenmar::support
