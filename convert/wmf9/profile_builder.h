// The encoding profile: system profile 0 of version 8.0, cut down to an
// audio stream in the caller's format and a video stream in the preferred
// codec, sized and rated from the caller's profile, handed to the writer.
#pragma once

#include "convert/common/profile_struc.h"
#include "convert/wmf9/convertor.h"

// True when the writer holds the profile; false after the aborting lines.
bool BuildEncodingProfile(CConvertor& c, const ProfileStruc& profile);
