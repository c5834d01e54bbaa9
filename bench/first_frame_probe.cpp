// first-frame-probe: starts GLUT programs in turn and measures how long each
// takes from the start of its process to its first drawn frame, and how much
// memory it takes at most; bench/first-frame.sh prints the medians.
//
//   first-frame-probe [--dir DIR] [--input FILE] [--runs N] PROGRAM...
//
// Each program runs in DIR with FILE as its standard input (its console
// output is dropped). The frame counts as drawn when the window titled
// "Geometrija - prikaz zadatka" shows the clear colour in its top-left
// pixel; the probe reads that one pixel every millisecond. It then closes
// the window as a window manager does. After one unmeasured run of each
// program, the programs take N turns (default 20), in the order given; each
// run prints one line: the program's name, milliseconds to the first frame,
// peak resident memory in KiB, and its exit status. Exit status 1 as soon
// as a run shows no frame.
//
// One connection to the X server stays open throughout: a server resets
// when its last client leaves, and a run that started during a reset would
// be timed wrongly or not at all.

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <string>
#include <sys/resource.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

#include "xwindow.h"

namespace pd {

namespace {

using Clock = std::chrono::steady_clock;

constexpr const char* title = "Geometrija - prikaz zadatka";
// How far a channel may stray from the clear colour (xwindow.h).
constexpr int tolerance = 2;

// Windows come and go while we look; their errors are expected.
int ignoreXErrors(Display*, XErrorEvent*) { return 0; }

long windowPid(Display* d, Window w) {
    Atom pidAtom = XInternAtom(d, "_NET_WM_PID", True);
    if (pidAtom == None) return 0;
    Atom type;
    int format;
    unsigned long count, after;
    unsigned char* data = nullptr;
    long pid = 0;
    if (XGetWindowProperty(d, w, pidAtom, 0, 1, False, XA_CARDINAL, &type, &format, &count,
                           &after, &data) == Success &&
        data && count == 1 && format == 32)
        pid = static_cast<long>(*reinterpret_cast<unsigned long*>(data));
    if (data) XFree(data);
    return pid;
}

bool titled(Display* d, Window w) {
    char* name = nullptr;
    bool match = false;
    if (XFetchName(d, w, &name) && name) match = std::strcmp(name, title) == 0;
    if (name) XFree(name);
    return match;
}

// The viewable window with our title that belongs to `pid` (or names no
// process), searched below `parent`; 0 when there is none yet.
Window findWindow(Display* d, Window parent, pid_t pid, int depth = 0) {
    Window root, up, *children = nullptr;
    unsigned int count = 0;
    if (depth > 3 || !XQueryTree(d, parent, &root, &up, &children, &count)) return 0;
    Window found = 0;
    for (unsigned int i = 0; i < count && !found; ++i) {
        XWindowAttributes a;
        const long owner = titled(d, children[i]) ? windowPid(d, children[i]) : -1;
        if ((owner == pid || owner == 0) &&
            XGetWindowAttributes(d, children[i], &a) && a.map_state == IsViewable)
            found = children[i];
        else
            found = findWindow(d, children[i], pid, depth + 1);
    }
    if (children) XFree(children);
    return found;
}

bool cornerIsCleared(Display* d, Window w) {
    XImage* image = XGetImage(d, w, 0, 0, 1, 1, AllPlanes, ZPixmap);
    if (!image) return false;
    const Pixel corner = decodeImage(image).at(0, 0);
    XDestroyImage(image);
    return nearColour(corner, clearColour, tolerance);
}

void askToClose(Display* d, Window w) {
    XEvent e{};
    e.xclient.type = ClientMessage;
    e.xclient.window = w;
    e.xclient.message_type = XInternAtom(d, "WM_PROTOCOLS", False);
    e.xclient.format = 32;
    e.xclient.data.l[0] = static_cast<long>(XInternAtom(d, "WM_DELETE_WINDOW", False));
    e.xclient.data.l[1] = CurrentTime;
    XSendEvent(d, w, False, NoEventMask, &e);
    XFlush(d);
}

pid_t startProgram(char** argv, const char* dir, const char* input) {
    // The program's path is taken before the move to DIR.
    char* program = realpath(argv[0], nullptr);
    if (!program) return -1;
    const pid_t pid = fork();
    if (pid != 0) {
        std::free(program);
        return pid;
    }
    if (dir && chdir(dir) != 0) _exit(126);
    const int in = open(input ? input : "/dev/null", O_RDONLY);
    const int out = open("/dev/null", O_WRONLY);
    if (in < 0 || out < 0) _exit(126);
    dup2(in, 0);
    dup2(out, 1);
    dup2(out, 2);
    execv(program, argv);
    _exit(127);
}

struct Measure {
    double firstFrameMs = -1.0;  // negative when no frame came
    long peakKib = 0;
    int status = 0;
};

// The window's title names no process, so a run starts only once no window
// of an earlier run is left; then the first window with the title is its.
bool waitForNoWindow(Display* d) {
    const auto t0 = Clock::now();
    while (findWindow(d, DefaultRootWindow(d), 0)) {
        if (std::chrono::duration<double>(Clock::now() - t0).count() > 10.0) return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    return true;
}

Measure measure(Display* d, char* program, const char* dir, const char* input) {
    Measure m;
    if (!waitForNoWindow(d)) {
        std::fprintf(stderr, "first-frame-probe: an earlier window stays open\n");
        return m;
    }
    char* argv[] = {program, nullptr};
    const auto t0 = Clock::now();
    const pid_t pid = startProgram(argv, dir, input);
    if (pid < 0) {
        std::fprintf(stderr, "first-frame-probe: cannot start %s\n", program);
        return m;
    }

    Window window = 0;
    while (std::chrono::duration<double>(Clock::now() - t0).count() < 30.0) {
        siginfo_t ended{};
        // Looks without reaping, so the peak memory can still be read below.
        if (waitid(P_PID, id_t(pid), &ended, WEXITED | WNOHANG | WNOWAIT) != 0 || ended.si_pid != 0)
            break;  // ended before its first frame
        if (!window) window = findWindow(d, DefaultRootWindow(d), pid);
        if (window && cornerIsCleared(d, window)) {
            m.firstFrameMs = std::chrono::duration<double, std::milli>(Clock::now() - t0).count();
            break;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }

    if (window) askToClose(d, window);
    int status = 0;
    rusage usage{};
    const auto closing = Clock::now();
    pid_t done = 0;
    while ((done = wait4(pid, &status, WNOHANG, &usage)) == 0 &&
           std::chrono::duration<double>(Clock::now() - closing).count() < 10.0)
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    if (done == 0) {
        kill(pid, SIGKILL);
        wait4(pid, &status, 0, &usage);
    }
    m.peakKib = usage.ru_maxrss;
    m.status = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    return m;
}

}  // namespace

}  // namespace pd

using namespace pd;

int main(int argc, char** argv) {
    const char* dir = nullptr;
    const char* input = nullptr;
    int runs = 20;
    int i = 1;
    for (; i + 1 < argc; i += 2) {
        if (std::strcmp(argv[i], "--dir") == 0) dir = argv[i + 1];
        else if (std::strcmp(argv[i], "--input") == 0) input = argv[i + 1];
        else if (std::strcmp(argv[i], "--runs") == 0) runs = std::atoi(argv[i + 1]);
        else break;
    }
    if (i >= argc || runs < 1) {
        std::fprintf(stderr, "usage: first-frame-probe [--dir DIR] [--input FILE] [--runs N] PROGRAM...\n");
        return 2;
    }
    Display* d = XOpenDisplay(nullptr);
    if (!d) {
        std::fprintf(stderr, "first-frame-probe: no X display\n");
        return 2;
    }
    XSetErrorHandler(ignoreXErrors);

    for (int run = 0; run <= runs; ++run) {
        for (int p = i; p < argc; ++p) {
            const Measure m = measure(d, argv[p], dir, input);
            if (m.firstFrameMs < 0.0) {
                std::fprintf(stderr, "first-frame-probe: no drawn frame from %s (status %d)\n",
                             argv[p], m.status);
                XCloseDisplay(d);
                return 1;
            }
            if (run == 0) continue;  // the unmeasured first run fills the caches
            const char* slash = std::strrchr(argv[p], '/');
            std::printf("%s %.2f %ld %d\n", slash ? slash + 1 : argv[p], m.firstFrameMs, m.peakKib,
                        m.status);
            std::fflush(stdout);
        }
    }
    XCloseDisplay(d);
    return 0;
}
