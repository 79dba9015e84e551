// Floating-point hue-saturation-lightness colour value, as used by the
// toolbar image filters and the range slider's colour ramp.
#pragma once

#include <cstdint>

class CColorHSL {
public:
    CColorHSL() : CColorHSL(0, 0, 0) {}
    CColorHSL(std::uint8_t red, std::uint8_t green, std::uint8_t blue);

    void SetRGB(std::uint8_t red, std::uint8_t green, std::uint8_t blue);

    // Reading a byte after SetLightness recomputes the bytes from H, S and L.
    std::uint8_t Red();
    std::uint8_t Green();
    std::uint8_t Blue();

    float Hue() const { return m_fHue; }              // degrees, 0 to 360
    float Lightness() const { return m_fLightness; }  // 0 to 1

    void SetLightness(float lightness);

    // The two conversions, exposed for callers that hold their own values.
    static void RgbToHsl(std::uint8_t red, std::uint8_t green, std::uint8_t blue, float* hue,
                         float* saturation, float* lightness);
    static void HslToRgb(float hue, float saturation, float lightness, std::uint8_t* red,
                         std::uint8_t* green, std::uint8_t* blue);

private:
    void RefreshBytes();

    std::uint8_t m_nRed;
    std::uint8_t m_nGreen;
    std::uint8_t m_nBlue;
    float m_fHue = 0.0f;
    float m_fSaturation = 0.0f;
    float m_fLightness = 0.0f;
    bool m_bBytesStale = false;
};
