#include "window/menu_label.h"

#include "draw/bitmap_font.h"

namespace pd {

namespace {

struct SerbianLetter {
    char32_t capital, small;
    const char* ascii;  // as a small letter
};

// The Cyrillic alphabet's 30 letters in its order, then the Latin ones
// with marks.
constexpr SerbianLetter serbianLetters[] = {
    {U'\u0410', U'\u0430', "a"}, {U'\u0411', U'\u0431', "b"},  {U'\u0412', U'\u0432', "v"},
    {U'\u0413', U'\u0433', "g"}, {U'\u0414', U'\u0434', "d"},  {U'\u0402', U'\u0452', "dj"},
    {U'\u0415', U'\u0435', "e"}, {U'\u0416', U'\u0436', "z"},  {U'\u0417', U'\u0437', "z"},
    {U'\u0418', U'\u0438', "i"}, {U'\u0408', U'\u0458', "j"},  {U'\u041A', U'\u043A', "k"},
    {U'\u041B', U'\u043B', "l"}, {U'\u0409', U'\u0459', "lj"}, {U'\u041C', U'\u043C', "m"},
    {U'\u041D', U'\u043D', "n"}, {U'\u040A', U'\u045A', "nj"}, {U'\u041E', U'\u043E', "o"},
    {U'\u041F', U'\u043F', "p"}, {U'\u0420', U'\u0440', "r"},  {U'\u0421', U'\u0441', "s"},
    {U'\u0422', U'\u0442', "t"}, {U'\u040B', U'\u045B', "c"},  {U'\u0423', U'\u0443', "u"},
    {U'\u0424', U'\u0444', "f"}, {U'\u0425', U'\u0445', "h"},  {U'\u0426', U'\u0446', "c"},
    {U'\u0427', U'\u0447', "c"}, {U'\u040F', U'\u045F', "dz"}, {U'\u0428', U'\u0448', "s"},
    {U'\u010C', U'\u010D', "c"}, {U'\u0106', U'\u0107', "c"},  {U'\u0110', U'\u0111', "dj"},
    {U'\u0160', U'\u0161', "s"}, {U'\u017D', U'\u017E', "z"},
};

}  // namespace

std::string menuLabel(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (const char32_t c : codePoints(text)) {
        if (c < 0x80) {
            out += char(c);
            continue;
        }
        std::string ascii = "?";
        for (const SerbianLetter& letter : serbianLetters)
            if (c == letter.capital || c == letter.small) {
                ascii = letter.ascii;
                if (c == letter.capital) ascii[0] = char(ascii[0] - 'a' + 'A');
            }
        out += ascii;
    }
    return out;
}

}  // namespace pd
