// The audio formats that the installed runtime's codecs offer, and the one
// question the profile user interface and the converter record ask of them.
//
// Threads: built and queried on the user-interface thread only.
#pragma once

#include <cstdint>

#include "platform/wmf/wmsdk.h"

struct AudioFormatEntry {
    uint16_t channels;
    uint32_t sampleRate;   // samples per second
    uint32_t bitrate;      // bits per second
    uint32_t codecIndex;   // index in the runtime's audio codec enumeration
    uint32_t formatIndex;  // index within that codec
};

constexpr uint32_t kMaxAudioChoiceRates = 20;
constexpr uint32_t kMaxAudioChoiceBitrates = 100;

// Result of CAudioFormatCatalog::Query; every query starts from all zero.
struct AudioChoices {
    uint32_t rateCount;
    uint32_t rates[kMaxAudioChoiceRates];  // distinct, in table order
    uint32_t chosenRate;
    uint32_t bitrateCount;
    uint32_t bitrates[kMaxAudioChoiceBitrates];  // distinct, for chosenRate, in table order
    uint32_t chosenBitrate;
    uint32_t audioCodecIndex;
    uint32_t audioFormatIndex;
};

// Query results.
constexpr int kAudioQueryOk = 0;
constexpr int kAudioQueryEmptyTable = 100;
constexpr int kAudioQueryBadChannels = 101;
constexpr int kAudioQueryNoMemory = 102;
constexpr int kAudioQueryNoResult = 103;

// Creates the runtime's profile manager; WMCreateProfileManager in the
// program, a fault-injecting double in tests.
using ProfileManagerFactory = HRESULT (*)(IWMProfileManager** manager);

class CAudioFormatCatalog {
public:
    static constexpr uint32_t kMaxEntries = 500;

    // Initialises COM (apartment model) for the calling thread; nothing is
    // uninitialised at destruction, the thread keeps COM for its lifetime.
    CAudioFormatCatalog();

    // Fills the table from the runtime's audio codecs, writing a trace of
    // every format to standard output. Returns 1 when the enumeration ran
    // (also when it ended early at a failing codec), 0 when it couldn't
    // start. Meant to be called once.
    int Enumerate();
    int Enumerate(ProfileManagerFactory createManager);

    // Appends one format; false when the table is full.
    bool AddFormat(const AudioFormatEntry& entry);

    // For channels (1 or 2), a preferred sample rate and bit rate (0: no
    // preference), fills *result. Returns one of the kAudioQuery codes; on
    // any code but kAudioQueryOk *result (when given) is all zero.
    int Query(uint32_t channels, uint32_t preferredRate, uint32_t preferredBitrate,
              AudioChoices* result) const;

    uint32_t Count() const { return m_nCount; }
    const AudioFormatEntry& Entry(uint32_t i) const { return m_table[i]; }

private:
    AudioFormatEntry m_table[kMaxEntries] = {};
    uint32_t m_nCount = 0;
};
