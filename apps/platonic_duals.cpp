// platonic-duals: reads the five regular solids, writes their duals, asks for
// two angles and a solid, and shows the solid with its dual in a window.

#include <cstdio>
#include <cstdlib>

#include "console/dialogue.h"
#include "console/display.h"
#include "console/scene.h"
#include "solids/dual.h"
#include "solids/solid_files.h"
#include "geometry/rotation.h"
#include "solids/solid_rotation.h"
#include "console/solid_drawing.h"

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

}  // namespace

int main(int argc, char** argv) {
    // The run's working state lives as long as the process; static keeps the
    // arrays (some 6 KB) off the stack and starts them zeroed.
    static SolidFileSet files;
    static VertexArrays arrays;
    static FaceColumns faceColumns{};
    static FaceRecords faceRecords{};

    if (!loadSolids(files, arrays)) return -1;
    if (!buildDuals(files, arrays, faceColumns, faceRecords)) return -1;
    closeSolidFiles(files);

    const float xAngle = askAngle(xAnglePrompt, stdin, stdout);
    const float yAngle = askAngle(yAnglePrompt, stdin, stdout);
    rotateSolids(xAngle, yAngle, arrays);

    const int choice = askSolidChoice(stdin, stdout);
    addSolidEdges(choice, arrays, globalScene);

    showScene(argc, argv);
    return waitBeforeClosing();
}
