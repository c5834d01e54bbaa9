#pragma once

#include <cstdio>

namespace pd {

// The three texts of the console dialogue, byte for byte.
constexpr const char* xAnglePrompt = "Unesi ugao (u uglovima) za koji rotiramo x\n";
constexpr const char* yAnglePrompt = "Unesi ugao (u uglovima) za koji rotiramo y\n";
constexpr const char* solidMenu =
    " 1: tetraedar\n 2: heksaedar\n 3: oktaedar\n 4: dodekaedar\n 5: ikosaedar\n";

// Writes `prompt` to `out`, flushes it so it shows even through a pipe, and
// reads one "%f" from `in`. An answer that converts nothing (letters, end of
// input) gives 0; the characters it could not use stay in `in`.
float askAngle(const char* prompt, std::FILE* in, std::FILE* out);

// The same for the menu with a "%d" read: "4x" gives 4, "2.5" gives 2, and an
// answer that converts nothing gives 0, which draws nothing; so does a
// number beyond the range of int.
int askSolidChoice(std::FILE* in, std::FILE* out);

// Stands in for the "pause" command where the command interpreter has none:
// waits for the Enter key (or the end of input) and returns 0.
int pauseForEnter(std::FILE* in);

}  // namespace pd
