#include "ui/hsl_color.h"

#include <algorithm>

namespace {

// The values are stored as floats but computed in double: products of two
// floats are exact there, so L + S − L·S is exactly 1 at full saturation and
// a truncated byte doesn't lose a step to float rounding.

// One channel of the HSL to RGB conversion, before scaling to a byte.
double HueToChannel(double m1, double m2, double hue) {
    if (hue > 360.0) {
        hue -= 360.0;
    } else if (hue < 0.0) {
        hue += 360.0;
    }
    if (hue < 60.0) return m1 + (m2 - m1) * hue / 60.0;
    if (hue < 180.0) return m2;
    if (hue < 240.0) return m1 + (m2 - m1) * (240.0 - hue) / 60.0;
    return m1;
}

std::uint8_t ToByte(double unit) {
    // Truncation toward zero; the clamp only guards against rounding noise.
    const int value = static_cast<int>(unit * 255.0);
    return static_cast<std::uint8_t>(std::clamp(value, 0, 255));
}

}  // namespace

CColorHSL::CColorHSL(std::uint8_t red, std::uint8_t green, std::uint8_t blue) {
    SetRGB(red, green, blue);
}

void CColorHSL::SetRGB(std::uint8_t red, std::uint8_t green, std::uint8_t blue) {
    m_nRed = red;
    m_nGreen = green;
    m_nBlue = blue;
    RgbToHsl(red, green, blue, &m_fHue, &m_fSaturation, &m_fLightness);
    m_bBytesStale = false;
}

std::uint8_t CColorHSL::Red() {
    RefreshBytes();
    return m_nRed;
}

std::uint8_t CColorHSL::Green() {
    RefreshBytes();
    return m_nGreen;
}

std::uint8_t CColorHSL::Blue() {
    RefreshBytes();
    return m_nBlue;
}

void CColorHSL::SetLightness(float lightness) {
    m_fLightness = lightness;
    m_bBytesStale = true;
}

void CColorHSL::RefreshBytes() {
    if (!m_bBytesStale) return;
    HslToRgb(m_fHue, m_fSaturation, m_fLightness, &m_nRed, &m_nGreen, &m_nBlue);
    m_bBytesStale = false;
}

void CColorHSL::RgbToHsl(std::uint8_t red, std::uint8_t green, std::uint8_t blue, float* hue,
                         float* saturation, float* lightness) {
    const int maxc = std::max({red, green, blue});
    const int minc = std::min({red, green, blue});
    *lightness = static_cast<float>(maxc + minc) / 510.0f;
    if (maxc == minc) {
        *saturation = 0.0f;
        *hue = 0.0f;
        return;
    }
    const float d = static_cast<float>(maxc - minc);
    if (*lightness <= 0.5f) {
        *saturation = d / static_cast<float>(maxc + minc);
    } else {
        *saturation = d / static_cast<float>(510 - maxc - minc);
    }
    const float rc = static_cast<float>(maxc - red) / d;
    const float gc = static_cast<float>(maxc - green) / d;
    const float bc = static_cast<float>(maxc - blue) / d;
    float h = 0.0f;
    // Tested in this order; a later match wins (grey ties are excluded above).
    if (maxc == red) h = (bc + 6.0f - gc) * 60.0f;
    if (maxc == green) h = (rc + 2.0f - bc) * 60.0f;
    if (maxc == blue) h = (gc + 4.0f - rc) * 60.0f;
    if (h > 360.0f) h -= 360.0f;
    *hue = h;
}

void CColorHSL::HslToRgb(float hue, float saturation, float lightness, std::uint8_t* red,
                         std::uint8_t* green, std::uint8_t* blue) {
    if (saturation == 0.0f) {
        const std::uint8_t grey = ToByte(lightness);
        *red = *green = *blue = grey;
        return;
    }
    const double l = lightness, s = saturation, h = hue;
    const double m2 = l > 0.5 ? l + s - l * s : l + l * s;
    const double m1 = 2.0 * l - m2;
    *red = ToByte(HueToChannel(m1, m2, h + 120.0));
    *green = ToByte(HueToChannel(m1, m2, h));
    *blue = ToByte(HueToChannel(m1, m2, h - 120.0));
}
