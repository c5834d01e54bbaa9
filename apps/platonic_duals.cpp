// platonic-duals: reads the five regular solids, writes their duals, asks for
// two angles and a solid, and shows the solid with its dual in a window.

#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "console/dialogue.h"
#include "console/display.h"
#include "console/scene.h"
#include "solids/dual.h"
#include "solids/solid_files.h"
#include "geometry/rotation.h"
#include "solids/solid_rotation.h"
#include "console/solid_drawing.h"

namespace pd {

namespace {

// Where the command interpreter has a "pause" command it is used; elsewhere
// the program waits for the Enter key itself.
int waitBeforeClosing() {
#ifdef _WIN32
    return std::system("pause");
#else
    return pauseForEnter(stdin);
#endif
}

// The program's messages are its fixed text, one line each, with no
// "platonic-duals:" before them: "kocka.dat: cannot be read: Is a
// directory", "kockap.dat: row 3: vertex number 9 is outside 1 to 8",
// "dualk.txt: cannot be created: Permission denied".
void tell(const Error& error) { std::fprintf(stderr, "%s\n", error.text().c_str()); }

}  // namespace

}  // namespace pd

using namespace pd;

int main(int argc, char** argv) {
    // A file over the size limit (ulimit -f) then fails its write, which is
    // reported and emptied like any other, instead of killing the run.
    std::signal(SIGXFSZ, SIG_IGN);

    // The run's working state lives as long as the process; static keeps the
    // arrays (some 6 KB) off the stack and starts them zeroed.
    static SolidFileSet files;
    static VertexArrays arrays;
    static FaceColumns faceColumns{};
    static FaceRecords faceRecords{};

    // Output files that fail are told of and the run goes on; an input that
    // fails ends it (status 255), after what was told before it, and
    // silently when the file cannot be opened at all.
    std::vector<Error> warnings;
    Status built = loadSolids(files, arrays, warnings);
    if (built) built = buildDuals(files, arrays, faceColumns, faceRecords, warnings);
    if (built) closeSolidFiles(files, warnings);
    for (const Error& warning : warnings) tell(warning);
    if (!built) {
        if (!built.error().what.empty()) tell(built.error());
        return -1;
    }

    const float xAngle = askAngle(xAnglePrompt, stdin, stdout);
    const float yAngle = askAngle(yAnglePrompt, stdin, stdout);
    rotateSolids(xAngle, yAngle, arrays);

    const int choice = askSolidChoice(stdin, stdout);
    addSolidEdges(choice, arrays, globalScene);

    showScene(argc, argv);
    return waitBeforeClosing();
}
