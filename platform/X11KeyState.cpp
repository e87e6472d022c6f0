#include "platform/X11KeyState.h"

#include <QGuiApplication>
#include <QtGui/qguiapplication_platform.h>

// X11 defines names such as KeyPress and None: keep it after the Qt headers
// and inside this file.
#ifdef KEXORA_HAVE_X11
#include <X11/XKBlib.h>
#endif

namespace {

#ifdef KEXORA_HAVE_X11
Display* X11Display()
{
    auto* app = qGuiApp;
    if (!app)
        return nullptr;
    auto* x11 = app->nativeInterface<QNativeInterface::QX11Application>();
    return x11 ? x11->display() : nullptr;
}
#endif

} // namespace

bool QueryX11CapsLock(bool& on)
{
#ifdef KEXORA_HAVE_X11
    Display* display = X11Display();
    if (!display)
        return false;
    unsigned int state = 0;
    if (XkbGetIndicatorState(display, XkbUseCoreKbd, &state) != Success)
        return false;
    on = (state & 1u) != 0;
    return true;
#else
    (void)on;
    return false;
#endif
}

bool IsX11Platform()
{
    static int x11 = -1; // not known before the application object exists
    if (x11 < 0 && qGuiApp)
        x11 = QGuiApplication::platformName() == QLatin1String("xcb") ? 1 : 0;
    return x11 == 1;
}
