#pragma once

#include <cstdint>
#include <span>

// The built-in keyboard: the 61 keys of a PC keyboard's main block in five
// rows, and the US layout laid over it as a grid of 5 rows by 14 columns.

struct TDefaultKey {
    int Row;
    int Column;
    int ScanCode;
    double WidthUnits; // in units of 5 pixels
    int Zone;
    bool Home;
    std::uint8_t Value;
    std::uint8_t ShiftValue;
    const char* Caption; // "" for none
};

// Row by row, left to right.
std::span<const TDefaultKey> DefaultKeys();

// The type of each cell of the layout grid, 14 characters per row:
// s = sign, l = letter, c = control, blank = no key.
inline constexpr const char* DefaultLayoutTypes =
    "sssssssssssssccllllllllllsssclllllllllssc clllllllsssc  cccscccc      ";
inline constexpr int DefaultLayoutColumns = 14;

// Geometry, in pixels: a key is 9.4 units high, keys and rows are 4 pixels apart.
inline constexpr double KeyUnit = 5.0;
inline constexpr double KeyHeightUnits = 9.4;
inline constexpr double KeyGap = 4.0;
inline constexpr int DefaultKeyRadius = 10;
