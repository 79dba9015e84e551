#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>

#include "ui/hsl_color.h"
#include "ui/image_filters.h"

namespace {

Pixel Through(CImageFilter& filter, Pixel p) {
    Pixel out = 0;
    filter.Process(&p, 1, 1, &out);
    return out;
}

PixelBuffer OnePixel(Pixel p) {
    return PixelBuffer(1, 1, p);
}

}  // namespace

TEST(ColorHSL, PrimaryColoursHaveTheirHues) {
    float h, s, l;
    // Red as the maximum gives (bc + 6 − gc) × 60: 360 for pure red, which
    // is only reduced when above 360.
    CColorHSL::RgbToHsl(255, 0, 0, &h, &s, &l);
    EXPECT_FLOAT_EQ(h, 360.0f);
    EXPECT_FLOAT_EQ(s, 1.0f);
    EXPECT_FLOAT_EQ(l, 0.5f);
    CColorHSL::RgbToHsl(0, 255, 0, &h, &s, &l);
    EXPECT_FLOAT_EQ(h, 120.0f);
    CColorHSL::RgbToHsl(0, 0, 255, &h, &s, &l);
    EXPECT_FLOAT_EQ(h, 240.0f);
    // Red and blue both at the maximum: the blue test comes last and wins.
    CColorHSL::RgbToHsl(255, 0, 255, &h, &s, &l);
    EXPECT_FLOAT_EQ(h, 300.0f);
    CColorHSL::RgbToHsl(200, 200, 200, &h, &s, &l);
    EXPECT_FLOAT_EQ(s, 0.0f);
    EXPECT_FLOAT_EQ(h, 0.0f);
}

TEST(ColorHSL, RoundTripStaysWithinTruncation) {
    // Bytes come back truncated, so a round trip may lose one step, no more.
    for (int r = 0; r < 256; r += 17) {
        for (int g = 0; g < 256; g += 17) {
            for (int b = 0; b < 256; b += 17) {
                float h, s, l;
                CColorHSL::RgbToHsl(r, g, b, &h, &s, &l);
                std::uint8_t r2, g2, b2;
                CColorHSL::HslToRgb(h, s, l, &r2, &g2, &b2);
                EXPECT_LE(std::abs(r - r2), 1) << r << "," << g << "," << b;
                EXPECT_LE(std::abs(g - g2), 1) << r << "," << g << "," << b;
                EXPECT_LE(std::abs(b - b2), 1) << r << "," << g << "," << b;
            }
        }
    }
}

TEST(ColorHSL, BytesFollowALightnessChange) {
    CColorHSL colour(0, 0, 0);
    EXPECT_EQ(colour.Red(), 0);
    colour.SetLightness(0.5f);
    EXPECT_EQ(colour.Red(), 127);  // 127.5 truncated
    EXPECT_EQ(colour.Green(), 127);
    EXPECT_EQ(colour.Blue(), 127);
}

TEST(GreyFilter, WeightsTheChannels) {
    CGreyFilter grey;
    EXPECT_EQ(Through(grey, MakePixel(255, 0, 0)), MakePixel(76, 76, 76));
    EXPECT_EQ(Through(grey, MakePixel(0, 255, 0)), MakePixel(153, 153, 153));
    EXPECT_EQ(Through(grey, MakePixel(0, 0, 255)), MakePixel(25, 25, 25));
    EXPECT_EQ(Through(grey, kWhite), kWhite);
}

TEST(LightnessFilter, StopsAtWhiteAndLiftsBlack) {
    CLightnessFilter lighter(0.08f);
    EXPECT_EQ(Through(lighter, kWhite), kWhite);
    EXPECT_EQ(Through(lighter, MakePixel(0, 0, 0)), MakePixel(20, 20, 20));
    CLightnessFilter darker(-0.08f);
    EXPECT_EQ(Through(darker, MakePixel(0, 0, 0)), MakePixel(0, 0, 0));
    EXPECT_EQ(Through(darker, kWhite), MakePixel(234, 234, 234));
}

TEST(Filters, KeyColourPassesEveryFilterUnchanged) {
    CGreyFilter grey;
    CLightnessFilter lighter(0.08f), darker(-0.3f);
    for (CImageFilter* filter : std::initializer_list<CImageFilter*>{&grey, &lighter, &darker}) {
        filter->SetKey(kMagentaKey);
        EXPECT_EQ(Through(*filter, kMagentaKey), kMagentaKey);
        // The fourth byte doesn't take part in the comparison.
        EXPECT_EQ(Through(*filter, kMagentaKey | 0xAB000000), kMagentaKey | 0xAB000000);
        filter->ClearKey();
        EXPECT_NE(Through(*filter, kMagentaKey) & 0xFFFFFF, kMagentaKey);
    }
}

TEST(FilterChain, EachStepWorksOnTheBytesOfTheLast) {
    // Red through the disabled chain: grey 76, then three lightness steps,
    // each re-reading truncated bytes: 96, 116, 136.
    PixelBuffer image(2, 1);
    image.At(0, 0) = MakePixel(255, 0, 0);
    image.At(1, 0) = kMagentaKey;
    const ToolbarImageSets sets = MakeToolbarImageSets(image);
    EXPECT_EQ(sets.hot.At(0, 0), MakePixel(255, 0, 0));
    EXPECT_EQ(sets.disabled.At(0, 0), MakePixel(136, 136, 136));
    EXPECT_EQ(sets.disabled.At(1, 0), kMagentaKey);
    // Normal: red lightened twice by 0.04 gives (255, 20, 20), then (255, 40, 40).
    EXPECT_EQ(sets.normal.At(0, 0), MakePixel(255, 40, 40));
    EXPECT_EQ(sets.normal.At(1, 0), kMagentaKey);
}

TEST(FilterChain, FailureLeavesTheImage) {
    CFilterChain empty;
    PixelBuffer image = OnePixel(MakePixel(1, 2, 3));
    EXPECT_FALSE(empty.Apply(image));
    EXPECT_EQ(image.At(0, 0), MakePixel(1, 2, 3));

    CFilterChain chain;
    chain.Add(std::make_unique<CGreyFilter>());
    PixelBuffer broken(2, 2);
    broken.pixels.resize(3);  // fewer pixels than width × height
    EXPECT_FALSE(chain.Apply(broken));
    EXPECT_EQ(broken.pixels.size(), 3u);
    PixelBuffer none;
    EXPECT_FALSE(chain.Apply(none));
}
