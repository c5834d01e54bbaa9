#include "xwindow.h"

// Before Xlib, which defines Status as a macro.
#include "picture/png_file.h"

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <png.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <thread>

namespace pd {

namespace {

using Clock = std::chrono::steady_clock;

double secondsSince(Clock::time_point t0) {
    return std::chrono::duration<double>(Clock::now() - t0).count();
}

void sleepSeconds(double s) {
    std::this_thread::sleep_for(std::chrono::duration<double>(s));
}

// Xlib's default error handler ends the process; a window that vanishes
// between two requests is normal here, so errors are noted instead and
// turned into exceptions by XSession::check.
int lastErrorCode = 0;
char lastErrorText[256] = "";

int noteError(Display* display, XErrorEvent* event) {
    lastErrorCode = event->error_code;
    XGetErrorText(display, event->error_code, lastErrorText, sizeof lastErrorText);
    return 0;
}

// Where a channel sits in a pixel value, from its mask.
struct Channel {
    int shift = 0;
    unsigned long max = 0;
};

Channel channelOf(unsigned long mask) {
    Channel c;
    if (mask == 0) return c;
    while (!(mask & 1ul)) {
        mask >>= 1;
        ++c.shift;
    }
    c.max = mask;
    return c;
}

std::string seconds(double s) {
    char text[32];
    std::snprintf(text, sizeof text, "%g s", s);
    return text;
}

std::uint8_t scaled(unsigned long pixel, Channel c) {
    if (c.max == 0) return 0;
    const unsigned long v = (pixel >> c.shift) & c.max;
    return static_cast<std::uint8_t>((v * 255 + c.max / 2) / c.max);
}

struct ImageDeleter {
    void operator()(XImage* image) const { XDestroyImage(image); }
};

}  // namespace

RgbImage decodeImage(XImage* image) {
    const Channel red = channelOf(image->red_mask);
    const Channel green = channelOf(image->green_mask);
    const Channel blue = channelOf(image->blue_mask);
    RgbImage out;
    out.width = image->width;
    out.height = image->height;
    out.pixels.resize(std::size_t(out.width) * std::size_t(out.height));
    for (int y = 0; y < out.height; ++y)
        for (int x = 0; x < out.width; ++x) {
            const unsigned long p = XGetPixel(image, x, y);
            out.pixels[std::size_t(y) * std::size_t(out.width) + std::size_t(x)] = {
                scaled(p, red), scaled(p, green), scaled(p, blue)};
        }
    return out;
}

bool nearColour(Pixel a, Pixel b, int tolerance) {
    return std::abs(int(a.r) - int(b.r)) <= tolerance && std::abs(int(a.g) - int(b.g)) <= tolerance &&
           std::abs(int(a.b) - int(b.b)) <= tolerance;
}

std::string describe(Pixel c) {
    return "(" + std::to_string(c.r) + ", " + std::to_string(c.g) + ", " + std::to_string(c.b) + ")";
}

XSession::XSession(const std::string& displayName) {
    const char* name = displayName.empty() ? std::getenv("DISPLAY") : displayName.c_str();
    if (name == nullptr || *name == '\0')
        throw XWinError("no X display: DISPLAY is not set");
    display_ = XOpenDisplay(name);
    if (display_ == nullptr)
        throw XWinError(std::string("cannot open X display \"") + name + "\"");
    XSetErrorHandler(noteError);
}

XSession::~XSession() {
    if (display_ != nullptr) XCloseDisplay(display_);
}

void XSession::check(const std::string& what) {
    XSync(display_, False);
    if (lastErrorCode != 0) {
        const std::string text = lastErrorText;
        lastErrorCode = 0;
        throw XWinError(what + ": " + text);
    }
}

std::string XSession::titleOf(WindowId window) {
    // _NET_WM_NAME (UTF-8) is what modern toolkits set; WM_NAME is the
    // classic one. Either matching is enough.
    std::string title;
    const Atom netName = XInternAtom(display_, "_NET_WM_NAME", False);
    const Atom utf8 = XInternAtom(display_, "UTF8_STRING", False);
    Atom type = None;
    int format = 0;
    unsigned long count = 0, after = 0;
    unsigned char* data = nullptr;
    if (XGetWindowProperty(display_, window, netName, 0, 1024, False, utf8, &type, &format,
                           &count, &after, &data) == Success &&
        data != nullptr) {
        if (type == utf8 && format == 8) title.assign(reinterpret_cast<char*>(data), count);
        XFree(data);
    }
    if (!title.empty()) return title;
    char* name = nullptr;
    if (XFetchName(display_, window, &name) && name != nullptr) {
        title = name;
        XFree(name);
    }
    return title;
}

long XSession::pidOf(WindowId window) {
    const Atom netPid = XInternAtom(display_, "_NET_WM_PID", False);
    Atom type = None;
    int format = 0;
    unsigned long count = 0, after = 0;
    unsigned char* data = nullptr;
    long pid = 0;
    if (XGetWindowProperty(display_, window, netPid, 0, 1, False, XA_CARDINAL, &type, &format,
                           &count, &after, &data) == Success &&
        data != nullptr) {
        if (type == XA_CARDINAL && format == 32 && count == 1)
            pid = *reinterpret_cast<long*>(data);  // Xlib hands 32-bit items as long
        XFree(data);
    }
    return pid;
}

void XSession::collect(WindowId parent, const std::string& title, long pid, int depth,
                       std::vector<WindowId>& found) {
    Window root = 0, up = 0;
    Window* children = nullptr;
    unsigned int count = 0;
    if (!XQueryTree(display_, parent, &root, &up, &children, &count)) return;
    std::vector<Window> list(children, children + count);
    if (children != nullptr) XFree(children);
    for (Window w : list) {
        XWindowAttributes attributes;
        if (!XGetWindowAttributes(display_, w, &attributes)) continue;  // gone meanwhile
        if (attributes.map_state == IsViewable && titleOf(w) == title) {
            const long owner = pid != 0 ? pidOf(w) : 0;
            if (owner == 0 || owner == pid) found.push_back(w);
        }
        // A window manager puts the client window inside a frame of its own.
        if (depth > 1) collect(w, title, pid, depth - 1, found);
    }
}

std::vector<XSession::WindowId> XSession::windowsTitled(const std::string& title, long pid) {
    std::vector<WindowId> found;
    collect(DefaultRootWindow(display_), title, pid, 3, found);
    XSync(display_, False);
    lastErrorCode = 0;  // windows that vanished during the walk are simply not found
    return found;
}

XSession::WindowId XSession::waitForWindow(const std::string& title, double timeoutSeconds,
                                           long pid) {
    const auto t0 = Clock::now();
    for (;;) {
        const std::vector<WindowId> found = windowsTitled(title, pid);
        if (found.size() == 1) return found.front();
        if (found.size() > 1)
            throw XWinError(std::to_string(found.size()) + " windows are titled \"" + title + "\"");
        if (secondsSince(t0) > timeoutSeconds)
            throw XWinError("no viewable window titled \"" + title + "\" appeared within " +
                            seconds(timeoutSeconds));
        sleepSeconds(0.05);
    }
}

bool XSession::exists(WindowId window) {
    XWindowAttributes attributes;
    const Status ok = XGetWindowAttributes(display_, window, &attributes);
    XSync(display_, False);
    const bool gone = lastErrorCode != 0;
    lastErrorCode = 0;
    return ok && !gone;
}

WindowGeometry XSession::geometry(WindowId window) {
    XWindowAttributes attributes;
    if (!XGetWindowAttributes(display_, window, &attributes)) {
        lastErrorCode = 0;
        throw XWinError("the window no longer exists");
    }
    Window child = 0;
    int x = 0, y = 0;
    XTranslateCoordinates(display_, window, DefaultRootWindow(display_), 0, 0, &x, &y, &child);
    check("cannot find where the window lies on the screen");
    return {x, y, attributes.width, attributes.height};
}

RgbImage XSession::capture(WindowId window) {
    XWindowAttributes attributes;
    if (!XGetWindowAttributes(display_, window, &attributes)) {
        lastErrorCode = 0;
        throw XWinError("the window no longer exists");
    }
    if (attributes.map_state != IsViewable) throw XWinError("the window is not viewable");
    if (attributes.visual->c_class != TrueColor && attributes.visual->c_class != DirectColor)
        throw XWinError("the window's visual is not true colour");
    std::unique_ptr<XImage, ImageDeleter> image(XGetImage(
        display_, window, 0, 0, unsigned(attributes.width), unsigned(attributes.height), AllPlanes,
        ZPixmap));
    check("cannot read the window's pixels");
    if (!image) throw XWinError("cannot read the window's pixels");

    return decodeImage(image.get());
}

RgbImage XSession::waitUntilDrawn(WindowId window, double timeoutSeconds, Pixel background,
                                  double intervalSeconds) {
    const auto t0 = Clock::now();
    RgbImage previous = capture(window);
    for (;;) {
        sleepSeconds(intervalSeconds);
        RgbImage current = capture(window);
        const bool cleared = current.width > 0 && current.height > 0 &&
                             nearColour(current.at(0, 0), background, 2);
        if (cleared && current == previous) return current;
        if (secondsSince(t0) > timeoutSeconds) {
            const std::string corner =
                current.width > 0 && current.height > 0 ? describe(current.at(0, 0)) : "nothing";
            throw XWinError("the window's picture did not settle within " +
                            seconds(timeoutSeconds) + " (top-left pixel " + corner +
                            ", expected " + describe(background) + ")");
        }
        previous = std::move(current);
    }
}

void XSession::resize(WindowId window, int width, int height) {
    if (width <= 0 || height <= 0)
        throw XWinError("cannot resize a window to " + std::to_string(width) + "x" +
                        std::to_string(height));
    XResizeWindow(display_, window, unsigned(width), unsigned(height));
    check("cannot resize the window");
}

void XSession::requestClose(WindowId window) {
    const Atom protocols = XInternAtom(display_, "WM_PROTOCOLS", False);
    const Atom deleteWindow = XInternAtom(display_, "WM_DELETE_WINDOW", False);
    Atom* list = nullptr;
    int count = 0;
    bool takesPart = false;
    if (XGetWMProtocols(display_, window, &list, &count)) {
        for (int i = 0; i < count; ++i) takesPart = takesPart || list[i] == deleteWindow;
        XFree(list);
    }
    check("the window no longer exists");
    if (!takesPart) throw XWinError("the window does not accept WM_DELETE_WINDOW");

    XEvent event{};
    event.xclient.type = ClientMessage;
    event.xclient.window = window;
    event.xclient.message_type = protocols;
    event.xclient.format = 32;
    event.xclient.data.l[0] = long(deleteWindow);
    event.xclient.data.l[1] = CurrentTime;
    XSendEvent(display_, window, False, NoEventMask, &event);
    check("cannot send WM_DELETE_WINDOW");
}

bool XSession::waitUntilGone(WindowId window, double timeoutSeconds) {
    const auto t0 = Clock::now();
    while (exists(window)) {
        if (secondsSince(t0) > timeoutSeconds) return false;
        sleepSeconds(0.05);
    }
    return true;
}

namespace {

struct PngFile {
    std::FILE* file;
    explicit PngFile(std::FILE* f) : file(f) {}
    ~PngFile() {
        if (file != nullptr) std::fclose(file);
    }
};

}  // namespace

void savePng(const RgbImage& image, const std::string& path) {
    if (image.width <= 0 || image.height <= 0) throw XWinError("cannot save an empty picture");
    static_assert(sizeof(Pixel) == 3, "pixels are packed RGB");
    const auto* bytes = reinterpret_cast<const std::uint8_t*>(image.pixels.data());
    const std::vector<std::uint8_t> rgb(bytes, bytes + 3 * image.pixels.size());
    // Xlib defines Status as a macro, so the result type is spelt out.
    const Result<Done> written = writePngFile(path, image.width, image.height, rgb);
    if (!written) throw XWinError(written.error().text());
}

RgbImage loadPng(const std::string& path) {
    PngFile in(std::fopen(path.c_str(), "rb"));
    if (in.file == nullptr) throw XWinError("cannot open \"" + path + "\"");
    png_structp png = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png != nullptr ? png_create_info_struct(png) : nullptr;
    if (info == nullptr) {
        png_destroy_read_struct(&png, nullptr, nullptr);
        throw XWinError("out of memory while reading \"" + path + "\"");
    }
    RgbImage image;
    std::vector<png_byte> row;
    if (setjmp(png_jmpbuf(png))) {
        png_destroy_read_struct(&png, &info, nullptr);
        throw XWinError("\"" + path + "\" is not a readable PNG");
    }
    png_init_io(png, in.file);
    png_read_info(png, info);
    const int colourType = png_get_color_type(png, info);
    if (png_get_bit_depth(png, info) != 8 ||
        (colourType != PNG_COLOR_TYPE_RGB && colourType != PNG_COLOR_TYPE_RGB_ALPHA) ||
        png_get_interlace_type(png, info) != PNG_INTERLACE_NONE) {
        png_destroy_read_struct(&png, &info, nullptr);
        throw XWinError("\"" + path + "\" is not an 8-bit RGB PNG");
    }
    const int channels = colourType == PNG_COLOR_TYPE_RGB ? 3 : 4;
    image.width = int(png_get_image_width(png, info));
    image.height = int(png_get_image_height(png, info));
    image.pixels.resize(std::size_t(image.width) * std::size_t(image.height));
    row.resize(std::size_t(image.width) * std::size_t(channels));
    for (int y = 0; y < image.height; ++y) {
        png_read_row(png, row.data(), nullptr);
        for (int x = 0; x < image.width; ++x) {
            const png_byte* p = &row[std::size_t(x) * std::size_t(channels)];
            image.pixels[std::size_t(y) * std::size_t(image.width) + std::size_t(x)] = {p[0], p[1], p[2]};
        }
    }
    png_read_end(png, nullptr);
    png_destroy_read_struct(&png, &info, nullptr);
    return image;
}

}  // namespace pd
