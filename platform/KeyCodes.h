#pragma once

#include <cstdint>
#include <span>

// Key identity. A physical key is its PC set-1 make code, negated for the keys
// the hardware sends with the E0 prefix (right Ctrl -29, right Alt -56, the
// cursor block, keypad Enter and slash, the Windows and Menu keys). Num Lock
// counts as extended and Pause as 69, the way Windows reports them. The
// Windows virtual-key code of a key is derived from that number, so it is the
// same on every platform.
//
// This table is the only place that knows the numbering; what differs between
// platforms is how a native key code becomes a scan code
// (NativeScanCodeToScanCode, one implementation per platform).

namespace VirtualKey {
constexpr int Back = 8, Tab = 9, Clear = 12, Return = 13, Pause = 19, Capital = 20, Escape = 27;
constexpr int Space = 32, Prior = 33, Next = 34, End = 35, Home = 36;
constexpr int Left = 37, Up = 38, Right = 39, Down = 40;
constexpr int Snapshot = 44, Insert = 45, Delete = 46;
constexpr int LWin = 91, RWin = 92, Apps = 93;
constexpr int Numpad0 = 96, Multiply = 106, Add = 107, Subtract = 109, Decimal = 110, Divide = 111;
constexpr int F1 = 112, F10 = 121, F11 = 122, F12 = 123;
constexpr int NumLock = 144, Scroll = 145;
constexpr int LShift = 160, RShift = 161, LControl = 162, RControl = 163, LMenu = 164, RMenu = 165;
constexpr int Oem1 = 186, OemPlus = 187, OemComma = 188, OemMinus = 189, OemPeriod = 190;
constexpr int Oem2 = 191, Oem3 = 192, Oem4 = 219, Oem5 = 220, Oem6 = 221, Oem7 = 222, Oem102 = 226;
} // namespace VirtualKey

struct TKeyCode {
    int ScanCode;   // set 1, negated for E0 keys
    int VirtualKey; // Windows virtual-key code (Num Lock off for the keypad)
    int NumLockKey; // virtual-key code with Num Lock on; 0: same as VirtualKey
    int Evdev;      // Linux input event code; 0: none
    const char* Name;
};

// Every key the program knows: the main block, the function keys, the
// cursor and editing block and the keypad.
std::span<const TKeyCode> KeyCodeTable();

// The table entry of a scan code, or nullptr.
const TKeyCode* FindKeyCode(int scanCode);

// The virtual-key code of a scan code; 0 for an unknown one. numLock selects
// the digit codes of the keypad keys that carry one.
int ScanCodeToVirtualKey(int scanCode, bool numLock = false);

// The scan code of a Linux input event code; 0 for an unknown one.
int EvdevToScanCode(int evdev);

// The scan code of the platform's native key code (QKeyEvent::nativeScanCode):
// the X keycode (evdev + 8) on X11 and Wayland, set 1 with the extended flag
// on Windows. 0 for an unknown or missing code.
int NativeScanCodeToScanCode(std::uint32_t native);

// Inverse of NativeScanCodeToScanCode; 0 when the key has no native code.
std::uint32_t ScanCodeToNativeScanCode(int scanCode);

// Where no native code comes with an event (synthetic events, platforms that
// give none), the key is taken from Qt's key code as it sits on a US keyboard;
// Shift, Ctrl and Alt count as the left keys. 0 when Qt's key is unknown.
int QtKeyToScanCode(int qtKey, bool keypad);
