#include "support/TextCodec.h"

#include <cerrno>
#include <iconv.h>
#include <utility>

namespace quenmar::support {

namespace {

constexpr std::string_view kReplacement = "\xEF\xBF\xBD"; // U+FFFD

class Converter {
public:
    Converter(const std::string& to, const std::string& from) : m_cd(iconv_open(to.c_str(), from.c_str())) {}
    ~Converter() {
        if (opened()) {
            iconv_close(m_cd);
        }
    }
    Converter(const Converter&) = delete;
    Converter& operator=(const Converter&) = delete;

    bool opened() const { return m_cd != reinterpret_cast<iconv_t>(-1); }

    // Converts everything it can. With `lenient`, a byte sequence the character set cannot
    // read becomes U+FFFD and the conversion resumes one byte later; without it, the first
    // such sequence (or a sequence cut off by the end of the input) fails the conversion.
    bool run(std::string_view bytes, bool lenient, std::string& out) {
        iconv(m_cd, nullptr, nullptr, nullptr, nullptr);
        out.clear();
        // GB18030 needs at most 4 bytes for a character that takes at most 4 in UTF-8, so
        // twice the input plus some slack rarely needs a second chunk.
        char buffer[16384];
        char* in = const_cast<char*>(bytes.data()); // iconv's signature; it never writes
        std::size_t inLeft = bytes.size();
        while (inLeft > 0) {
            char* outPtr = buffer;
            std::size_t outLeft = sizeof buffer;
            const std::size_t result = iconv(m_cd, &in, &inLeft, &outPtr, &outLeft);
            out.append(buffer, static_cast<std::size_t>(outPtr - buffer));
            if (result != static_cast<std::size_t>(-1)) {
                continue;
            }
            if (errno == E2BIG) {
                continue;
            }
            if ((errno == EILSEQ || errno == EINVAL) && lenient) {
                out += kReplacement;
                ++in;
                --inLeft;
                iconv(m_cd, nullptr, nullptr, nullptr, nullptr);
                continue;
            }
            return false;
        }
        // Flush any shift state (none for the GB family, but iconv asks for it).
        char* outPtr = buffer;
        std::size_t outLeft = sizeof buffer;
        if (iconv(m_cd, nullptr, nullptr, &outPtr, &outLeft) == static_cast<std::size_t>(-1)) {
            return false;
        }
        out.append(buffer, static_cast<std::size_t>(outPtr - buffer));
        return true;
    }

private:
    iconv_t m_cd;
};

std::optional<std::string> convert(std::string_view bytes, std::string_view to, std::string_view from) {
    Converter converter{std::string(to), std::string(from)};
    std::string out;
    if (!converter.opened() || !converter.run(bytes, false, out)) {
        return std::nullopt;
    }
    return out;
}

} // namespace

std::optional<std::string> convertToUtf8(std::string_view bytes, std::string_view charset) {
    return convert(bytes, "UTF-8", charset);
}

std::optional<std::string> convertFromUtf8(std::string_view text, std::string_view charset) {
    return convert(text, charset, "UTF-8");
}

std::string decodeGbPage(std::string_view bytes) {
    if (auto text = convertToUtf8(bytes, "GB18030")) {
        return std::move(*text);
    }
    if (auto text = convertToUtf8(bytes, "CP936")) {
        return std::move(*text);
    }
    Converter converter{"UTF-8", "GB18030"};
    std::string out;
    if (converter.opened()) {
        converter.run(bytes, true, out);
    }
    return out;
}

} // namespace quenmar::support
