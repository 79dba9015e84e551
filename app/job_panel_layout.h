// Where the job panel's children go for a panel width; plain arithmetic so
// tests can check it without a display.
#pragma once

struct PanelRect {
    int x, y, width, height;
};

struct JobPanelLayout {
    PanelRect progress;
    PanelRect sourceBrowse;
    PanelRect destBrowse;
    PanelRect convertButton;  // the Stop button shares it
    PanelRect sourceLabel;
    PanelRect destLabel;
    int textX;  // "From:" at (textX, 10), "To:" at (textX, 80)
};

JobPanelLayout ComputeJobPanelLayout(int width);
