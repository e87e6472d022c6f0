#pragma once

#include <cstdint>

// Colours are 0x00BBGGRR values (red in the low byte). The helpers work per
// channel with integer arithmetic that truncates toward zero; a percent of 0
// or less leaves the colour unchanged, a percent above 100 counts as 100.
using TColor = std::uint32_t;

constexpr TColor RGBColor(int r, int g, int b)
{
    return static_cast<TColor>((r & 0xFF) | ((g & 0xFF) << 8) | ((b & 0xFF) << 16));
}
constexpr int RedOf(TColor c) { return static_cast<int>(c & 0xFF); }
constexpr int GreenOf(TColor c) { return static_cast<int>((c >> 8) & 0xFF); }
constexpr int BlueOf(TColor c) { return static_cast<int>((c >> 16) & 0xFF); }

TColor DarkerColor(TColor color, int percent);
TColor LighterColor(TColor color, int percent);
TColor MixColors(TColor a, TColor b);
TColor GrayColor(TColor color);
