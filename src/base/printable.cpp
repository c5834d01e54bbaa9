#include "base/printable.h"

namespace pd {

std::size_t utf8Length(std::string_view text, std::size_t at) {
    const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(text[i]); };
    const unsigned char lead = byte(at);
    if (lead < 0x80) return 1;
    // The lead byte's length and the range its first continuation byte may
    // take: that range shuts out overlong forms, surrogates and code points
    // past U+10FFFF.
    std::size_t length = 0;
    unsigned char low = 0x80, high = 0xbf;
    if (lead >= 0xc2 && lead <= 0xdf) length = 2;
    else if (lead == 0xe0) length = 3, low = 0xa0;
    else if (lead == 0xed) length = 3, high = 0x9f;
    else if (lead >= 0xe1 && lead <= 0xef) length = 3;
    else if (lead == 0xf0) length = 4, low = 0x90;
    else if (lead == 0xf4) length = 4, high = 0x8f;
    else if (lead >= 0xf1 && lead <= 0xf3) length = 4;
    else return 0;
    if (at + length > text.size() || byte(at + 1) < low || byte(at + 1) > high) return 0;
    for (std::size_t i = 2; i < length; ++i)
        if ((byte(at + i) & 0xc0) != 0x80) return 0;
    return length;
}

namespace {

// `text` with every byte that is not part of a printable UTF-8 character
// (a control byte, DEL, or a byte of no valid sequence) put as `stand(byte)`.
template <class StandIn>
std::string mended(std::string_view text, StandIn stand) {
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size();) {
        const auto byte = static_cast<unsigned char>(text[i]);
        const std::size_t length = byte >= 0x20 && byte != 0x7f ? utf8Length(text, i) : 0;
        if (length > 0) {
            out.append(text, i, length);
            i += length;
        } else {
            stand(byte, out);
            ++i;
        }
    }
    return out;
}

}  // namespace

std::string printable(std::string_view text) {
    return mended(text, [](unsigned char byte, std::string& out) {
        static const char hex[] = "0123456789abcdef";
        out += "\\x";
        out += hex[byte >> 4];
        out += hex[byte & 15];
    });
}

std::string displayable(std::string_view text) {
    return mended(text, [](unsigned char, std::string& out) { out += "\xef\xbf\xbd"; });
}

}  // namespace pd
