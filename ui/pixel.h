// The 32-bit pixel value shared by the image filters and the menu colours.
#pragma once

#include <cstdint>

// A pixel is 0xXXRRGGBB: in memory (little-endian) blue, green, red and a
// fourth byte without meaning, which is also QImage::Format_RGB32's layout.
using Pixel = std::uint32_t;

constexpr Pixel MakePixel(std::uint8_t red, std::uint8_t green, std::uint8_t blue) {
    return (Pixel{red} << 16) | (Pixel{green} << 8) | Pixel{blue};
}
constexpr std::uint8_t PixelRed(Pixel p) {
    return static_cast<std::uint8_t>(p >> 16);
}
constexpr std::uint8_t PixelGreen(Pixel p) {
    return static_cast<std::uint8_t>(p >> 8);
}
constexpr std::uint8_t PixelBlue(Pixel p) {
    return static_cast<std::uint8_t>(p);
}

constexpr Pixel kMagentaKey = MakePixel(255, 0, 255);
constexpr Pixel kWhite = MakePixel(255, 255, 255);
