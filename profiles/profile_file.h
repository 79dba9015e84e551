// The text of profile.cfg: a header "count,selected" and one line
// "name.width,height,videoKbps,fps,audioBitrate,stereo,sampleRate" per
// profile. Pure text in and out; the store does the file handling.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "profiles/profile_record.h"

struct ProfileFileContents {
    std::vector<ProfileRecord> profiles;  // file order; listIndex, deleted and the audio indexes 0
    int selectedIndex = 0;                // always a valid index when profiles is not empty
    // One sentence per problem found, for the user; empty for a sound file.
    std::vector<std::string> problems;
    // Some of the text could not be kept (a line that doesn't parse, a name
    // cut to fit): the next write would lose it unless a copy is kept.
    bool lossy = false;
};

// Reads what can be read and reports the rest; never fails. Either line
// ending is accepted, blank lines and leading white space are skipped. The
// profile lines found are authoritative: a header count that disagrees is
// reported and the lines are kept.
ProfileFileContents ParseProfileFile(std::string_view text);

// The whole file, every line ending in "\n"; profiles marked deleted are
// left out and the header counts the profiles written.
std::string FormatProfileFile(int selectedIndex, const std::vector<ProfileRecord>& profiles);
