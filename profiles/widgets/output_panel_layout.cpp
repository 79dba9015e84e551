#include "profiles/widgets/output_panel_layout.h"

#include <cstring>

namespace {

int FloorDiv2(int v) {
    return v >= 0 ? v / 2 : -((-v + 1) / 2);
}

int Len(const char* text) {
    return static_cast<int>(std::strlen(text));
}

struct Row {
    int id;
    const char* label;
    int y;
    int gap;  // between the label's end and the control
    bool framed;
};

// Labels keep their trailing spaces: the control's place depends on them.
constexpr Row kVideoRows[] = {
    {panel_id::kWidth, "Width(Pixel) ", 126, 14, false},
    {panel_id::kHeight, "Height(Pixel)", 152, 14, false},
    {panel_id::kVideoBitrate, "Bit Rate(Kbps)", 178, 14, true},
    {panel_id::kFrameRate, "Frame Per Second", 204, 24, true},
};
constexpr Row kAudioRows[] = {
    {panel_id::kChannels, "Channel ", 256, 14, true},
    {panel_id::kSampleRate, "Sample Rate(Hz)", 282, 19, true},
    {panel_id::kAudioBitrate, "Bit Rate(bps)", 308, 14, true},
};

}  // namespace

std::string PanelControlLabel(int id) {
    std::string label;
    if (id == panel_id::kProfileList) label = "Profile";
    for (const Row& r : kVideoRows)
        if (r.id == id) label = r.label;
    for (const Row& r : kAudioRows)
        if (r.id == id) label = r.label;
    while (!label.empty() && label.back() == ' ') label.pop_back();
    return label;
}

PanelRect OutputPanelLayout::Place(int id) const {
    for (const PanelControlPlace& c : controls)
        if (c.id == id) return c.rect;
    return {};
}

OutputPanelLayout LayOutOutputPanel(int clientWidth, int cw) {
    const int left = 0, right = clientWidth;
    OutputPanelLayout out;

    const char* title = "Output Settings";
    out.texts.push_back({title, FloorDiv2(right - left - Len(title) * cw), 42, false});

    const char* profile = "Profile";
    out.texts.push_back({profile, 4, 70, false});
    out.controls.push_back(
        {panel_id::kProfileList, {left + Len(profile) * cw + 4, 70, right - 4, 94}, false});
    out.separatorYs.push_back(98);

    // The rows start where the section heading ("Video Settings", 14
    // characters) ends.
    const int x0 = 14 * cw + 4;
    const auto addRows = [&](const Row* rows, int n) {
        for (int i = 0; i < n; ++i) {
            const Row& r = rows[i];
            out.texts.push_back({r.label, x0, r.y, true});
            out.controls.push_back(
                {r.id,
                 {x0 + Len(r.label) * cw + r.gap, r.y, right - 4, r.y + kPanelLineHeight},
                 r.framed});
        }
    };
    out.texts.push_back({"Video Settings", 4, 100, true});
    addRows(kVideoRows, 4);
    out.separatorYs.push_back(228);
    out.texts.push_back({"Audio Settings", 4, 230, true});
    addRows(kAudioRows, 3);
    out.separatorYs.push_back(332);

    const int bx = FloorDiv2(right - left) - 108;
    const int top = kPanelButtonTop, bottom = kPanelButtonTop + kPanelButtonHeight;
    out.controls.push_back({panel_id::kAdd, {bx, top, bx + 72, bottom}, false});
    out.controls.push_back({panel_id::kDelete, {bx + 76, top, bx + 148, bottom}, false});
    out.controls.push_back({panel_id::kSave, {bx + 152, top, bx + 224, bottom}, false});
    return out;
}
