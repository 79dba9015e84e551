#include "profiles/audio_format_catalog.h"

#include <algorithm>
#include <cstring>
#include <new>
#include <vector>

CAudioFormatCatalog::CAudioFormatCatalog() {
    // The result is not needed: a thread already in another mode still
    // reaches the runtime, whose entry points are free functions here.
    CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
}

bool CAudioFormatCatalog::AddFormat(const AudioFormatEntry& entry) {
    if (m_nCount >= kMaxEntries) return false;
    m_table[m_nCount++] = entry;
    return true;
}

namespace {

bool Contains(const uint32_t* values, uint32_t count, uint32_t v) {
    return std::find(values, values + count, v) != values + count;
}

}  // namespace

int CAudioFormatCatalog::Query(uint32_t channels, uint32_t preferredRate, uint32_t preferredBitrate,
                               AudioChoices* result) const {
    if (result) std::memset(result, 0, sizeof(*result));
    if (m_nCount == 0) return kAudioQueryEmptyTable;
    if (!result) return kAudioQueryNoResult;
    if (channels != 1 && channels != 2) return kAudioQueryBadChannels;

    std::vector<AudioFormatEntry> working;
    try {
        working.reserve(m_nCount);
    } catch (const std::bad_alloc&) {
        return kAudioQueryNoMemory;
    }
    for (uint32_t i = 0; i < m_nCount; ++i)
        if (m_table[i].channels == channels) working.push_back(m_table[i]);

    AudioChoices& r = *result;
    for (const AudioFormatEntry& e : working)
        if (r.rateCount < kMaxAudioChoiceRates && !Contains(r.rates, r.rateCount, e.sampleRate))
            r.rates[r.rateCount++] = e.sampleRate;
    // Falls back to the first rate in table order, not the lowest: the
    // runtime lists its preferred formats first.
    if (r.rateCount > 0)
        r.chosenRate = Contains(r.rates, r.rateCount, preferredRate) ? preferredRate : r.rates[0];

    for (const AudioFormatEntry& e : working)
        if (e.sampleRate == r.chosenRate && r.bitrateCount < kMaxAudioChoiceBitrates &&
            !Contains(r.bitrates, r.bitrateCount, e.bitrate))
            r.bitrates[r.bitrateCount++] = e.bitrate;
    if (r.bitrateCount > 0)
        r.chosenBitrate = Contains(r.bitrates, r.bitrateCount, preferredBitrate)
                              ? preferredBitrate
                              : *std::min_element(r.bitrates, r.bitrates + r.bitrateCount);

    // Lowest codec wins; within one codec the last listed format, so "<=".
    const AudioFormatEntry* best = nullptr;
    for (const AudioFormatEntry& e : working)
        if (e.sampleRate == r.chosenRate && e.bitrate == r.chosenBitrate &&
            (!best || e.codecIndex <= best->codecIndex))
            best = &e;
    if (best) {
        r.audioCodecIndex = best->codecIndex;
        r.audioFormatIndex = best->formatIndex;
    }
    return kAudioQueryOk;
}
