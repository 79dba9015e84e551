// The encoding profile: system profile 0 of version 8.0, cut down to an
// audio stream in the caller's format and format 2 of the preferred video
// codec, sized and rated from the caller's profile, handed to the writer.
#pragma once

#include "convert/common/profile_struc.h"
#include "convert/engine/system_profile.h"
#include "convert/wmf9/convertor.h"

// Video codec V8, 9 Advanced Profile, 9, V7, best first; only the first two
// can displace codec 0, and the first codec named at a position is kept.
extern const SystemProfileRules kWmf9ProfileRules;

// True when the writer holds the profile; false after the aborting lines.
bool BuildEncodingProfile(CConvertor& c, const ProfileStruc& profile);
