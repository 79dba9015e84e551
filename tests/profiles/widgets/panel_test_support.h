// The profile widgets' tests: the test kit's widget driving and a
// catalogue with known formats.
#pragma once

#include "profiles/audio_format_catalog.h"
#include "widget_input.h"

// Two channels: 8000 (12000, 16000), 22050 (32000), 44100 (64000, 128000,
// 96000), 32000 (40000). One channel: 8000 (8000), 22050 (16000),
// 44100 (48000, 64000).
inline void FillTestCatalog(CAudioFormatCatalog& c) {
    const AudioFormatEntry entries[] = {
        {2, 44100, 64000, 0, 0}, {2, 44100, 128000, 0, 1}, {2, 44100, 96000, 0, 2},
        {2, 22050, 32000, 0, 3}, {2, 8000, 12000, 0, 4},   {2, 8000, 16000, 0, 5},
        {2, 32000, 40000, 0, 6}, {1, 22050, 16000, 1, 0},  {1, 8000, 8000, 1, 1},
        {1, 44100, 48000, 1, 2}, {1, 44100, 64000, 1, 3},
    };
    for (const AudioFormatEntry& e : entries) c.AddFormat(e);
}
