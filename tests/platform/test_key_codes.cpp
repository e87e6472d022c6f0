#include "platform/KeyCodes.h"

#include <Qt>

#include <gtest/gtest.h>

#include <set>

namespace {

struct TKeyRow {
    const char* Name;
    unsigned XKeycode;
    int ScanCode;
    int VirtualKey;
};

// What each key sends on an X server (xev on a pc105 keyboard) and what the
// program must see: the set-1 scan code, extended keys negated, and the
// Windows virtual-key code.
const TKeyRow KeyRows[] = {
    {"Escape", 9, 1, 27},
    {"1", 10, 2, '1'},
    {"0", 19, 11, '0'},
    {"minus", 20, 12, 189},
    {"equal", 21, 13, 187},
    {"BackSpace", 22, 14, 8},
    {"Tab", 23, 15, 9},
    {"q", 24, 16, 'Q'},
    {"p", 33, 25, 'P'},
    {"bracketleft", 34, 26, 219},
    {"bracketright", 35, 27, 221},
    {"Return", 36, 28, 13},
    {"Control_L", 37, 29, 162},
    {"a", 38, 30, 'A'},
    {"l", 46, 38, 'L'},
    {"semicolon", 47, 39, 186},
    {"apostrophe", 48, 40, 222},
    {"grave", 49, 41, 192},
    {"Shift_L", 50, 42, 160},
    {"backslash", 51, 43, 220},
    {"z", 52, 44, 'Z'},
    {"m", 58, 50, 'M'},
    {"comma", 59, 51, 188},
    {"period", 60, 52, 190},
    {"slash", 61, 53, 191},
    {"Shift_R", 62, 54, 161},
    {"KP_Multiply", 63, 55, 106},
    {"Alt_L", 64, 56, 164},
    {"space", 65, 57, 32},
    {"Caps_Lock", 66, 58, 20},
    {"F1", 67, 59, 112},
    {"F5", 71, 63, 116},
    {"F10", 76, 68, 121},
    {"Num_Lock", 77, -69, 144},
    {"Scroll_Lock", 78, 70, 145},
    {"KP_Home", 79, 71, 36},
    {"KP_Up", 80, 72, 38},
    {"KP_Prior", 81, 73, 33},
    {"KP_Subtract", 82, 74, 109},
    {"KP_Left", 83, 75, 37},
    {"KP_Begin", 84, 76, 12},
    {"KP_Right", 85, 77, 39},
    {"KP_Add", 86, 78, 107},
    {"KP_End", 87, 79, 35},
    {"KP_Down", 88, 80, 40},
    {"KP_Next", 89, 81, 34},
    {"KP_Insert", 90, 82, 45},
    {"KP_Delete", 91, 83, 46},
    {"less (102nd)", 94, 86, 226},
    {"F11", 95, 87, 122},
    {"F12", 96, 88, 123},
    {"KP_Enter", 104, -28, 13},
    {"Control_R", 105, -29, 163},
    {"KP_Divide", 106, -53, 111},
    {"Print", 107, -55, 44},
    {"Alt_R", 108, -56, 165},
    {"Home", 110, -71, 36},
    {"Up", 111, -72, 38},
    {"Prior", 112, -73, 33},
    {"Left", 113, -75, 37},
    {"Right", 114, -77, 39},
    {"End", 115, -79, 35},
    {"Down", 116, -80, 40},
    {"Next", 117, -81, 34},
    {"Insert", 118, -82, 45},
    {"Delete", 119, -83, 46},
    {"Pause", 127, 69, 19},
    {"Super_L", 133, -91, 91},
    {"Super_R", 134, -92, 92},
    {"Menu", 135, -93, 93},
};

TEST(KeyCodes, EveryKeyTranslatesFromItsXKeycode)
{
    for (const TKeyRow& row : KeyRows) {
        SCOPED_TRACE(row.Name);
        EXPECT_EQ(NativeScanCodeToScanCode(row.XKeycode), row.ScanCode);
        EXPECT_EQ(ScanCodeToVirtualKey(row.ScanCode), row.VirtualKey);
        EXPECT_EQ(ScanCodeToNativeScanCode(row.ScanCode), row.XKeycode);
    }
}

TEST(KeyCodes, TableIsConsistent)
{
    std::set<int> scanCodes;
    std::set<int> evdevCodes;
    for (const TKeyCode& key : KeyCodeTable()) {
        SCOPED_TRACE(key.Name);
        EXPECT_TRUE(scanCodes.insert(key.ScanCode).second) << "scan code listed twice";
        EXPECT_TRUE(evdevCodes.insert(key.Evdev).second) << "evdev code listed twice";
        EXPECT_NE(key.ScanCode, 0);
        EXPECT_GE(key.ScanCode, -127);
        EXPECT_LE(key.ScanCode, 127);
        EXPECT_NE(key.VirtualKey, 0);
        EXPECT_EQ(FindKeyCode(key.ScanCode), &key);
        EXPECT_EQ(EvdevToScanCode(key.Evdev), key.ScanCode);
        EXPECT_EQ(NativeScanCodeToScanCode(ScanCodeToNativeScanCode(key.ScanCode)), key.ScanCode);
    }
    // The main block (61 keys, 47 of them typing keys) with the ISO key, twelve
    // function keys, Print, Scroll Lock, Pause, ten cursor and editing keys and
    // seventeen keypad keys.
    EXPECT_EQ(KeyCodeTable().size(), 61u + 1 + 12 + 3 + 10 + 17 + 1);
}

TEST(KeyCodes, KeypadGivesDigitsWithNumLockAndCursorKeysWithout)
{
    EXPECT_EQ(ScanCodeToVirtualKey(72, false), 38);
    EXPECT_EQ(ScanCodeToVirtualKey(72, true), 104);
    EXPECT_EQ(ScanCodeToVirtualKey(82, true), 96);
    EXPECT_EQ(ScanCodeToVirtualKey(83, true), 110);
    // The cursor block's arrow ignores Num Lock and keeps its negative scan code.
    EXPECT_EQ(ScanCodeToVirtualKey(-72, true), 38);
}

TEST(KeyCodes, UnknownCodesGiveZero)
{
    EXPECT_EQ(NativeScanCodeToScanCode(0), 0);
    EXPECT_EQ(NativeScanCodeToScanCode(8), 0);
    EXPECT_EQ(NativeScanCodeToScanCode(121), 0); // XF86AudioMute
    EXPECT_EQ(NativeScanCodeToScanCode(100000), 0);
    EXPECT_EQ(ScanCodeToVirtualKey(0), 0);
    EXPECT_EQ(ScanCodeToVirtualKey(-1), 0);
    EXPECT_EQ(ScanCodeToVirtualKey(1000), 0);
    EXPECT_EQ(ScanCodeToNativeScanCode(0), 0u);
}

TEST(KeyCodes, QtKeysStandInWhenNoNativeCodeComes)
{
    struct TRow {
        int QtKey;
        bool Keypad;
        int ScanCode;
    };
    const TRow rows[] = {
        {Qt::Key_A, false, 30},     {'a', false, 30},
        {Qt::Key_Z, false, 44},     {Qt::Key_Q, false, 16},
        {Qt::Key_M, false, 50},     {Qt::Key_Exclam, false, 2},
        {Qt::Key_1, false, 2},      {Qt::Key_1, true, 79},
        {Qt::Key_Up, false, -72},   {Qt::Key_Up, true, 72},
        {Qt::Key_Enter, true, -28}, {Qt::Key_Return, false, 28},
        {Qt::Key_Shift, false, 42}, {Qt::Key_Control, false, 29},
        {Qt::Key_F11, false, 87},   {Qt::Key_Colon, false, 39},
        {Qt::Key_Slash, true, -53}, {Qt::Key_Slash, false, 53},
        {Qt::Key_Escape, false, 1}, {Qt::Key_VolumeDown, false, 0},
    };
    for (const TRow& row : rows) {
        SCOPED_TRACE(row.QtKey);
        EXPECT_EQ(QtKeyToScanCode(row.QtKey, row.Keypad), row.ScanCode);
    }
}

} // namespace
