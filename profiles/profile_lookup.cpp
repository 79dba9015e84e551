#include "profiles/profile_lookup.h"

#include "profiles/audio_format_catalog.h"
#include "profiles/profile_file.h"
#include "profiles/profile_file_io.h"
#include "profiles/converter_record.h"
#include "profiles/profile_values.h"

bool FindProfileInFile(const std::string& path, const std::string& name, ProfileRecord& profile,
                       std::string& error) {
    std::string text;
    switch (ReadWholeFile(path, text)) {
        case FileReadResult::CantOpen:
            error = "cannot read " + path;
            return false;
        case FileReadResult::TooLarge:
            error = path + " is too large to be a profile file";
            return false;
        case FileReadResult::NotAFile:
            error = NotAFileText(path);
            return false;
        case FileReadResult::Ok:
            break;
    }
    for (const ProfileRecord& p : ParseProfileFile(text).profiles) {
        if (RecordName(p) == name) {
            profile = p;
            return true;
        }
    }
    error = "no profile named \"" + name + "\" in " + path;
    return false;
}

ProfileRecord ConverterRecordFromProfile(const ProfileRecord& profile,
                                         const CAudioFormatCatalog& catalog) {
    return MakeConverterRecord(profile.width, profile.height, profile.videoKbps,
                               profile.framesPerSecond, profile.stereo == 1 ? 2 : 1,
                               profile.sampleRate, profile.audioBitrate, catalog);
}

AudioFormatPick PickAudioFormat(const CAudioFormatCatalog& catalog, uint32_t channels,
                                uint32_t sampleRate, uint32_t bitrate) {
    AudioChoices choices;
    AudioFormatPick pick{};
    pick.status = catalog.Query(channels, sampleRate, bitrate, &choices);
    if (pick.status != kAudioQueryOk) return pick;
    pick.codecIndex = choices.audioCodecIndex;
    pick.formatIndex = choices.audioFormatIndex;
    pick.sampleRate = choices.chosenRate;
    pick.bitrate = choices.chosenBitrate;
    return pick;
}
