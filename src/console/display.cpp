#include "console/display.h"

#include <GL/glut.h>

#include <cmath>

#include "console/colour.h"
#include "geometry/framing.h"
#include "geometry/program_window.h"

namespace pd {

namespace {

// The camera is set once, from the box as it stands when the window opens;
// the reshape callback needs it again to fit the view to the new size.
Camera windowCamera;

constexpr double circleStep = 0.06283185307179587;  // 2 pi / 100

void drawCircle(const Circle& c) {
    setColour(c.colour);
    glBegin(GL_LINE_LOOP);
    for (int i = 0; i < 100; ++i) {
        const double a = i * circleStep;
        glVertex2f(static_cast<float>(c.centre.x + c.radius * std::cos(a)),
                   static_cast<float>(c.centre.y + c.radius * std::sin(a)));
    }
    glEnd();
}

void drawLine(const Line& l) {
    setColour(l.colour);
    glBegin(GL_LINES);
    glVertex2f(l.point.x + 100.0f * l.direction.x, l.point.y + 100.0f * l.direction.y);
    glVertex2f(l.point.x - 100.0f * l.direction.x, l.point.y - 100.0f * l.direction.y);
    glEnd();
}

void drawSegment(const Segment& s) {
    glPointSize(static_cast<float>(endMarkSize));
    setColour(s.colour);
    glBegin(GL_LINES);
    glVertex2f(s.start.x, s.start.y);
    glVertex2f(s.end.x, s.end.y);
    glEnd();
    glBegin(GL_POINTS);
    glVertex2f(s.start.x, s.start.y);
    glVertex2f(s.end.x, s.end.y);
    glEnd();
}

void drawPoint(const Point& p) {
    setColour(p.colour);
    glPointSize(static_cast<float>(endMarkSize));
    glBegin(GL_POINTS);
    glVertex2f(p.x, p.y);
    glEnd();
}

}  // namespace

void setColour(ColourCode code) {
    if (const Rgb* rgb = colourFor(code)) glColor3f(rgb->red, rgb->green, rgb->blue);
}

void showScene(int argc, char** argv) {
    int count = argc;  // glutInit may take its own options out
    glutInit(&count, argv);
    glutInitDisplayMode(GLUT_RGB | GLUT_DOUBLE | GLUT_DEPTH);
    glutInitWindowSize(programWindowWidth, programWindowHeight);
    glutInitWindowPosition(programWindowX, programWindowY);
    glutCreateWindow(programWindowTitle);
    glClearColor(programBackground.red, programBackground.green, programBackground.blue, 0.0f);

    windowCamera = cameraFor(planePoint(globalScene.boxMin), planePoint(globalScene.boxMax));
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glTranslatef(-windowCamera.cx, -windowCamera.cy, -windowCamera.distance);

    glutDisplayFunc(displayScene);
    glutReshapeFunc(reshapeScene);
    glutMainLoop();
}

void reshapeScene(int width, int height) {
    const Projection p =
        projectionFor(windowCamera, planePoint(globalScene.boxMin), planePoint(globalScene.boxMax),
                      width, height);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glViewport(0, 0, p.viewportWidth, p.viewportHeight);
    gluPerspective(p.fovY, p.aspect, p.zNear, p.zFar);
}

void displayScene() {
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glPushMatrix();
    for (const Circle& c : globalScene.circles) drawCircle(c);
    for (const Line& l : globalScene.lines) drawLine(l);
    for (const Segment& s : globalScene.segments) drawSegment(s);
    for (const Point& p : globalScene.points) drawPoint(p);
    glPopMatrix();
    glFlush();
    glutSwapBuffers();
}

}  // namespace pd
