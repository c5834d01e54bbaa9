// The floor for bench/first-frame.sh: a GLUT program that opens the same
// window as platonic-duals (size, place, title, display mode, clear colour)
// and draws nothing, so the difference in time and memory is the program's
// own.

#include <GL/glut.h>

namespace pd {

namespace {

void display() {
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glFlush();
    glutSwapBuffers();
}

}  // namespace

}  // namespace pd

using namespace pd;

int main(int argc, char** argv) {
    glutInit(&argc, argv);
    glutInitDisplayMode(GLUT_RGB | GLUT_DOUBLE | GLUT_DEPTH);
    glutInitWindowSize(1024, 700);
    glutInitWindowPosition(100, 50);
    glutCreateWindow("Geometrija - prikaz zadatka");
    glClearColor(0.9f, 0.9f, 0.8f, 0.0f);
    glutDisplayFunc(display);
    glutMainLoop();
    return 0;
}
