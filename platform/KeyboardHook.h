#pragma once

#include <cstdint>
#include <functional>

// The key-event source: every key press, automatic repeat and release and
// every mouse event of the program's windows, caught before any window sees
// it. Events are delivered on the interface thread.
//
// A keyboard event carries the time from the module's millisecond clock, the
// key's scan code (set 1, extended keys negated, see KeyCodes.h), its Windows
// virtual-key code with left and right Shift, Ctrl and Alt told apart, and
// the down flag (true for the press and for every automatic repeat, false for
// the one release when the key comes up). The receiver's answer decides:
// true lets the event go on to the windows, false swallows it. An unassigned
// receiver counts as true.
//
// At most one keyboard hook and one mouse hook exist at a time. Installing
// while a hook is installed changes nothing and returns true; the receiver
// given then is not stored.
using TKeyboardReceiver =
    std::function<bool(std::uint32_t time, int scanCode, int virtualKey, bool down)>;

// Mouse events are reported with the Windows message codes.
namespace MouseMessage {
constexpr int Move = 0x0200;
constexpr int LButtonDown = 0x0201, LButtonUp = 0x0202, LButtonDblClk = 0x0203;
constexpr int RButtonDown = 0x0204, RButtonUp = 0x0205, RButtonDblClk = 0x0206;
constexpr int MButtonDown = 0x0207, MButtonUp = 0x0208, MButtonDblClk = 0x0209;
constexpr int Wheel = 0x020A;
} // namespace MouseMessage

struct TMouseData {
    int X = 0; // pointer position on the screen
    int Y = 0;
};
using TMouseReceiver = std::function<bool(int message, const TMouseData& data)>;

// Needs a running QGuiApplication; returns whether a hook is installed after
// the call.
bool InstallKeyboardHook(TKeyboardReceiver receiver);
// Returns true when no keyboard hook remains.
bool RemoveKeyboardHook();
bool IsKeyboardHookInstalled();

bool InstallMouseHook(TMouseReceiver receiver);
bool RemoveMouseHook();
bool IsMouseHookInstalled();

// The state of Shift, Ctrl, Alt (either side) and Caps Lock as of the key
// event being delivered, taken from the platform's state that comes with the
// events (on X11 the server's modifier state at the time of each event and
// the keyboard indicators), so they agree with the key being reported even
// when later events are already queued. Without an installed hook they ask
// the platform directly.
bool IsShiftPressed();
bool IsCtrlPressed();
bool IsAltPressed();
bool IsCapsLockOn();
