// The contents and selections of the sample-rate and audio bit-rate lists
// of the output settings panel and the add-profile dialog, worked out from
// the catalogue without widgets. The widgets sort their entries ("%5d",
// "%6d" keep text order numeric), so the lowest value is their first entry.
#pragma once

#include <cstdint>
#include <vector>

class CAudioFormatCatalog;

struct AudioLists {
    std::vector<uint32_t> rates;     // as offered, in the catalogue's order
    int selectedRate = -1;           // index into rates; -1 leaves the list without a selection
    std::vector<uint32_t> bitrates;  // offered for the selected rate (or the first offered rate)
    int selectedBitrate = -1;
};

// Showing a stored profile: its rate and bit rate are selected when the
// catalogue offers them; one it doesn't offer leaves its list unselected,
// and the bit rates are then those of the first offered rate.
AudioLists AudioListsForProfile(const CAudioFormatCatalog& catalog, int channels,
                                uint32_t sampleRate, uint32_t audioBitrate);

// After the user picks another channel count or sample rate: the rate and
// bit rate shown before stay selected when still offered, otherwise the
// lowest offered value of each (the lists' first entries).
AudioLists AudioListsKeeping(const CAudioFormatCatalog& catalog, int channels, uint32_t shownRate,
                             uint32_t shownBitrate);
