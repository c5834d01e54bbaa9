#include "draw/bitmap_font.h"

#include "base/printable.h"

namespace pd {

std::vector<char32_t> codePoints(std::string_view text) {
    std::vector<char32_t> out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size();) {
        const std::size_t length = utf8Length(text, i);
        if (length == 0) {
            out.push_back(U'\uFFFD');
            ++i;
            continue;
        }
        // The lead byte's payload bits, then six from each continuation.
        static constexpr unsigned char leadBits[] = {0, 0x7F, 0x1F, 0x0F, 0x07};
        char32_t c = static_cast<unsigned char>(text[i]) & leadBits[length];
        for (std::size_t k = 1; k < length; ++k) c = (c << 6) | (static_cast<unsigned char>(text[i + k]) & 0x3F);
        out.push_back(c);
        i += length;
    }
    return out;
}

std::vector<const Glyph*> textGlyphs(std::string_view text) {
    std::vector<const Glyph*> glyphs;
    for (char32_t c : codePoints(text)) glyphs.push_back(&glyphFor(c));
    return glyphs;
}

std::size_t glyphCount(std::string_view text) { return codePoints(text).size(); }

}  // namespace pd
