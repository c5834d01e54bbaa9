#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace pd {

// What the programs print of a name they did not make up (a path, a model
// name, a file's stem) goes through here first: a control byte in a file
// name could otherwise move the cursor, set the terminal's title or forge
// a line of its own, and a stray byte of a character cut in two (Latin-1
// in a UTF-8 terminal) garble what follows.

// `text` with every control byte (0x00 to 0x1f and 0x7f, line breaks too)
// and every byte that is not part of a well-formed UTF-8 character written
// as \xNN; UTF-8 characters as they are.
std::string printable(std::string_view text);

// `text` as a line for a picture or page to show (an SVG, a PDF): every
// control byte, line breaks too, and every byte that is not part of a
// well-formed UTF-8 character replaced by U+FFFD, the mark for what could
// not be read; so the text is valid UTF-8, whatever a file was called.
std::string displayable(std::string_view text);

// The length of the well-formed UTF-8 character at `at` of `text` (1 to 4),
// or 0 when the bytes there are not one (a stray continuation byte, an
// overlong form, a surrogate, past U+10FFFF, cut short). `at` must be
// within `text`.
std::size_t utf8Length(std::string_view text, std::size_t at);

}  // namespace pd
