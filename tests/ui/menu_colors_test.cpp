#include <gtest/gtest.h>

#include <cstdlib>

#include "ui/menu_colors.h"
#include "ui/menu_mnemonic.h"

TEST(MenuColors, GreyAdjustsLightnessOnly) {
    const Pixel face = MakePixel(240, 240, 240);
    EXPECT_EQ(AdjustColor(face, 20, 0), MakePixel(243, 243, 243));   // 240 + 15·20/100
    EXPECT_EQ(AdjustColor(face, 75, 0), MakePixel(251, 251, 251));   // 240 + 15·75/100
    EXPECT_EQ(AdjustColor(face, -18, 0), MakePixel(196, 196, 196));  // 240·82/100
    EXPECT_EQ(AdjustColor(face, -27, 0), MakePixel(175, 175, 175));  // 240·73/100
    EXPECT_EQ(AdjustColor(face, 0, 0), face);
}

TEST(MenuColors, HlsScaleIs0To255) {
    const Hls255 red = RgbToHls255(MakePixel(255, 0, 0));
    EXPECT_EQ(red.hue, 0);
    EXPECT_EQ(red.lightness, 128);
    EXPECT_EQ(red.saturation, 255);
    const Hls255 blue = RgbToHls255(MakePixel(0, 0, 255));
    EXPECT_EQ(blue.hue, 170);  // 240° of 360°
    // 256 hue steps for 360 degrees: a saturated channel may move by 4.
    for (int r = 0; r < 256; r += 51) {
        for (int g = 0; g < 256; g += 51) {
            for (int b = 0; b < 256; b += 51) {
                const Pixel back = Hls255ToRgb(RgbToHls255(MakePixel(r, g, b)));
                EXPECT_LE(std::abs(PixelRed(back) - r), 4) << r << "," << g << "," << b;
                EXPECT_LE(std::abs(PixelGreen(back) - g), 4) << r << "," << g << "," << b;
                EXPECT_LE(std::abs(PixelBlue(back) - b), 4) << r << "," << g << "," << b;
            }
        }
    }
}

TEST(MenuColors, DerivedHighlightIsPalerAndLighter) {
    const Pixel highlight = MakePixel(49, 106, 197);
    const CMenuColors c = CMenuColors::Derive(MakePixel(212, 208, 200), highlight);
    const Hls255 base = RgbToHls255(highlight);
    const Hls255 fill = RgbToHls255(c.highlightFill);
    EXPECT_GT(fill.lightness, base.lightness);
    EXPECT_LT(fill.saturation, base.saturation);
    EXPECT_LE(std::abs(fill.hue - base.hue), 2);
    EXPECT_EQ(c.checkFill, c.highlightFill);
    EXPECT_EQ(c.disabledText, c.separator);
    // The gutter sits between the face and the lighter popup background.
    EXPECT_GT(RgbToHls255(c.background).lightness, RgbToHls255(c.gutter).lightness);
    EXPECT_GT(RgbToHls255(c.gutter).lightness, RgbToHls255(MakePixel(212, 208, 200)).lightness);
}

TEST(MenuMnemonic, PicksTheFirstItemWithTheLetter) {
    const QStringList file = {"&Load File\tF2", "Con&vert...\tF7", "&Close File\tF4", "", "E&xit"};
    EXPECT_EQ(FindMenuItemByChar(file, QChar('v')), 1);
    EXPECT_EQ(FindMenuItemByChar(file, QChar('C')), 2);
    EXPECT_EQ(FindMenuItemByChar(file, QChar('x')), 4);
    EXPECT_EQ(FindMenuItemByChar(file, QChar('q')), -1);
    EXPECT_EQ(FindMenuItemByChar({"&Add", "&Apply"}, QChar('a')), 0);
}

TEST(MenuMnemonic, IgnoresEscapedAmpersandsAndAcceleratorText) {
    EXPECT_EQ(FindMenuItemByChar({"Save &&Load"}, QChar('l')), -1);
    EXPECT_EQ(FindMenuItemByChar({"Open\t&X"}, QChar('x')), -1);
    EXPECT_EQ(FindMenuItemByChar({"Trailing&"}, QChar('&')), -1);
}
