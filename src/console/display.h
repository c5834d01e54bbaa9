#pragma once

#include "console/scene.h"

namespace pd {

// Makes the colour of `code` current for GL drawing; a code outside 0 to 9
// (negative ones included) makes no GL call, so the colour in force stays.
void setColour(ColourCode code);

// Opens the window "Geometrija - prikaz zadatka" (1024 x 700 at 100, 50)
// on the global scene, framed on its bounding box, and runs GLUT's main
// loop. argc and argv go to glutInit as the program received them. Under
// freeglut this does not return: closing the window ends the process.
void showScene(int argc, char** argv);

// GLUT's display callback: clears and draws circles, lines, segments (each
// with a mark on both ends) and points, in that order.
void displayScene();

// GLUT's reshape callback: a viewport over the whole window and a projection
// that keeps the framed box inside it at this size. A height of 0 counts as 1.
void reshapeScene(int width, int height);

}  // namespace pd
