// The steps both engines take to turn a system profile into the job's
// two-stream profile: empty it, add the caller's audio format as stream 1,
// add a video configuration as stream 2, and size and rate the video. Each
// failure is logged in the engines' common words; a false result ends the
// job.
#pragma once

#include <string>

#include "convert/engine/log_channel.h"
#include "convert/common/profile_struc.h"
#include "platform/wmf/wmsdk.h"

inline constexpr WORD kAudioStreamNumber = 1;
inline constexpr WORD kVideoStreamNumber = 2;

// Removes streams 1..count; keeps the configuration of the second stream for
// a runtime without video codecs. False (after its line) with fewer than two.
bool EmptySystemProfile(IWMProfile* profile, const LogChannel& log,
                        ComPtr<IWMStreamConfig>& videoFallback);

// Adds format `audioFormatIndex` of codec `audioCodecIndex` as stream 1 and
// checks that it reads back as audio. Indexes the runtime does not know end
// the job with a line of their own.
bool AddAudioStream(IWMProfile* profile, IWMCodecInfo* codecInfo, const ProfileStruc& settings,
                    const LogChannel& log);

// Reads codec j's name; false when it cannot be read.
bool ReadVideoCodecName(IWMCodecInfo* codecInfo, DWORD j, std::wstring& name);

// Adds `video` as stream 2, checks it reads back as video, sets its bit
// rate and edits its VIDEOINFOHEADER to the caller's size, bit rate and
// frame duration. Failures to store or commit the type are reported and the
// job goes on.
bool AddSizedVideoStream(IWMProfile* profile, IWMStreamConfig* video, const ProfileStruc& settings,
                         const LogChannel& log);

// The configuration of `formatIndex` of video codec `codec`, or, with no
// video codecs at all (`codecCount` 0), the system profile's own. Formats
// the runtime does not have end the job with a line of their own.
bool PickVideoFormat(IWMCodecInfo* codecInfo, DWORD codecCount, DWORD codec, DWORD formatIndex,
                     ComPtr<IWMStreamConfig>& fallback, const LogChannel& log,
                     ComPtr<IWMStreamConfig>& video);
