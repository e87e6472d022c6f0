#include "platform/KeyCodes.h"

#include <Qt>

#include <array>
#include <iterator>

namespace {

namespace VK = VirtualKey;

// clang-format off
constexpr TKeyCode Table[] = {
    // Main block, top row.
    {1, VK::Escape, 0, 1, "Esc"},
    {41, VK::Oem3, 0, 41, "`"},
    {2, '1', 0, 2, "1"}, {3, '2', 0, 3, "2"}, {4, '3', 0, 4, "3"}, {5, '4', 0, 5, "4"},
    {6, '5', 0, 6, "5"}, {7, '6', 0, 7, "6"}, {8, '7', 0, 8, "7"}, {9, '8', 0, 9, "8"},
    {10, '9', 0, 10, "9"}, {11, '0', 0, 11, "0"},
    {12, VK::OemMinus, 0, 12, "-"}, {13, VK::OemPlus, 0, 13, "="},
    {14, VK::Back, 0, 14, "Backspace"},
    // Second row.
    {15, VK::Tab, 0, 15, "Tab"},
    {16, 'Q', 0, 16, "Q"}, {17, 'W', 0, 17, "W"}, {18, 'E', 0, 18, "E"}, {19, 'R', 0, 19, "R"},
    {20, 'T', 0, 20, "T"}, {21, 'Y', 0, 21, "Y"}, {22, 'U', 0, 22, "U"}, {23, 'I', 0, 23, "I"},
    {24, 'O', 0, 24, "O"}, {25, 'P', 0, 25, "P"},
    {26, VK::Oem4, 0, 26, "["}, {27, VK::Oem6, 0, 27, "]"}, {43, VK::Oem5, 0, 43, "\\"},
    // Home row.
    {58, VK::Capital, 0, 58, "Caps Lock"},
    {30, 'A', 0, 30, "A"}, {31, 'S', 0, 31, "S"}, {32, 'D', 0, 32, "D"}, {33, 'F', 0, 33, "F"},
    {34, 'G', 0, 34, "G"}, {35, 'H', 0, 35, "H"}, {36, 'J', 0, 36, "J"}, {37, 'K', 0, 37, "K"},
    {38, 'L', 0, 38, "L"},
    {39, VK::Oem1, 0, 39, ";"}, {40, VK::Oem7, 0, 40, "'"},
    {28, VK::Return, 0, 28, "Enter"},
    // Bottom letter row.
    {42, VK::LShift, 0, 42, "Left Shift"},
    {86, VK::Oem102, 0, 86, "102nd"},
    {44, 'Z', 0, 44, "Z"}, {45, 'X', 0, 45, "X"}, {46, 'C', 0, 46, "C"}, {47, 'V', 0, 47, "V"},
    {48, 'B', 0, 48, "B"}, {49, 'N', 0, 49, "N"}, {50, 'M', 0, 50, "M"},
    {51, VK::OemComma, 0, 51, ","}, {52, VK::OemPeriod, 0, 52, "."}, {53, VK::Oem2, 0, 53, "/"},
    {54, VK::RShift, 0, 54, "Right Shift"},
    // Space row.
    {29, VK::LControl, 0, 29, "Left Ctrl"},
    {-91, VK::LWin, 0, 125, "Left Win"},
    {56, VK::LMenu, 0, 56, "Left Alt"},
    {57, VK::Space, 0, 57, "Space"},
    {-56, VK::RMenu, 0, 100, "Right Alt"},
    {-92, VK::RWin, 0, 126, "Right Win"},
    {-93, VK::Apps, 0, 127, "Menu"},
    {-29, VK::RControl, 0, 97, "Right Ctrl"},
    // Function keys.
    {59, VK::F1, 0, 59, "F1"}, {60, VK::F1 + 1, 0, 60, "F2"}, {61, VK::F1 + 2, 0, 61, "F3"},
    {62, VK::F1 + 3, 0, 62, "F4"}, {63, VK::F1 + 4, 0, 63, "F5"}, {64, VK::F1 + 5, 0, 64, "F6"},
    {65, VK::F1 + 6, 0, 65, "F7"}, {66, VK::F1 + 7, 0, 66, "F8"}, {67, VK::F1 + 8, 0, 67, "F9"},
    {68, VK::F10, 0, 68, "F10"}, {87, VK::F11, 0, 87, "F11"}, {88, VK::F12, 0, 88, "F12"},
    // Above the cursor block.
    {-55, VK::Snapshot, 0, 99, "Print Screen"},
    {70, VK::Scroll, 0, 70, "Scroll Lock"},
    {69, VK::Pause, 0, 119, "Pause"},
    // Editing and cursor block.
    {-82, VK::Insert, 0, 110, "Insert"}, {-83, VK::Delete, 0, 111, "Delete"},
    {-71, VK::Home, 0, 102, "Home"}, {-79, VK::End, 0, 107, "End"},
    {-73, VK::Prior, 0, 104, "Page Up"}, {-81, VK::Next, 0, 109, "Page Down"},
    {-72, VK::Up, 0, 103, "Up"}, {-80, VK::Down, 0, 108, "Down"},
    {-75, VK::Left, 0, 105, "Left"}, {-77, VK::Right, 0, 106, "Right"},
    // Keypad.
    {-69, VK::NumLock, 0, 69, "Num Lock"},
    {-53, VK::Divide, 0, 98, "Keypad /"},
    {55, VK::Multiply, 0, 55, "Keypad *"},
    {74, VK::Subtract, 0, 74, "Keypad -"},
    {78, VK::Add, 0, 78, "Keypad +"},
    {-28, VK::Return, 0, 96, "Keypad Enter"},
    {71, VK::Home, VK::Numpad0 + 7, 71, "Keypad 7"},
    {72, VK::Up, VK::Numpad0 + 8, 72, "Keypad 8"},
    {73, VK::Prior, VK::Numpad0 + 9, 73, "Keypad 9"},
    {75, VK::Left, VK::Numpad0 + 4, 75, "Keypad 4"},
    {76, VK::Clear, VK::Numpad0 + 5, 76, "Keypad 5"},
    {77, VK::Right, VK::Numpad0 + 6, 77, "Keypad 6"},
    {79, VK::End, VK::Numpad0 + 1, 79, "Keypad 1"},
    {80, VK::Down, VK::Numpad0 + 2, 80, "Keypad 2"},
    {81, VK::Next, VK::Numpad0 + 3, 81, "Keypad 3"},
    {82, VK::Insert, VK::Numpad0, 82, "Keypad 0"},
    {83, VK::Delete, VK::Decimal, 83, "Keypad ."},
};

// Qt's key codes of a US keyboard, for events that come without a native code.
struct TQtKey {
    int Key;
    int ScanCode;
};
constexpr TQtKey QtKeys[] = {
    {Qt::Key_Escape, 1}, {Qt::Key_QuoteLeft, 41}, {Qt::Key_AsciiTilde, 41},
    {Qt::Key_1, 2}, {Qt::Key_Exclam, 2}, {Qt::Key_2, 3}, {Qt::Key_At, 3},
    {Qt::Key_3, 4}, {Qt::Key_NumberSign, 4}, {Qt::Key_4, 5}, {Qt::Key_Dollar, 5},
    {Qt::Key_5, 6}, {Qt::Key_Percent, 6}, {Qt::Key_6, 7}, {Qt::Key_AsciiCircum, 7},
    {Qt::Key_7, 8}, {Qt::Key_Ampersand, 8}, {Qt::Key_8, 9}, {Qt::Key_Asterisk, 9},
    {Qt::Key_9, 10}, {Qt::Key_ParenLeft, 10}, {Qt::Key_0, 11}, {Qt::Key_ParenRight, 11},
    {Qt::Key_Minus, 12}, {Qt::Key_Underscore, 12}, {Qt::Key_Equal, 13}, {Qt::Key_Plus, 13},
    {Qt::Key_Backspace, 14}, {Qt::Key_Tab, 15}, {Qt::Key_Backtab, 15},
    {Qt::Key_BracketLeft, 26}, {Qt::Key_BraceLeft, 26},
    {Qt::Key_BracketRight, 27}, {Qt::Key_BraceRight, 27},
    {Qt::Key_Backslash, 43}, {Qt::Key_Bar, 43},
    {Qt::Key_CapsLock, 58}, {Qt::Key_Semicolon, 39}, {Qt::Key_Colon, 39},
    {Qt::Key_Apostrophe, 40}, {Qt::Key_QuoteDbl, 40}, {Qt::Key_Return, 28},
    {Qt::Key_Shift, 42}, {Qt::Key_Comma, 51}, {Qt::Key_Less, 51},
    {Qt::Key_Period, 52}, {Qt::Key_Greater, 52}, {Qt::Key_Slash, 53}, {Qt::Key_Question, 53},
    {Qt::Key_Control, 29}, {Qt::Key_Meta, -91}, {Qt::Key_Super_L, -91}, {Qt::Key_Super_R, -92},
    {Qt::Key_Alt, 56}, {Qt::Key_AltGr, -56}, {Qt::Key_Menu, -93}, {Qt::Key_Space, 57},
    {Qt::Key_Print, -55}, {Qt::Key_ScrollLock, 70}, {Qt::Key_Pause, 69},
    {Qt::Key_Insert, -82}, {Qt::Key_Delete, -83}, {Qt::Key_Home, -71}, {Qt::Key_End, -79},
    {Qt::Key_PageUp, -73}, {Qt::Key_PageDown, -81},
    {Qt::Key_Up, -72}, {Qt::Key_Down, -80}, {Qt::Key_Left, -75}, {Qt::Key_Right, -77},
    {Qt::Key_NumLock, -69}, {Qt::Key_Enter, -28},
    {Qt::Key_F1, 59}, {Qt::Key_F2, 60}, {Qt::Key_F3, 61}, {Qt::Key_F4, 62}, {Qt::Key_F5, 63},
    {Qt::Key_F6, 64}, {Qt::Key_F7, 65}, {Qt::Key_F8, 66}, {Qt::Key_F9, 67}, {Qt::Key_F10, 68},
    {Qt::Key_F11, 87}, {Qt::Key_F12, 88},
};

// Keypad keys by Qt key code when the event says it comes from the keypad.
constexpr TQtKey QtKeypadKeys[] = {
    {Qt::Key_0, 82}, {Qt::Key_1, 79}, {Qt::Key_2, 80}, {Qt::Key_3, 81}, {Qt::Key_4, 75},
    {Qt::Key_5, 76}, {Qt::Key_6, 77}, {Qt::Key_7, 71}, {Qt::Key_8, 72}, {Qt::Key_9, 73},
    {Qt::Key_Period, 83}, {Qt::Key_Comma, 83}, {Qt::Key_Insert, 82}, {Qt::Key_Delete, 83},
    {Qt::Key_End, 79}, {Qt::Key_Down, 80}, {Qt::Key_PageDown, 81}, {Qt::Key_Left, 75},
    {Qt::Key_Clear, 76}, {Qt::Key_Right, 77}, {Qt::Key_Home, 71}, {Qt::Key_Up, 72},
    {Qt::Key_PageUp, 73}, {Qt::Key_Slash, -53}, {Qt::Key_Asterisk, 55}, {Qt::Key_Minus, 74},
    {Qt::Key_Plus, 78}, {Qt::Key_Enter, -28},
};
// clang-format on

// Direct lookup tables, built once: scan code + 128 -> table index, evdev -> scan code.
struct TIndex {
    std::array<short, 256> ByScanCode{};
    std::array<short, 256> ByEvdev{};

