#pragma once

#include <string>
#include <string_view>

namespace pd {

// What the programs print of a name they did not make up (a path, a model
// name, a file's stem) goes through here first: a control byte in a file
// name could otherwise move the cursor, set the terminal's title or forge
// a line of its own.

// `text` with every control byte (0x00 to 0x1f and 0x7f, line breaks too)
// written as \xNN; every other byte, UTF-8 included, as it is.
std::string printable(std::string_view text);

}  // namespace pd
