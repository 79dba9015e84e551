// Where the output settings panel draws its texts and lines and puts its
// controls, from the panel's client width and the heading font's average
// character width. Pure arithmetic, so it can be checked without a display.
// All coordinates are pixels in the panel's client area (left edge 0).
#pragma once

#include <string>
#include <vector>

// Control ids of the panel, which its Tab navigation follows.
namespace panel_id {
constexpr int kProfileList = 1000;
constexpr int kWidth = 1001;
constexpr int kHeight = 1002;
constexpr int kVideoBitrate = 1003;
constexpr int kFrameRate = 1004;
constexpr int kAudioBitrate = 1005;
constexpr int kChannels = 1006;
constexpr int kSampleRate = 1007;
constexpr int kAdd = 1100;
constexpr int kDelete = 1101;
constexpr int kSave = 1102;
}  // namespace panel_id

// Right and bottom are exclusive: width = right - left.
struct PanelRect {
    int left = 0, top = 0, right = 0, bottom = 0;
    int Width() const { return right - left; }
    int Height() const { return bottom - top; }
    bool operator==(const PanelRect& o) const {
        return left == o.left && top == o.top && right == o.right && bottom == o.bottom;
    }
};

struct PanelText {
    std::string text;
    int x, y;     // top-left of the text cell
    bool accent;  // drawn in the accent colour, otherwise black
};

struct PanelControlPlace {
    int id;
    PanelRect rect;
    bool framed;  // a one-pixel black frame is drawn around it
};

struct OutputPanelLayout {
    std::vector<PanelText> texts;
    std::vector<int> separatorYs;  // horizontal lines from x 0 to the right edge
    std::vector<PanelControlPlace> controls;
    PanelRect Place(int id) const;  // empty rectangle for an unknown id
};

constexpr int kPanelLineHeight = 24;
constexpr int kPanelButtonWidth = 72;
constexpr int kPanelButtonHeight = 40;
constexpr int kPanelButtonTop = 356;
// Accent colour of the section and row labels.
constexpr int kPanelAccentRed = 49, kPanelAccentGreen = 106, kPanelAccentBlue = 197;

OutputPanelLayout LayOutOutputPanel(int clientWidth, int averageCharWidth);

// The label drawn before the field or list with that id, without its
// trailing spaces ("Width(Pixel)"); empty for the buttons and unknown ids.
std::string PanelControlLabel(int id);
