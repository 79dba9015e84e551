#include "convert/asfwriter/asf_profile.h"

#include <iterator>

namespace {

constexpr const wchar_t* kVideoCodecPreference[] = {
    L"Windows Media Video 9",
    L"Windows Media Video V8",
    L"Windows Media Video V7",
};

}  // namespace

const SystemProfileRules kAsfProfileRules = {
    WMT_VER_7_0,
    /*videoFormatIndex=*/0,
    {kVideoCodecPreference, std::size(kVideoCodecPreference), /*initialBestPosition=*/2,
     CodecTie::TakeLatest, "Get name is %ls, Sys Name is %ls\r\n", nullptr},
    {
        "Failed to create profile manager!  Error=0x%x\n",
        "Failed to create profile manager, mission aborted!",
        "Failed to find IWMProfileManager2!\n",
        "Failed to set system profile version!  Error=0x%x\n",
        "Failed to load system profile, ensure you have the latest Windows Media Player!",
        "Failed to read system profile version %08X!  Error=0x%x\n",
        /*readVersionNamesVersion=*/true,
        nullptr,
        nullptr,
        "System profile version is 0X%08X\r\n",
        "System profile have %d profiles\r\n",
        /*traceProfileNames=*/false,
        "Failed to load system profile %d,  Error=0x%x\n",
        "Load system profile 0\r\n",
    },
};

bool BuildAsfWriterProfile(CConvertor& c, const ProfileStruc& profile) {
    const ProfileLog log{c.m_log.Channel(), [&c](const char* line) { c.m_log.Send(line); }};
    return BuildSystemProfile(
        kAsfProfileRules, profile, log, &c.m_pProfile,
        [&c](IWMProfile* built) { return c.m_pConfig->ConfigureFilterUsingProfile(built); });
}
