// The encoding profile both engines build: a system profile of the engine's
// version, cut down to the caller's audio format and a format of the
// preferred video codec, sized and rated, and handed to the engine's writer.
// What differs between the engines is data: the table below.
//
// Threads: the thread that called Convert. Failures are logged in the
// engine's own words; a false result ends the job.
#pragma once

#include <cstddef>
#include <functional>
#include <string>

#include "convert/engine/log_channel.h"
#include "convert/common/profile_struc.h"
#include "platform/wmf/wmsdk.h"

// Which of two codecs named at the same position is kept.
enum class CodecTie {
    KeepFirst,   // a later codec must be strictly better
    TakeLatest,  // a later codec at the same position replaces the earlier
};

// How an engine picks the video codec among the runtime's codecs.
struct CodecPreference {
    const wchar_t* const* names;  // best first, compared whole and case-sensitively
    size_t count;
    // The best position starts here, not past the table: a name at a
    // position that cannot beat it never displaces codec number 0.
    int initialBestPosition;
    CodecTie tie;
    // Trace line for every preferred name a readable codec name is compared
    // with (codec name, preferred name); nullptr for none.
    const char* compareTrace;
    // Trace line for every codec name read (codec name); nullptr for none.
    const char* nameTrace;
};

// Reads codec j's name into `name`; false when it cannot be read.
using CodecNameReader = std::function<bool(DWORD j, std::wstring& name)>;

// Scans codecs 0 .. codecCount-1 and returns the chosen codec number; the
// scan ends at a codec named at position 0. Codec 0 when none is preferred.
DWORD ChooseVideoCodec(DWORD codecCount, const CodecNameReader& nameOf,
                       const CodecPreference& preference);

// The engine's words for the steps of loading the system profile. Lines
// marked "(hr)" are printf formats taking the failure's Hex(hr); nullptr
// means the engine says nothing there.
struct SystemProfileWording {
    const char* managerFailed;  // (hr)
    const char* managerAbort;
    const char* noManager2;
    const char* setVersionFailed;  // (hr)
    const char* setVersionHint;
    // (version, hr) when readVersionNamesVersion, else (hr).
    const char* readVersionFailed;
    bool readVersionNamesVersion;
    const char* readVersionHint;
    // (hr); nullptr: a count that cannot be read is taken as 0.
    const char* countFailed;
    const char* versionTrace;  // trace (version)
    const char* countTrace;    // trace (count)
    bool traceProfileNames;    // trace every system profile's name
    const char* loadFailed;    // (index, hr)
    const char* loadedTrace;   // trace, no arguments
};

// Everything that differs between the two engines' profiles.
struct SystemProfileRules {
    WMT_VERSION version;
    DWORD videoFormatIndex;
    CodecPreference codecs;
    SystemProfileWording wording;
};

// Where the profile step's lines go. `send` takes the engine's own lines
// (an engine may echo them); the stream helpers shared with the other
// engine write to `channel`.
struct ProfileLog {
    const LogChannel& channel;
    std::function<void(const char* line)> send;
};

// Hands the finished profile to the engine's writer.
using ProfileHandOver = std::function<HRESULT(IWMProfile* profile)>;

// Loads system profile 0 of `rules.version` into `*profile` (the caller
// owns it and releases it in its own order, also after a failure), fits it
// to `settings` and hands it over. True when the writer holds the profile.
bool BuildSystemProfile(const SystemProfileRules& rules, const ProfileStruc& settings,
                        const ProfileLog& log, IWMProfile** profile,
                        const ProfileHandOver& handOver);
