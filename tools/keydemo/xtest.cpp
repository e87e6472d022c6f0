// kexora-xtest: sends raw X keycodes through the XTest extension, for tests
// that need the exact key (xdotool presses the left key with Shift_R and the
// like). Arguments, in order:
//   KEYCODE        press and release
//   KEYCODE:down   press
//   KEYCODE:up     release
//   sleep:MS       wait
#include <X11/Xlib.h>
#include <X11/extensions/XTest.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <thread>

int main(int argc, char** argv)
{
    Display* display = XOpenDisplay(nullptr);
    if (!display) {
        std::fprintf(stderr, "kexora-xtest: cannot open the display\n");
        return 1;
    }
    int event = 0, error = 0, major = 0, minor = 0;
    if (!XTestQueryExtension(display, &event, &error, &major, &minor)) {
        std::fprintf(stderr, "kexora-xtest: no XTest extension\n");
        return 1;
    }
    const auto pause = [](int ms) { std::this_thread::sleep_for(std::chrono::milliseconds(ms)); };
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg.rfind("sleep:", 0) == 0) {
            pause(std::atoi(arg.c_str() + 6));
            continue;
        }
        const auto colon = arg.find(':');
        const unsigned keycode = static_cast<unsigned>(std::atoi(arg.substr(0, colon).c_str()));
        const std::string action = colon == std::string::npos ? "" : arg.substr(colon + 1);
        if (keycode < 8 || keycode > 255 || (action != "" && action != "down" && action != "up")) {
            std::fprintf(stderr, "kexora-xtest: bad argument %s\n", arg.c_str());
            return 2;
        }
        if (action != "up")
            XTestFakeKeyEvent(display, keycode, True, 0);
        if (action == "")
            XTestFakeKeyEvent(display, keycode, False, 0);
        if (action == "up")
            XTestFakeKeyEvent(display, keycode, False, 0);
        XFlush(display);
        pause(15);
    }
    XSync(display, False);
    XCloseDisplay(display);
    return 0;
}
