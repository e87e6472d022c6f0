#include "common/Colors.h"

namespace {
template <typename F>
TColor PerChannel(TColor color, F f)
{
    return RGBColor(f(RedOf(color)), f(GreenOf(color)), f(BlueOf(color)));
}
} // namespace

TColor DarkerColor(TColor color, int percent)
{
    if (percent <= 0)
        return color;
    if (percent > 100)
        percent = 100;
    return PerChannel(color, [percent](int v) { return v - v * percent / 100; });
}

TColor LighterColor(TColor color, int percent)
{
    if (percent <= 0)
        return color;
    if (percent > 100)
        percent = 100;
    return PerChannel(color, [percent](int v) { return v + (255 - v) * percent / 100; });
}

TColor MixColors(TColor a, TColor b)
{
    return RGBColor((RedOf(a) + RedOf(b)) / 2, (GreenOf(a) + GreenOf(b)) / 2,
                    (BlueOf(a) + BlueOf(b)) / 2);
}

TColor GrayColor(TColor color)
{
    const int gray = (RedOf(color) + GreenOf(color) + BlueOf(color)) / 3;
    return RGBColor(gray, gray, gray);
}
