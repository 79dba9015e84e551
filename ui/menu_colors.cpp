#include "ui/menu_colors.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr int kScale = 255;

int Round(double v) {
    return static_cast<int>(std::lround(v));
}

int AdjustComponent(int value, int percent) {
    if (percent > 0) return value + (kScale - value) * percent / 100;
    if (percent < 0) return value * (100 + percent) / 100;
    return value;
}

// One channel of the HLS to RGB conversion, in units of 0 to 1.
double HueToChannel(double m1, double m2, double hueDeg) {
    if (hueDeg >= 360.0) hueDeg -= 360.0;
    if (hueDeg < 0.0) hueDeg += 360.0;
    if (hueDeg < 60.0) return m1 + (m2 - m1) * hueDeg / 60.0;
    if (hueDeg < 180.0) return m2;
    if (hueDeg < 240.0) return m1 + (m2 - m1) * (240.0 - hueDeg) / 60.0;
    return m1;
}

std::uint8_t ToByte(double unit) {
    return static_cast<std::uint8_t>(std::clamp(Round(unit * kScale), 0, kScale));
}

}  // namespace

Hls255 RgbToHls255(Pixel colour) {
    const int r = PixelRed(colour), g = PixelGreen(colour), b = PixelBlue(colour);
    const int maxc = std::max({r, g, b});
    const int minc = std::min({r, g, b});
    Hls255 hls;
    const int sum = maxc + minc;
    hls.lightness = (sum + 1) / 2;
    if (maxc == minc) return hls;  // grey: no hue, no saturation

    const int d = maxc - minc;
    const int denominator = hls.lightness <= kScale / 2 ? sum : 2 * kScale - sum;
    hls.saturation = std::min(kScale, (d * kScale + denominator / 2) / denominator);

    double hueDeg;
    if (maxc == r) {
        hueDeg = 60.0 * (g - b) / d;
    } else if (maxc == g) {
        hueDeg = 60.0 * (b - r) / d + 120.0;
    } else {
        hueDeg = 60.0 * (r - g) / d + 240.0;
    }
    if (hueDeg < 0.0) hueDeg += 360.0;
    hls.hue = Round(hueDeg * kScale / 360.0) % (kScale + 1);
    return hls;
}

Pixel Hls255ToRgb(const Hls255& hls) {
    const double l = static_cast<double>(hls.lightness) / kScale;
    const double s = static_cast<double>(hls.saturation) / kScale;
    if (hls.saturation == 0) {
        const auto v = static_cast<std::uint8_t>(std::clamp(hls.lightness, 0, kScale));
        return MakePixel(v, v, v);
    }
    const double m2 = l <= 0.5 ? l * (1.0 + s) : l + s - l * s;
    const double m1 = 2.0 * l - m2;
    const double hueDeg = static_cast<double>(hls.hue) * 360.0 / kScale;
    return MakePixel(ToByte(HueToChannel(m1, m2, hueDeg + 120.0)),
                     ToByte(HueToChannel(m1, m2, hueDeg)),
                     ToByte(HueToChannel(m1, m2, hueDeg - 120.0)));
}

Pixel AdjustColor(Pixel colour, int lightnessPercent, int saturationPercent) {
    Hls255 hls = RgbToHls255(colour);
    hls.lightness = AdjustComponent(hls.lightness, lightnessPercent);
    hls.saturation = AdjustComponent(hls.saturation, saturationPercent);
    return Hls255ToRgb(hls);
}

CMenuColors CMenuColors::Derive(Pixel buttonFace, Pixel highlight) {
    CMenuColors c{};
    c.background = AdjustColor(buttonFace, 75, 0);
    c.gutter = AdjustColor(buttonFace, 20, 0);
    c.highlightFill = AdjustColor(highlight, 70, -57);
    c.highlightDisabledFill = AdjustColor(buttonFace, 73, 0);
    c.checkFill = AdjustColor(highlight, 70, -57);
    c.checkFillHighlighted = AdjustColor(highlight, 50, -50);
    c.checkFillDisabled = AdjustColor(buttonFace, 73, 0);
    c.separator = AdjustColor(buttonFace, -18, 0);
    c.disabledText = c.separator;
    c.iconShadow = AdjustColor(highlight, 50, -66);
    c.disabledImage = AdjustColor(buttonFace, -27, 0);
    return c;
}
