// The record of the selected profile that the panel hands to the job
// control, which widens it into the Convert record (WidenProfile).
#pragma once

#include <cstdint>

#include "profiles/profile_record.h"

class CAudioFormatCatalog;

// The record handed to the job control: the video bit rate in kilobits per
// second as stored, codec and format chosen by the catalogue for the channel
// count, sample rate and audio bit rate. name, stereo, listIndex and deleted
// stay 0.
ProfileRecord MakeConverterRecord(int32_t width, int32_t height, uint32_t videoKbps,
                                  int32_t framesPerSecond, int channels, int32_t sampleRate,
                                  int32_t audioBitrate, const CAudioFormatCatalog& catalog);
