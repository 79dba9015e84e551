// The flat menus' derived colours: an integer hue/lightness/saturation
// adjustment on a 0 to 255 scale, and the table of colours derived from the
// button-face and highlight colours. Pure code.
#pragma once

#include "ui/pixel.h"

// Moves the lightness and the saturation of `colour` by percentages:
// p > 0 moves toward 255 (v + (255 − v) × p / 100), p < 0 toward 0
// (v × (100 + p) / 100).
Pixel AdjustColor(Pixel colour, int lightnessPercent, int saturationPercent);

// Hue, lightness and saturation on a 0 to 255 scale, rounded to integers.
struct Hls255 {
    int hue = 0;
    int lightness = 0;
    int saturation = 0;
};
Hls255 RgbToHls255(Pixel colour);
Pixel Hls255ToRgb(const Hls255& hls);

// Width of the icon gutter at the left of every popup item.
constexpr int kMenuGutterWidth = 22;

struct CMenuColors {
    Pixel background;             // popup right of the gutter; inner borders
    Pixel gutter;                 // icon gutter, open menu bar item, joining line
    Pixel highlightFill;          // highlighted item
    Pixel highlightDisabledFill;  // highlighted disabled item
    Pixel checkFill;              // check box of an item
    Pixel checkFillHighlighted;   // ... of a highlighted item
    Pixel checkFillDisabled;      // ... of a disabled item
    Pixel separator;              // separator line
    Pixel disabledText;           // text of a disabled item
    Pixel iconShadow;             // shadow under a highlighted item's icon
    Pixel disabledImage;          // one-colour image of a disabled item

    static CMenuColors Derive(Pixel buttonFace, Pixel highlight);
};
