#pragma once

#include <gtest/gtest.h>

#include <string>

#include "picture_checks.h"
#include "program_window.h"
#include "scratch_dir.h"
#include "xwindow.h"

namespace pd {

namespace e2e {

// The test binary's one connection to the X server. Held for the whole run:
// a server resets when its last client leaves, and a test connecting while
// it does would fail for nothing. Throws XWinError without a display.
inline XSession& sharedXSession() {
    static XSession session;
    return session;
}

// A test that runs the program in a fresh copy of data/ and looks at its
// window. A failing test keeps its directory, with the picture it saw saved
// there (savePicture), so the failure can be looked at.
class WindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(work.ok()) << "cannot create a temporary directory";
        work.copyShippedData();
        x = &sharedXSession();  // throws, failing the test, without a display
    }

    void TearDown() override {
        if (HasFailure()) work.keep();
    }

    // Saves `picture` as NAME.png in the working directory, kept when the
    // test fails, and returns its path.
    std::string savePicture(const RgbImage& picture, const std::string& name) {
        const std::string path = work.file(name + ".png");
        savePng(picture, path);
        return path;
    }

    // Fails the test with every problem found, naming the saved picture.
    void expectPicture(const RgbImage& picture, const ExpectedPicture& expected,
                       const std::string& name) {
        std::string problems;
        for (const std::string& p : comparePicture(picture, expected)) problems += "  " + p + "\n";
        EXPECT_EQ(problems, "") << "the picture is saved as " << savePicture(picture, name);
    }

    scratch::ScratchDir work;
    XSession* x = nullptr;
};

}  // namespace e2e

}  // namespace pd
