#include "base/printable.h"

namespace pd {

std::string printable(std::string_view text) {
    static const char hex[] = "0123456789abcdef";
    std::string out;
    out.reserve(text.size());
    for (const char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte >= 0x20 && byte != 0x7f) {
            out += c;
            continue;
        }
        out += "\\x";
        out += hex[byte >> 4];
        out += hex[byte & 15];
    }
    return out;
}

}  // namespace pd
