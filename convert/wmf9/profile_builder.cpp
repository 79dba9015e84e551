#include "convert/wmf9/profile_builder.h"

#include <iterator>

namespace {

constexpr const wchar_t* kVideoCodecPreference[] = {
    L"Windows Media Video V8",
    L"Windows Media Video 9 Advanced Profile",
    L"Windows Media Video 9",
    L"Windows Media Video V7",
};
constexpr char kInstallHint[] =
    "Failed to load system profile, please install Windows Media Player 9 or above!\r\n";

}  // namespace

const SystemProfileRules kWmf9ProfileRules = {
    WMT_VER_8_0,
    /*videoFormatIndex=*/2,
    {kVideoCodecPreference, std::size(kVideoCodecPreference), /*initialBestPosition=*/2,
     CodecTie::KeepFirst, nullptr, "codec name is %ls\r\n"},
    {
        "Failed to create profile manager!  Error=0x%x\r\n",
        "Failed to create profile manager, mission aborted!\r\n",
        "Failed to find IWMProfileManager2!\r\n",
        "Failed to set system profile version!  Error=0X%08X, Mission Aborted!\r\n",
        kInstallHint,
        "Failed to read system profile version 8!  Error=0X%08X, Mission Aborted!\r\n",
        /*readVersionNamesVersion=*/false,
        kInstallHint,
        "Failed to get system profile count! Error=0X%08X, Mission abort\r\n",
        nullptr,
        nullptr,
        /*traceProfileNames=*/true,
        "Failed to load system profile %d,  Error=0X%08X\r\n, Mission Aborted!",
        nullptr,
    },
};

bool BuildEncodingProfile(CConvertor& c, const ProfileStruc& profile) {
    const ProfileLog log{c.m_log, [&c](const char* line) { c.m_log.Send(line); }};
    return BuildSystemProfile(kWmf9ProfileRules, profile, log, &c.m_pProfile,
                              [&c](IWMProfile* built) { return c.m_pWriter->SetProfile(built); });
}
