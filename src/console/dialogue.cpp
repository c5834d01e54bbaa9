#include "console/dialogue.h"

#include <climits>

namespace pd {

namespace {

void show(const char* text, std::FILE* out) {
    std::fputs(text, out);
    std::fflush(out);
}

}  // namespace

float askAngle(const char* prompt, std::FILE* in, std::FILE* out) {
    show(prompt, out);
    float degrees = 0.0f;
    if (std::fscanf(in, "%f", &degrees) != 1) degrees = 0.0f;
    return degrees;
}

int askSolidChoice(std::FILE* in, std::FILE* out) {
    show(solidMenu, out);
    // Read wide: an int read would wrap 4294967298 round to 2, a valid choice.
    long long choice = 0;
    if (std::fscanf(in, "%lld", &choice) != 1) choice = 0;
    return choice < INT_MIN || choice > INT_MAX ? 0 : static_cast<int>(choice);
}

int pauseForEnter(std::FILE* in) {
    int c;
    do {
        c = std::fgetc(in);
    } while (c != '\n' && c != EOF);
    return 0;
}

}  // namespace pd
