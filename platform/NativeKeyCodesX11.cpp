// Native key codes of X11 and Wayland: the X keycode, which is the Linux input
// event code plus 8. A Windows build gets its own file (set 1 with the
// extended flag in bit 8) and leaves this one out.
#include "platform/KeyCodes.h"

#include <QtGlobal>

#ifndef Q_OS_WIN

namespace {
constexpr std::uint32_t EvdevOffset = 8;
}

int NativeScanCodeToScanCode(std::uint32_t native)
{
    if (native <= EvdevOffset)
        return 0;
    return EvdevToScanCode(static_cast<int>(native - EvdevOffset));
}

std::uint32_t ScanCodeToNativeScanCode(int scanCode)
{
    const TKeyCode* key = FindKeyCode(scanCode);
    if (!key || key->Evdev <= 0)
        return 0;
    return static_cast<std::uint32_t>(key->Evdev) + EvdevOffset;
}

#endif
