// Dialog units, the measure of dialog templates: a quarter of the dialog
// font's average character width across, an eighth of its height down.
#pragma once

#include <QFont>
#include <QRect>

struct DialogUnits {
    int baseX;  // average character width, pixels
    int baseY;  // character height, pixels
    int X(int units) const { return (units * baseX + 2) / 4; }
    int Y(int units) const { return (units * baseY + 4) / 8; }
    QRect Rect(int x, int y, int w, int h) const { return QRect(X(x), Y(y), X(w), Y(h)); }
};

// The average width is taken over the 52 letters of the alphabet, rounded,
// as the window system does for a dialog's font.
DialogUnits DialogUnitsFor(const QFont& font);
