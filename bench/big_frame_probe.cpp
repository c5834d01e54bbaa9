// big-frame-probe: starts viewers in turn and measures how long each takes
// from the start of its process to its first drawn frame, and its peak
// memory; bench/big-first-frame.sh runs it on the geodesic spheres and
// prints the medians.
//
//   big-frame-probe [--runs N] [--patch S] [--timeout SEC] [--hold MS]
//       -- LABEL [--blank R,G,B]... [--settle MS] PROGRAM [ARGS...]
//       [-- LABEL ...]
//
// Viewers draw different things, so the frame is read from the same small
// patch, S x S pixels (default 32) at the centre of each one's window (the
// largest viewable top-level window once it maps), grabbed from the screen
// every millisecond: a whole 1024x700 grab would cost more than some of the
// frames. The frame counts as drawn when the patch holds a pixel that is
// none of the viewer's blank colours (what its window shows before the
// model: black, toolkit greys, the clear colour; --blank, within 2 per
// channel). With --settle MS, a repainted patch that then stays unchanged
// for MS milliseconds also counts, from the moment it took that content (a
// model whose centre happens to fall between its lines). After 200 ms more
// (--hold MS: that many, so that the peak memory takes in what a viewer
// draws after its first frame, the explorer's smooth picture) the viewer
// gets SIGTERM.
//
// After one unmeasured run of each viewer, the viewers take N turns
// (default 10) in the order given; each run prints one line: the label,
// milliseconds to the first frame, peak resident memory in KiB, the CPU
// milliseconds the process used in all (user and system, all its threads;
// it idles once its frame is up, so on a busy machine this is the steadier
// figure), and the signal or status it ended with. Exit status 1 as soon as a run shows no
// frame within SEC seconds (default 120), 2 for bad arguments.
//
// One connection to the X server stays open throughout, so the server never
// resets between runs.

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
#include <vector>

#include "xwindow.h"

