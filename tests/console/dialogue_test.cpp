#include "console/dialogue.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <string>

using namespace pd;

namespace {

// A whole dialogue on a console: the answers as typed, the three values read,
// everything written, and what stays unread.
struct Dialogue {
    float x, y;
    int choice;
    std::string written, rest;
};

Dialogue talk(std::string answers) {
    std::FILE* in = answers.empty() ? std::fopen("/dev/null", "r")
                                    : fmemopen(answers.data(), answers.size(), "r");
    char* buf = nullptr;
    size_t size = 0;
    std::FILE* out = open_memstream(&buf, &size);
    Dialogue d;
    d.x = askAngle(xAnglePrompt, in, out);
    d.y = askAngle(yAnglePrompt, in, out);
    d.choice = askSolidChoice(in, out);
    for (int c; (c = std::fgetc(in)) != EOF;) d.rest += char(c);
    std::fclose(in);
    std::fclose(out);
    d.written.assign(buf, size);
    std::free(buf);
    return d;
}

TEST(Dialogue, AnswersAreReadAsScanfReadsThem) {
    const struct {
        const char* answers;
        float x, y;
        int choice;
        const char* rest;
    } cases[] = {
        {"30 45\n2\n", 30, 45, 2, "\n"},
        {"-22.5\t1e1 4x\n", -22.5f, 10, 4, "x\n"},
        {"+.5 -0 2.5", 0.5f, 0, 2, ".5"},
        {"abc 7\n", 0, 0, 0, "abc 7\n"},
        {"1 2 4294967298", 1, 2, 0, ""},   // past int: no choice, not 2
        {"1 2 -4294967294", 1, 2, 0, ""},
        {"", 0, 0, 0, ""},
    };
    for (const auto& c : cases) {
        const Dialogue d = talk(c.answers);
        EXPECT_EQ(d.x, c.x) << c.answers;
        EXPECT_EQ(d.y, c.y) << c.answers;
        EXPECT_EQ(d.choice, c.choice) << c.answers;
        EXPECT_EQ(d.rest, c.rest) << c.answers;
        EXPECT_EQ(d.written, "Unesi ugao (u uglovima) za koji rotiramo x\n"
                             "Unesi ugao (u uglovima) za koji rotiramo y\n"
                             " 1: tetraedar\n 2: heksaedar\n 3: oktaedar\n 4: dodekaedar\n"
                             " 5: ikosaedar\n");
    }
}

TEST(Dialogue, PauseWaitsForTheEndOfALine) {
    std::string text = "any key\nleft";
    std::FILE* in = fmemopen(text.data(), text.size(), "r");
    EXPECT_EQ(pauseForEnter(in), 0);
    EXPECT_EQ(std::fgetc(in), 'l');
    std::fclose(in);
}

}  // namespace
