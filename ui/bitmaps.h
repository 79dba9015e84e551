// The program's own bitmaps, compiled in from resources/bitmaps (drawn by
// the zev-draw-bitmaps program). Identifiers are the resource numbers the
// windows ask for.
#pragma once

#include <QImage>

namespace bitmap_id {
constexpr int kToolbar = 141;  // 9 images of 24 × 24 on magenta
constexpr int kAppIcon = 128;  // the program's icon, 32 × 32
constexpr int kAddNormal = 132, kAddPressed = 133, kAddHover = 134;
constexpr int kStopHover = 135;
constexpr int kConvertNormal = 136, kConvertHover = 137;
constexpr int kStopNormal = 138;
constexpr int kConvertPressed = 145, kStopPressed = 146;
constexpr int kDeleteNormal = 147, kDeletePressed = 148, kDeleteHover = 149;
constexpr int kSaveNormal = 150, kSavePressed = 151, kSaveHover = 152;
}  // namespace bitmap_id

constexpr int kToolbarImageSize = 24;

// A null image when there is no bitmap with that number.
QImage LoadBitmapResource(int id);