namespace pd {

namespace {

using Clock = std::chrono::steady_clock;

double msSince(Clock::time_point t0) {
    return std::chrono::duration<double, std::milli>(Clock::now() - t0).count();
}

void sleepMs(int ms) { std::this_thread::sleep_for(std::chrono::milliseconds(ms)); }

struct Viewer {
    std::string label;
    std::vector<Pixel> blanks;
    int settleMs = 0;  // 0: only a non-blank pixel counts
    std::vector<char*> argv;  // null-terminated
};

struct Options {
    int runs = 10;
    int patch = 32;
    double timeoutSeconds = 120.0;
    int holdMs = 200;
    std::vector<Viewer> viewers;
};

int ignoreXErrors(Display*, XErrorEvent*) { return 0; }

// The largest viewable child of the root that is at least 100 pixels each
// way (a viewer's main window; there is no window manager), or 0.
Window mainWindow(Display* d) {
    Window root = 0, up = 0, *children = nullptr;
    unsigned int count = 0;
    if (!XQueryTree(d, DefaultRootWindow(d), &root, &up, &children, &count)) return 0;
    Window best = 0;
    long bestArea = 0;
    for (unsigned int i = 0; i < count; ++i) {
        XWindowAttributes a;
        if (!XGetWindowAttributes(d, children[i], &a) || a.map_state != IsViewable) continue;
        const long area = long(a.width) * long(a.height);
        if (a.width >= 100 && a.height >= 100 && area > bestArea) {
            best = children[i];
            bestArea = area;
        }
    }
    if (children) XFree(children);
    return best;
}

// The S x S patch of the screen centred on the window's centre; empty when
// the window is gone.
std::vector<Pixel> centralPatch(Display* d, Window w, int size) {
    XWindowAttributes a;
    Window child = 0;
    int x = 0, y = 0;
    if (!XGetWindowAttributes(d, w, &a) ||
        !XTranslateCoordinates(d, w, DefaultRootWindow(d), a.width / 2 - size / 2,
                               a.height / 2 - size / 2, &x, &y, &child))
        return {};
    XImage* image = XGetImage(d, DefaultRootWindow(d), x, y, unsigned(size), unsigned(size),
                              AllPlanes, ZPixmap);
    if (!image) return {};
    std::vector<Pixel> patch = decodeImage(image).pixels;
    XDestroyImage(image);
    return patch;
}

bool showsModel(const std::vector<Pixel>& patch, const std::vector<Pixel>& blanks) {
    for (Pixel p : patch) {
        bool blank = false;
        for (Pixel b : blanks) blank = blank || nearColour(p, b, 2);
        if (!blank) return true;
    }
    return false;
}

bool waitForNoWindow(Display* d) {
    const auto t0 = Clock::now();
    while (mainWindow(d)) {
        if (msSince(t0) > 10000.0) return false;
        sleepMs(5);
    }
    return true;
}

pid_t start(const Viewer& v) {
    const pid_t pid = fork();
    if (pid != 0) return pid;
    const int null = open("/dev/null", O_RDWR);
    if (null < 0) _exit(126);
    dup2(null, 0);
    dup2(null, 1);
    dup2(null, 2);
    execvp(v.argv[0], v.argv.data());
    _exit(127);
}

struct Measure {
    double firstFrameMs = -1.0;  // negative when no frame came
    long peakKib = 0;
    double cpuMs = 0.0;
    std::string ending;
};

Measure measure(Display* d, const Viewer& v, const Options& o) {
    Measure m;
    if (!waitForNoWindow(d)) {
        std::fprintf(stderr, "big-frame-probe: an earlier window stays open\n");
        return m;
    }
    const auto t0 = Clock::now();
    const pid_t pid = start(v);
    if (pid < 0) {
        std::fprintf(stderr, "big-frame-probe: cannot start %s\n", v.argv[0]);
        return m;
    }

    Window window = 0;
    std::vector<Pixel> first, last;
    double lastSince = 0.0;
    while (msSince(t0) < o.timeoutSeconds * 1000.0) {
        siginfo_t ended{};
        // Looks without reaping, so the peak memory can still be read below.
        if (waitid(P_PID, id_t(pid), &ended, WEXITED | WNOHANG | WNOWAIT) != 0 || ended.si_pid != 0)
            break;  // ended before its first frame
        if (!window) window = mainWindow(d);
        const std::vector<Pixel> patch = window ? centralPatch(d, window, o.patch) : std::vector<Pixel>{};
        const double now = msSince(t0);
        if (!patch.empty()) {
            if (showsModel(patch, v.blanks)) {
                m.firstFrameMs = now;
                break;
            }
            if (first.empty()) first = patch;
            if (patch != last) {
                last = patch;
                lastSince = now;
            } else if (v.settleMs > 0 && last != first && now - lastSince >= v.settleMs) {
                m.firstFrameMs = lastSince;
                break;
            }
        }
        sleepMs(1);
    }

    if (m.firstFrameMs >= 0.0) sleepMs(o.holdMs);
    kill(pid, SIGTERM);
    int status = 0;
    rusage usage{};
    const auto stopping = Clock::now();
    pid_t done = 0;
    while ((done = wait4(pid, &status, WNOHANG, &usage)) == 0 && msSince(stopping) < 10000.0)
        sleepMs(5);
    if (done == 0) {
        kill(pid, SIGKILL);
        wait4(pid, &status, 0, &usage);
    }
    m.peakKib = usage.ru_maxrss;
    m.cpuMs = 1000.0 * (double(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
                        double(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6);
    m.ending = WIFEXITED(status) ? "status-" + std::to_string(WEXITSTATUS(status))
                                 : std::string("signal-") + strsignal(WTERMSIG(status));
    for (char& c : m.ending)
        if (c == ' ') c = '-';
    return m;
}

bool parsePixel(const char* text, Pixel& p) {
    int r = -1, g = -1, b = -1;
    char extra = 0;
    if (std::sscanf(text, "%d,%d,%d%c", &r, &g, &b, &extra) != 3) return false;
    if (r < 0 || r > 255 || g < 0 || g > 255 || b < 0 || b > 255) return false;
    p = {std::uint8_t(r), std::uint8_t(g), std::uint8_t(b)};
    return true;
}

// Reads the command line into `o`; false when it is malformed.
bool parse(int argc, char** argv, Options& o) {
    int i = 1;
    for (; i < argc && std::strcmp(argv[i], "--") != 0; i += 2) {
        if (i + 1 >= argc) return false;
        if (std::strcmp(argv[i], "--runs") == 0) o.runs = std::atoi(argv[i + 1]);
        else if (std::strcmp(argv[i], "--patch") == 0) o.patch = std::atoi(argv[i + 1]);
        else if (std::strcmp(argv[i], "--timeout") == 0) o.timeoutSeconds = std::atof(argv[i + 1]);
        else if (std::strcmp(argv[i], "--hold") == 0) o.holdMs = std::atoi(argv[i + 1]);
        else return false;
    }
    while (i < argc) {  // at a "--"
        ++i;
        if (i >= argc) return false;
        Viewer v;
        v.label = argv[i++];
        for (; i + 1 < argc && argv[i][0] == '-' && argv[i][1] == '-'; i += 2) {
            Pixel p;
            if (std::strcmp(argv[i], "--blank") == 0 && parsePixel(argv[i + 1], p)) v.blanks.push_back(p);
            else if (std::strcmp(argv[i], "--settle") == 0) v.settleMs = std::atoi(argv[i + 1]);
            else return false;
        }
        for (; i < argc && std::strcmp(argv[i], "--") != 0; ++i) v.argv.push_back(argv[i]);
        if (v.argv.empty()) return false;
        v.argv.push_back(nullptr);
        o.viewers.push_back(std::move(v));
    }
    return !o.viewers.empty() && o.runs >= 1 && o.patch >= 1 && o.patch <= 512 &&
           o.timeoutSeconds > 0.0 && o.holdMs >= 0;
}

}  // namespace

}  // namespace pd

using namespace pd;

int main(int argc, char** argv) {
    Options o;
    if (!parse(argc, argv, o)) {
        std::fprintf(stderr,
                     "usage: big-frame-probe [--runs N] [--patch S] [--timeout SEC] [--hold MS] -- LABEL "
                     "[--blank R,G,B]... [--settle MS] PROGRAM [ARGS...] [-- LABEL ...]\n");
        return 2;
    }
    Display* d = XOpenDisplay(nullptr);
    if (!d) {
        std::fprintf(stderr, "big-frame-probe: no X display\n");
        return 2;
    }
    XSetErrorHandler(ignoreXErrors);

    for (int run = 0; run <= o.runs; ++run)
        for (const Viewer& v : o.viewers) {
            const Measure m = measure(d, v, o);
            if (m.firstFrameMs < 0.0) {
                std::fprintf(stderr, "big-frame-probe: no drawn frame from %s (%s)\n",
                             v.label.c_str(), m.ending.c_str());
                XCloseDisplay(d);
                return 1;
            }
            if (run == 0) continue;  // the unmeasured first run fills the caches
            std::printf("%s %.2f %ld %.1f %s\n", v.label.c_str(), m.firstFrameMs, m.peakKib,
                        m.cpuMs, m.ending.c_str());
            std::fflush(stdout);
        }
    XCloseDisplay(d);
    return 0;
}
