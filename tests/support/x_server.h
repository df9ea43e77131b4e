// An X server of the test's own (Xvfb on a display number it finds free),
// and what a user and a window manager do to the windows on it: clicks
// through XTest, the focus, the close button's request and the pictures.
#pragma once

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/XTest.h>
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdint>
#include <string>
#include <thread>
#include <vector>

#include "tests/support/temp_dir.h"

namespace qv::test {

class XServer {
public:
    XServer() = default;
    ~XServer() { Stop(); }
    XServer(const XServer&) = delete;
    XServer& operator=(const XServer&) = delete;

    // Starts Xvfb with one screen of the size (24-bit colour) and connects
    // to it; false, with Error() saying why, when either fails.
    bool Start(int width = 1024, int height = 768) {
        int ready[2];
        if (::pipe(ready) != 0) return Fail("no pipe");
        const std::string size = std::to_string(width) + "x" + std::to_string(height) + "x24";
        const std::string fd = std::to_string(ready[1]);
        const std::string log = logDir_.Path("xvfb.log");
        server_ = ::fork();
        if (server_ == 0) {
            ::close(ready[0]);
            const int out = ::open(log.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
            if (out >= 0) {
                ::dup2(out, 1);
                ::dup2(out, 2);
            }
            ::execlp("Xvfb", "Xvfb", "-displayfd", fd.c_str(), "-screen", "0", size.c_str(), "-nolisten", "tcp",
                     static_cast<char*>(nullptr));
            ::_exit(127);
        }
        ::close(ready[1]);
        if (server_ < 0) {
            ::close(ready[0]);
            return Fail("fork failed");
        }
        // Xvfb writes its display number once it takes connections.
        std::string number;
        pollfd wait{ready[0], POLLIN, 0};
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(30);
        while (number.find('\n') == std::string::npos && std::chrono::steady_clock::now() < deadline) {
            if (::poll(&wait, 1, 100) <= 0) continue;
            char c = 0;
            if (::read(ready[0], &c, 1) != 1) break;
            number += c;
        }
        ::close(ready[0]);
        if (number.find('\n') == std::string::npos) {
            return Fail("Xvfb did not start (is the Debian package xvfb installed? scripts/setup.sh installs it): " +
                        ReadLog());
        }
        name_ = ":" + number.substr(0, number.find('\n'));
        display_ = XOpenDisplay(name_.c_str());
        if (display_ == nullptr) return Fail("cannot connect to Xvfb on " + name_);
        // A window that goes while it is looked at (the game's, a message
        // box's) is no reason to end the test process.
        XSetErrorHandler(IgnoreError);
        int event = 0, error = 0, major = 0, minor = 0;
        if (!XTestQueryExtension(display_, &event, &error, &major, &minor)) return Fail("Xvfb has no XTEST");
        return true;
    }

    void Stop() {
        if (display_ != nullptr) {
            XCloseDisplay(display_);
            display_ = nullptr;
        }
        if (server_ > 0) {
            ::kill(server_, SIGTERM);
            int status = 0;
            ::waitpid(server_, &status, 0);
            server_ = -1;
        }
    }

    const std::string& Error() const { return error_; }
    // The display's name for DISPLAY, such as ":3".
    const std::string& Name() const { return name_; }
    Display* Connection() const { return display_; }

    // A viewable top-level window whose title is the text, waited for up to
    // seconds; 0 when none came.
    Window FindWindow(const std::string& title, int seconds) const {
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(seconds);
        do {
            Window found = TopLevelNamed(title);
            if (found != 0) return found;
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
        } while (std::chrono::steady_clock::now() < deadline);
        return 0;
    }
    // Whether such a window is there now.
    bool HasWindow(const std::string& title) const { return TopLevelNamed(title) != 0; }

    // The window's size.
    bool Size(Window window, int& width, int& height) const {
        XWindowAttributes attributes{};
        if (XGetWindowAttributes(display_, window, &attributes) == 0) return false;
        width = attributes.width;
        height = attributes.height;
        return true;
    }

    // Another client's window, shown at the place and given the focus, as a
    // window manager gives it to the window the user has just clicked.
    Window OpenFocusedWindow(int x, int y, int width, int height) {
        const int screen = DefaultScreen(display_);
        Window window = XCreateSimpleWindow(display_, RootWindow(display_, screen), x, y, static_cast<unsigned>(width),
                                            static_cast<unsigned>(height), 0, BlackPixel(display_, screen),
                                            WhitePixel(display_, screen));
        XStoreName(display_, window, "other window");
        XSelectInput(display_, window, StructureNotifyMask);
        XMapRaised(display_, window);
        XEvent event;
        do {
            XWindowEvent(display_, window, StructureNotifyMask, &event);
        } while (event.type != MapNotify);
        TakeFocus(window);
        return window;
    }

    // The window gets the keyboard focus.
    void TakeFocus(Window window) {
        XSetInputFocus(display_, window, RevertToParent, CurrentTime);
        XSync(display_, False);
    }

    // A left click at the window's point: the pointer goes there, then the
    // button is pressed and let go 50 ms later. With focusFirst the window
    // gets the focus right before the press, in the same request batch, as
    // a click-to-focus window manager gives it.
    void Click(Window window, int x, int y, bool focusFirst = false) {
        const int screen = DefaultScreen(display_);
        int rootX = 0, rootY = 0;
        Window child = 0;
        XTranslateCoordinates(display_, window, RootWindow(display_, screen), x, y, &rootX, &rootY, &child);
        XTestFakeMotionEvent(display_, screen, rootX, rootY, CurrentTime);
        XSync(display_, False);
        if (focusFirst) XSetInputFocus(display_, window, RevertToParent, CurrentTime);
        XTestFakeButtonEvent(display_, 1, True, CurrentTime);
        XTestFakeButtonEvent(display_, 1, False, 50);
        XSync(display_, False);
    }

    // What a window manager sends when the window's close button is
    // pressed: WM_PROTOCOLS with WM_DELETE_WINDOW.
    void RequestClose(Window window) {
        XEvent event{};
        event.xclient.type = ClientMessage;
        event.xclient.window = window;
        event.xclient.message_type = XInternAtom(display_, "WM_PROTOCOLS", False);
        event.xclient.format = 32;
        event.xclient.data.l[0] = static_cast<long>(XInternAtom(display_, "WM_DELETE_WINDOW", False));
        event.xclient.data.l[1] = CurrentTime;
        XSendEvent(display_, window, False, NoEventMask, &event);
        XSync(display_, False);
    }

    // The window's picture from its top-left corner, each pixel reduced to
    // 16-bit 5-6-5; empty when it cannot be read.
    std::vector<uint16_t> Picture565(Window window, int width, int height) const {
        std::vector<uint16_t> out;
        XImage* image = XGetImage(display_, window, 0, 0, static_cast<unsigned>(width), static_cast<unsigned>(height),
                                  AllPlanes, ZPixmap);
        if (image == nullptr) return out;
        out.reserve(static_cast<size_t>(width) * static_cast<size_t>(height));
        for (int y = 0; y < height; ++y) {
            for (int x = 0; x < width; ++x) {
                const unsigned long pixel = XGetPixel(image, x, y);
                out.push_back(To565(Channel(pixel, image->red_mask), Channel(pixel, image->green_mask),
                                    Channel(pixel, image->blue_mask)));
            }
        }
        XDestroyImage(image);
        return out;
    }

    // 8-bit channels reduced to a 5-6-5 pixel.
    static uint16_t To565(unsigned red, unsigned green, unsigned blue) {
        return static_cast<uint16_t>(((red >> 3) << 11) | ((green >> 2) << 5) | (blue >> 3));
    }

private:
    bool Fail(const std::string& why) {
        error_ = why;
        return false;
    }

    std::string ReadLog() const {
        std::string text;
        const int fd = ::open(logDir_.Path("xvfb.log").c_str(), O_RDONLY);
        if (fd < 0) return text;
        char buffer[512];
        ssize_t n = 0;
        while ((n = ::read(fd, buffer, sizeof buffer)) > 0 && text.size() < 4096) text.append(buffer, n);
        ::close(fd);
        return text;
    }

    static int IgnoreError(Display*, XErrorEvent*) { return 0; }

    // The masked bits of the pixel as an 8-bit value.
    static unsigned Channel(unsigned long pixel, unsigned long mask) {
        if (mask == 0) return 0;
        unsigned long value = pixel & mask;
        while ((mask & 1) == 0) {
            mask >>= 1;
            value >>= 1;
        }
        while (mask > 0xFF) {
            mask >>= 1;
            value >>= 1;
        }
        return static_cast<unsigned>(value * 255 / mask);
    }

    // The window's WM_NAME as its bytes stand, whatever its type (SDL's
    // boxes write UTF8_STRING, which XFetchName does not return).
    std::string Title(Window window) const {
        Atom type = 0;
        int format = 0;
        unsigned long count = 0, after = 0;
        unsigned char* data = nullptr;
        std::string title;
        if (XGetWindowProperty(display_, window, XA_WM_NAME, 0, 256, False, AnyPropertyType, &type, &format, &count,
                               &after, &data) == Success &&
            data != nullptr) {
            if (format == 8) title.assign(reinterpret_cast<const char*>(data), count);
            XFree(data);
        }
        return title;
    }

    Window TopLevelNamed(const std::string& title) const {
        Window root = 0, parent = 0;
        Window* children = nullptr;
        unsigned count = 0;
        Window found = 0;
        if (XQueryTree(display_, DefaultRootWindow(display_), &root, &parent, &children, &count) == 0) return 0;
        for (unsigned i = 0; i < count && found == 0; ++i) {
            XWindowAttributes attributes{};
            if (XGetWindowAttributes(display_, children[i], &attributes) == 0 || attributes.map_state != IsViewable) {
                continue;
            }
            if (Title(children[i]) == title) found = children[i];
        }
        if (children != nullptr) XFree(children);
        return found;
    }

    TempDir logDir_{"xvfb"};
    pid_t server_ = -1;
    Display* display_ = nullptr;
    std::string name_;
    std::string error_;
};

}  // namespace qv::test
