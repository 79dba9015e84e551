// The encoding profile of the fallback engine: system profile 0 of version
// 7.0, cut down to the caller's audio format and format 0 of the preferred
// video codec, sized and rated, and handed to the ASF writer filter.
#pragma once

#include "convert/asfwriter/convertor.h"
#include "convert/common/profile_struc.h"
#include "convert/engine/system_profile.h"

// Video codec 9, V8, V7, best first; a codec whose name is at a position no
// worse than the best so far is taken (so a later equal name wins).
extern const SystemProfileRules kAsfProfileRules;

// True when the writer filter holds the profile; false after the lines that
// end the job.
bool BuildAsfWriterProfile(CConvertor& c, const ProfileStruc& profile);
