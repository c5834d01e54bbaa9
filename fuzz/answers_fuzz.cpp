// Any bytes as the console's input: the two angle answers and the menu
// answer, then everything the program does with them before the window
// opens (rotation of the shipped solids, their edges into a scene) and the
// framing the window computes from that scene.

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>

#include "console/dialogue.h"
#include "geometry/framing.h"
#include "geometry/program_window.h"
#include "console/scene.h"
#include "shipped_solids.h"
#include "geometry/rotation.h"
#include "solids/solid_rotation.h"
#include "console/solid_drawing.h"

namespace pd {

namespace {

// Segments that a menu choice adds: the solid's edges and its dual's.
constexpr int segmentsFor[solidKindCount] = {6 + 6, 12 + 12, 12 + 12, 30 + 30, 30 + 30};

void fail(const char* what) {
    std::fprintf(stderr, "answers: %s\n", what);
    std::abort();
}

}  // namespace

}  // namespace pd

using namespace pd;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::FILE* in = fmemopen(const_cast<std::uint8_t*>(data), size, "r");
    char* written = nullptr;
    std::size_t writtenSize = 0;
    std::FILE* out = open_memstream(&written, &writtenSize);
    if (!in || !out) std::abort();

    const float xAngle = askAngle(xAnglePrompt, in, out);
    const float yAngle = askAngle(yAnglePrompt, in, out);
    const int choice = askSolidChoice(in, out);
    std::fclose(in);
    std::fclose(out);
    const std::string console(written, writtenSize);
    std::free(written);
    if (console != std::string(xAnglePrompt) + yAnglePrompt + solidMenu)
        fail("the console shows something other than the three texts");

    auto arrays = std::make_unique<VertexArrays>(shippedSolids());
    rotateSolids(xAngle, yAngle, *arrays);
    Scene scene;
    addSolidEdges(choice, *arrays, scene);
    const std::size_t expected = isSolidKind(choice) ? std::size_t(segmentsFor[choice - 1]) : 0;
    if (scene.segments.size() != expected) fail("the choice drew the wrong number of edges");

    // Whatever the turned solids hold, the window must get a usable view.
    const Camera camera = cameraFor(planePoint(scene.boxMin), planePoint(scene.boxMax));
    if (!std::isfinite(camera.cx) || !std::isfinite(camera.cy) ||
        !std::isfinite(camera.distance) || !(camera.distance > 0.0f))
        fail("the camera is not a finite place in front of the plane");
    const Projection p = projectionFor(camera, planePoint(scene.boxMin), planePoint(scene.boxMax),
                                           programWindowWidth, programWindowHeight);
    if (!(p.fovY > 0.0 && p.fovY < 180.0)) fail("the field of view is not an angle of sight");
    return 0;
}
