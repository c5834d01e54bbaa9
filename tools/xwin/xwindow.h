#pragma once

// Looking at a program's window from outside, through Xlib: find it by its
// title, read its size and pixels, save them as a PNG, ask it to close.
// Every failure throws XWinError with a message saying what went wrong.

#include <cstdint>
#include <stdexcept>
#include <string>
#include <vector>

struct _XDisplay;  // Xlib's Display, kept out of the users' includes
struct _XImage;    // and its XImage

namespace pd {

class XWinError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

struct Pixel {
    std::uint8_t r = 0;
    std::uint8_t g = 0;
    std::uint8_t b = 0;
};

inline bool operator==(Pixel a, Pixel b) { return a.r == b.r && a.g == b.g && a.b == b.b; }
inline bool operator!=(Pixel a, Pixel b) { return !(a == b); }

// True when every channel of `a` is within `tolerance` of `b`'s.
bool nearColour(Pixel a, Pixel b, int tolerance);

// "(r, g, b)", for messages.
std::string describe(Pixel c);

// A picture of width x height pixels, row by row from the top, each row from
// the left.
struct RgbImage {
    int width = 0;
    int height = 0;
    std::vector<Pixel> pixels;

    // The pixel at column x, row y; both must lie inside the picture.
    Pixel at(int x, int y) const { return pixels[std::size_t(y) * std::size_t(width) + std::size_t(x)]; }
    bool contains(int x, int y) const { return x >= 0 && y >= 0 && x < width && y < height; }
};

inline bool operator==(const RgbImage& a, const RgbImage& b) {
    return a.width == b.width && a.height == b.height && a.pixels == b.pixels;
}

// The pixels of `image` (XGetImage's ZPixmap of a true colour visual) as
// 8-bit RGB, each channel scaled from its mask's range to 0..255.
RgbImage decodeImage(_XImage* image);

// A window's place on the screen (its top-left corner, in root window
// coordinates) and its inner size.
struct WindowGeometry {
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;
};

// What the program clears its window to: (0.9, 0.9, 0.8) as 8-bit channels.
constexpr Pixel clearColour{230, 230, 204};

// One connection to an X server.
class XSession {
public:
    using WindowId = unsigned long;

    // Opens `displayName`, or $DISPLAY when it is empty. Throws when no
    // display is named or the server cannot be reached.
    explicit XSession(const std::string& displayName = "");
    ~XSession();
    XSession(const XSession&) = delete;
    XSession& operator=(const XSession&) = delete;

    // All viewable windows, at any depth below the root, whose WM_NAME or
    // _NET_WM_NAME equals `title` exactly. When `pid` is not 0, windows that
    // carry a _NET_WM_PID of another process are left out.
    std::vector<WindowId> windowsTitled(const std::string& title, long pid = 0);

    // Waits up to `timeoutSeconds` for exactly one window titled `title`
    // (see windowsTitled) and returns it. Throws on timeout, naming what was
    // seen, or when more than one such window stands.
    WindowId waitForWindow(const std::string& title, double timeoutSeconds, long pid = 0);

    // True while the window exists (it need not be mapped).
    bool exists(WindowId window);

    // The window's position on the screen and its size. Throws for a window
    // that no longer exists.
    WindowGeometry geometry(WindowId window);

    // The window's current pixels. Throws when the window is gone, not
    // viewable, or of a visual that is not true colour.
    RgbImage capture(WindowId window);

    // Waits up to `timeoutSeconds` until the window's picture is drawn and
    // settled: its top-left pixel shows `background` (within 2 per channel)
    // and two reads `intervalSeconds` apart are identical. Returns the last
    // read; throws on timeout, saying what the corner showed.
    RgbImage waitUntilDrawn(WindowId window, double timeoutSeconds,
                            Pixel background = clearColour, double intervalSeconds = 0.15);

    // Resizes the window to width x height pixels, as a user dragging its
    // corner would (with no window manager, the server does it at once).
    // Throws when the window is gone or the size is not positive.
    void resize(WindowId window, int width, int height);

    // Asks the window's client to close it, as a window manager's close
    // button does: a WM_PROTOCOLS client message carrying WM_DELETE_WINDOW.
    // Throws when the window is gone or does not take part in that protocol.
    void requestClose(WindowId window);

    // Waits up to `timeoutSeconds` for the window to be destroyed; true if
    // it was.
    bool waitUntilGone(WindowId window, double timeoutSeconds);

private:
    std::string titleOf(WindowId window);
    long pidOf(WindowId window);
    void collect(WindowId parent, const std::string& title, long pid, int depth,
                 std::vector<WindowId>& found);
    // Runs pending requests to the server and throws `what` with the X
    // error's text if one of them failed.
    void check(const std::string& what);

    _XDisplay* display_ = nullptr;
};

// Writes `image` as an 8-bit RGB PNG to `path`. Throws when the file cannot
// be written or the image is empty.
void savePng(const RgbImage& image, const std::string& path);

// Reads an 8-bit RGB or RGBA PNG (alpha dropped). Throws when the file is
// missing or not such a PNG.
RgbImage loadPng(const std::string& path);

}  // namespace pd
