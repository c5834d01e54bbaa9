#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "flow/dialogue.h"

namespace {

// A console: answers to read from, and everything the dialogue wrote.
class Console {
public:
    explicit Console(const std::string& answers) : answers_(answers) {
        in = answers_.empty() ? std::fopen("/dev/null", "r")
                              : fmemopen(answers_.data(), answers_.size(), "r");
        out = open_memstream(&buf_, &size_);
    }
    ~Console() {
        std::fclose(in);
        std::fclose(out);
        std::free(buf_);
    }
    std::string written() {
        std::fflush(out);
        return std::string(buf_, size_);
    }
    std::string rest() {
        std::string r;
        for (int c; (c = std::fgetc(in)) != EOF;) r += char(c);
        return r;
    }
    std::FILE* in;
    std::FILE* out;

private:
    std::string answers_;
    char* buf_ = nullptr;
    size_t size_ = 0;
};

TEST(Dialogue, WritesTheThreeTextsInOrderBeforeEachRead) {
    Console c("30 45\n2\n");
    EXPECT_EQ(askAngle(xAnglePrompt, c.in, c.out), 30.0f);
    EXPECT_EQ(c.written(), "Unesi ugao (u uglovima) za koji rotiramo x\n");
    EXPECT_EQ(askAngle(yAnglePrompt, c.in, c.out), 45.0f);
    EXPECT_EQ(askSolidChoice(c.in, c.out), 2);
    EXPECT_EQ(c.written(),
              "Unesi ugao (u uglovima) za koji rotiramo x\n"
              "Unesi ugao (u uglovima) za koji rotiramo y\n"
              " 1: tetraedar\n 2: heksaedar\n 3: oktaedar\n 4: dodekaedar\n 5: ikosaedar\n");
}

TEST(Dialogue, AnglesAreReadAsScanfReadsAFloat) {
    Console c("90\n-22.5\t1e1 +.5 -0");
    EXPECT_EQ(askAngle(xAnglePrompt, c.in, c.out), 90.0f);
    EXPECT_EQ(askAngle(xAnglePrompt, c.in, c.out), -22.5f);
    EXPECT_EQ(askAngle(xAnglePrompt, c.in, c.out), 10.0f);
    EXPECT_EQ(askAngle(xAnglePrompt, c.in, c.out), 0.5f);
    EXPECT_EQ(askAngle(xAnglePrompt, c.in, c.out), 0.0f);
}

TEST(Dialogue, MenuTakesTheLeadingInteger) {
    Console c("4x\n");
    EXPECT_EQ(askSolidChoice(c.in, c.out), 4);
    EXPECT_EQ(c.rest(), "x\n");
    Console d("2.5\n");
    EXPECT_EQ(askSolidChoice(d.in, d.out), 2);
    EXPECT_EQ(d.rest(), ".5\n");
}

TEST(Dialogue, AnswersThatConvertNothingGiveZeroAndStayInTheInput) {
    Console c("abc 7\n");
    EXPECT_EQ(askAngle(xAnglePrompt, c.in, c.out), 0.0f);
    EXPECT_EQ(askAngle(yAnglePrompt, c.in, c.out), 0.0f);
    EXPECT_EQ(askSolidChoice(c.in, c.out), 0);
    EXPECT_EQ(c.rest(), "abc 7\n");

    Console closed("");
    EXPECT_EQ(askAngle(xAnglePrompt, closed.in, closed.out), 0.0f);
    EXPECT_EQ(askSolidChoice(closed.in, closed.out), 0);
    EXPECT_NE(closed.written().find(" 5: ikosaedar\n"), std::string::npos);
}

TEST(Dialogue, PauseWaitsForTheEndOfALine) {
    Console c("any key\nleft");
    EXPECT_EQ(pauseForEnter(c.in), 0);
    EXPECT_EQ(c.rest(), "left");
    Console closed("");
    EXPECT_EQ(pauseForEnter(closed.in), 0);
}

}  // namespace
