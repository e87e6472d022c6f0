#pragma once

#include "common/Colors.h"
#include "platform/Fonts.h"

#include <QRect>

#include <cstdint>
#include <string>

class QPainter;
class TKXKeyboard;

// Kind of key. Only letters behave differently: Caps Lock inverts their Shift
// state. Control keys behave as signs; the type only labels them.
enum TKeyType : std::uint8_t { ktSign = 0, ktLetter = 1, ktControl = 2 };

// The text style of a key. Name is the Windows face name (resolved through
// platform/Fonts.h when drawn); Size is in points at 96 dots per inch;
// Charset is the font character set whose code page the key's bytes are in.
struct TKeyFont {
    std::string Name = TahomaFontName;
    int Size = 8;
    TColor Color = 0x000000;
    int Charset = 0;
};

// One key of the on-screen keyboard, owned by its keyboard.
class TKXKeyboardButton {
public:
    explicit TKXKeyboardButton(TKXKeyboard* keyboard);

    TKeyType KeyType = ktSign;
    bool Pressed = false; // down, as last reported by the key events
    bool Home = false;    // resting key of a finger, drawn with a marker
    // Position within the key area (the keyboard adds its margins) and size.
    int Left = 0;
    int Top = 0;
    int Width = 20;
    int Height = 20;
    int Radius = 4; // width and height of the corner ellipses
    TColor Color = 0xFFFFFF;
    TColor BorderColor = 0x000000;
    TKeyFont Font;
    int ScanCode = 0;            // set 1, negated for E0 keys
    int Zone = 0;                // finger zone 0..9
    std::uint8_t Value = 0;      // typed without Shift; 0: nothing
    std::uint8_t ShiftValue = 0; // typed with Shift; 0: nothing
    std::string Caption;         // drawn instead of the character when not empty
    TKXKeyboard* Keyboard;

    // The state seen at the last state update, and what it changed.
    bool DrawnPressed = false;
    bool DrawnShift = false; // Shift held, inverted by Caps Lock on letter keys
    bool DrawnCtrl = false;
    bool DrawnAlt = false;
    bool Changed = false;
    bool PressedChanged = false;
    // Pressed or Shift changed: the key looks different. Ctrl and Alt change
    // no pixel, so a change of theirs alone repaints nothing.
    bool LookChanged = false;

    // The character the key types in the sampled Shift state.
    std::uint8_t GetChar() const { return DrawnShift ? ShiftValue : Value; }
    // The caption, or else the one-character string of GetChar.
    std::string GetText() const;

    // Samples the modifiers and works out what changed since the last update.
    void UpdateState();
    // UpdateState, then asks for a repaint of the key if its look changed and
    // the keyboard is visible.
    void Refresh();
    // UpdateState, then draws the key whether it changed or not.
    void PaintKey(QPainter& painter);
    void Draw(QPainter& painter) const;

    // The key's rectangle on the keyboard, margins included.
    QRect Rect() const;

private:
    void DrawText(QPainter& painter, TColor face) const;
};
