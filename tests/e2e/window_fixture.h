#pragma once

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "picture_checks.h"
#include "program_window.h"
#include "scratch_dir.h"
#include "xwindow.h"

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

    // Saves `picture` as NAME.png in the working directory and, when
    // PD_E2E_PICTURES names a directory, there too. Returns the first path.
    std::string savePicture(const RgbImage& picture, const std::string& name) {
        const std::string path = work.file(name + ".png");
        savePng(picture, path);
        if (const char* dir = std::getenv("PD_E2E_PICTURES"))
            if (*dir != '\0') savePng(picture, std::string(dir) + "/" + name + ".png");
        return path;
    }

    // Fails the test with every problem found, saving the picture if any.
    void expectPicture(const RgbImage& picture, const ExpectedPicture& expected,
                       const std::string& name) {
        const std::vector<std::string> problems = comparePicture(picture, expected);
        const std::string path = savePicture(picture, name);
        if (problems.empty()) return;
        std::string text;
        for (std::size_t i = 0; i < problems.size() && i < 25; ++i) text += "  " + problems[i] + "\n";
        if (problems.size() > 25) text += "  ... and " + std::to_string(problems.size() - 25) + " more\n";
        ADD_FAILURE() << problems.size() << " problems in the picture (saved as " << path << "):\n"
                      << text;
    }

    scratch::ScratchDir work;
    XSession* x = nullptr;
};

}  // namespace e2e
