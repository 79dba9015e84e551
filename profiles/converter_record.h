// The record the job control widens into a ProfileStruc for Convert.
#pragma once

#include <cstdint>

#include "convert/common/profile_struc.h"

class CAudioFormatCatalog;

// The record handed to the job control: the video bit rate in bits per
// second, codec and format chosen by the catalogue for the channel count,
// sample rate and audio bit rate. name, stereo, listIndex and deleted stay 0.
ProfileRecord MakeConverterRecord(int32_t width, int32_t height, uint32_t videoKbps,
                                  int32_t framesPerSecond, int channels, int32_t sampleRate,
                                  int32_t audioBitrate, const CAudioFormatCatalog& catalog);
