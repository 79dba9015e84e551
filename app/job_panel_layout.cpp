#include "app/job_panel_layout.h"

JobPanelLayout ComputeJobPanelLayout(int width) {
    const int half = width / 2;
    const int quarter = width / 4;
    JobPanelLayout l;
    l.progress = {10, 120, 2 * quarter - 20, 10};
    l.sourceBrowse = {half + 50, 10, 20, 18};
    l.destBrowse = {half + 30, 80, 20, 18};
    l.convertButton = {40 + (half - 80) / 2 - 30, 40, 64, 64};
    l.sourceLabel = {half + 5, 40, half - 10, 20};
    l.destLabel = {half + 5, 110, half - 10, 20};
    l.textX = half + 5;
    return l;
}