    constexpr TIndex()
    {
        for (auto& i : ByScanCode)
            i = -1;
        for (auto& s : ByEvdev)
            s = 0;
        for (std::size_t i = 0; i < std::size(Table); ++i) {
            ByScanCode[static_cast<std::size_t>(Table[i].ScanCode + 128)] = static_cast<short>(i);
            if (Table[i].Evdev > 0)
                ByEvdev[static_cast<std::size_t>(Table[i].Evdev)] =
                    static_cast<short>(Table[i].ScanCode);
        }
    }
};
constexpr TIndex Index;

} // namespace

std::span<const TKeyCode> KeyCodeTable()
{
    return Table;
}

const TKeyCode* FindKeyCode(int scanCode)
{
    if (scanCode < -128 || scanCode > 127)
        return nullptr;
    const int i = Index.ByScanCode[static_cast<std::size_t>(scanCode + 128)];
    return i < 0 ? nullptr : &Table[static_cast<std::size_t>(i)];
}

int ScanCodeToVirtualKey(int scanCode, bool numLock)
{
    const TKeyCode* key = FindKeyCode(scanCode);
    if (!key)
        return 0;
    return numLock && key->NumLockKey ? key->NumLockKey : key->VirtualKey;
}

int EvdevToScanCode(int evdev)
{
    if (evdev <= 0 || evdev > 255)
        return 0;
    return Index.ByEvdev[static_cast<std::size_t>(evdev)];
}

int QtKeyToScanCode(int qtKey, bool keypad)
{
    if (keypad) {
        for (const TQtKey& k : QtKeypadKeys)
            if (k.Key == qtKey)
                return k.ScanCode;
    }
    if (qtKey >= 'a' && qtKey <= 'z')
        qtKey -= 'a' - 'A';
    if (qtKey >= Qt::Key_A && qtKey <= Qt::Key_Z) {
        static constexpr std::array<int, 26> letters{30, 48, 46, 32, 18, 33, 34, 35, 23,
                                                     36, 37, 38, 50, 49, 24, 25, 16, 19,
                                                     31, 20, 22, 47, 17, 45, 21, 44};
        return letters[static_cast<std::size_t>(qtKey - Qt::Key_A)];
    }
    for (const TQtKey& k : QtKeys)
        if (k.Key == qtKey)
            return k.ScanCode;
    return 0;
}
