#include "flow/dialogue.h"

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
    int choice = 0;
    if (std::fscanf(in, "%d", &choice) != 1) choice = 0;
    return choice;
}

int pauseForEnter(std::FILE* in) {
    int c;
    do {
        c = std::fgetc(in);
    } while (c != '\n' && c != EOF);
    return 0;
}
