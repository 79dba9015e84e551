// The check of a job's video settings that the caller makes before it binds
// a converter, shared by zev and zev-convert. The runtime refuses a size,
// bit rate or frame rate outside what its encoders take and keeps its own
// profile's settings, so the job would make a file of another size and
// rate without a word; a hand-edited profile.cfg can hold such values.
//
// Threads: any; pure.
#pragma once

#include <string>

#include "profiles/profile_record.h"

// One sentence for the user about what the encoder would refuse in
// `record`, empty when it takes everything.
std::string VideoSettingsProblem(const ProfileRecord& record);
