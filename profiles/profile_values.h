// Values of a profile: the text the panel shows turned into numbers, the
// default configuration and the rules for a name that the file can hold.
#pragma once

#include <cstdint>
#include <string>

#include "profiles/profile_record.h"

constexpr size_t kMaxProfileNameChars = sizeof(ProfileRecord::name) - 1;
constexpr const char* kDefaultConfigurationName = "Default Configuration";
constexpr int32_t kDefaultWidth = 640;
constexpr int32_t kDefaultHeight = 480;
constexpr uint32_t kDefaultVideoKbps = 220;
constexpr int32_t kDefaultFramesPerSecond = 15;
constexpr const char* kStereoText = "Stereo";
constexpr const char* kMonoText = "Mono";

// A control's text as a number, the way the C library's atoi/atol read it
// (leading white space, a sign, digits up to the first other character;
// empty text is 0) but held at the type's limits instead of overflowing.
int32_t TextToInt(const std::string& text);
// Negative values become 0: the field is unsigned.
uint32_t TextToUnsigned(const std::string& text);

// What the panel shows while no profile list is loaded.
ProfileRecord DefaultConfiguration();

enum class NameProblem { None, Empty, TooLong, HasSeparator, HasControlChar };
// Whether `name` can be stored in profile.cfg: at most 1023 characters,
// no "." (the name separator), no line breaks or other control characters.
NameProblem CheckProfileName(const std::string& name);

// The name held in a record, up to its terminator or the end of the field.
std::string RecordName(const ProfileRecord& record);
// Copies at most kMaxProfileNameChars characters; the rest of the field is zeroed.
void SetRecordName(ProfileRecord& record, const std::string& name);
