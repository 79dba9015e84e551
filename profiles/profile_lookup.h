// For the command-line converter zev-convert, which has no panel:
//
//   ProfileRecord profile;
//   std::string error;
//   if (!FindProfileInFile(cfgPath, "Small screen", profile, error)) { report error; }
//   CAudioFormatCatalog catalog;  // on the thread that converts
//   catalog.Enumerate();
//   ProfileRecord record = ConverterRecordFromProfile(profile, catalog);
//   ProfileStruc forConvert = WidenProfile(record);  // job/
//
// or, for audio settings given on the command line:
//   AudioFormatPick pick = PickAudioFormat(catalog, 2, 44100, 64000);
//
// The record is built exactly as the panel builds it: video bit rate in
// kilobits per second as stored, codec and format chosen by the catalogue;
// name, stereo, listIndex, deleted 0.
#pragma once

#include <cstdint>
#include <string>

#include "profiles/profile_record.h"

class CAudioFormatCatalog;

// Reads profile.cfg at `path` and copies the first profile named exactly
// `name` into `profile` (video bit rate in kilobits per second, as stored).
// False with a one-line `error` when the file can't be read or holds no
// such profile. Problems elsewhere in the file are ignored.
bool FindProfileInFile(const std::string& path, const std::string& name, ProfileRecord& profile,
                       std::string& error);

ProfileRecord ConverterRecordFromProfile(const ProfileRecord& profile,
                                         const CAudioFormatCatalog& catalog);

struct AudioFormatPick {
    int status;  // a kAudioQuery code; on anything but kAudioQueryOk the rest is 0
    uint32_t codecIndex;
    uint32_t formatIndex;
    uint32_t sampleRate;  // the rate actually chosen (the first offered if the one asked isn't)
    uint32_t bitrate;     // the bit rate actually chosen (the lowest if the one asked isn't)
};
// channels 1 or 2, sample rate in hertz, bit rate in bits per second.
AudioFormatPick PickAudioFormat(const CAudioFormatCatalog& catalog, uint32_t channels,
                                uint32_t sampleRate, uint32_t bitrate);
