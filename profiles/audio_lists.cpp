#include "profiles/audio_lists.h"

#include <algorithm>

#include "profiles/audio_format_catalog.h"

namespace {

int IndexOf(const std::vector<uint32_t>& values, uint32_t v) {
    const auto it = std::find(values.begin(), values.end(), v);
    return it == values.end() ? -1 : static_cast<int>(it - values.begin());
}

int IndexOfLowest(const std::vector<uint32_t>& values) {
    if (values.empty()) return -1;
    return static_cast<int>(std::min_element(values.begin(), values.end()) - values.begin());
}

// Offered rates for the channel count, and the bit rates for `rate` (the
// catalogue falls back to its first rate when `rate` isn't offered).
AudioLists Offered(const CAudioFormatCatalog& catalog, int channels, uint32_t rate) {
    AudioLists lists;
    AudioChoices c;
    if (catalog.Query(static_cast<uint32_t>(channels), rate, 0, &c) != kAudioQueryOk) return lists;
    lists.rates.assign(c.rates, c.rates + c.rateCount);
    lists.bitrates.assign(c.bitrates, c.bitrates + c.bitrateCount);
    return lists;
}

}  // namespace

AudioLists AudioListsForProfile(const CAudioFormatCatalog& catalog, int channels,
                                uint32_t sampleRate, uint32_t audioBitrate) {
    AudioLists lists = Offered(catalog, channels, sampleRate);
    lists.selectedRate = IndexOf(lists.rates, sampleRate);
    lists.selectedBitrate = IndexOf(lists.bitrates, audioBitrate);
    return lists;
}

AudioLists AudioListsKeeping(const CAudioFormatCatalog& catalog, int channels, uint32_t shownRate,
                             uint32_t shownBitrate) {
    AudioLists rates = Offered(catalog, channels, 0);
    int selectedRate = IndexOf(rates.rates, shownRate);
    if (selectedRate < 0) selectedRate = IndexOfLowest(rates.rates);
    if (selectedRate < 0) return rates;
    AudioLists lists = Offered(catalog, channels, rates.rates[selectedRate]);
    lists.selectedRate = selectedRate;
    lists.selectedBitrate = IndexOf(lists.bitrates, shownBitrate);
    if (lists.selectedBitrate < 0) lists.selectedBitrate = IndexOfLowest(lists.bitrates);
    return lists;
}
