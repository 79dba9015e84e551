#include "profiles/profile_store.h"

#include <cstdio>
#include <cstring>
#include <filesystem>
#include <system_error>
#include <utility>

#include "profiles/audio_format_catalog.h"
#include "profiles/profile_file.h"
#include "profiles/profile_file_io.h"
#include "profiles/converter_record.h"
#include "profiles/profile_values.h"

namespace {

// The window framework captions its message boxes with the application title.
constexpr const char* kMessageCaption = "reelsmith";
constexpr const char* kBackupSuffix = ".bak";
// A long list of problems is cut short; the copy of the file keeps them all.
constexpr size_t kMaxProblemsShown = 10;

std::string Format(const char* format, const std::string& value) {
    std::string text(std::strlen(format) + value.size(), '\0');
    const int n = std::snprintf(text.data(), text.size() + 1, format, value.c_str());
    text.resize(n > 0 ? static_cast<size_t>(n) : 0);
    return text;
}

const char* NameProblemText(NameProblem problem) {
    switch (problem) {
        case NameProblem::Empty:
            return "Please input profile name!";
        case NameProblem::TooLong:
            return "Profile name is longer than 1023 characters, add failed!";
        case NameProblem::HasSeparator:
            return "Profile name can't contain \".\", add failed!";
        case NameProblem::HasControlChar:
            return "Profile name can't contain line breaks or control characters, add failed!";
        case NameProblem::None:
            break;
    }
    return "";
}

std::string TrimLeadingSpace(const std::string& s) {
    // The file's reader skips leading white space, so such a name would not
    // come back as it was written.
    const size_t first = s.find_first_not_of(" \t");
    return first == std::string::npos ? std::string() : s.substr(first);
}

}  // namespace

CProfileStore::CProfileStore(std::string path, const CAudioFormatCatalog& catalog,
                             IDialogSeam& dialogs, IProfileSettingsSource& settings)
    : m_path(std::move(path)), m_catalog(catalog), m_dialogs(dialogs), m_settings(settings) {}

MsgAnswer CProfileStore::Ask(const std::string& text, MsgButtons buttons, MsgIcon icon) {
    return m_dialogs.MessageBox(text, kMessageCaption, buttons, icon);
}

bool CProfileStore::Load() {
    m_profiles.clear();
    m_nSelected = 0;
    m_bUnreadableFileExists = false;

    std::string text;
    const FileReadResult read = ReadWholeFile(m_path, text);
    if (read != FileReadResult::Ok) {
        std::error_code ec;
        m_bUnreadableFileExists = std::filesystem::exists(m_path, ec);
        // The usual words, and for a file that is none the reason: the
        // user who put a pipe or a folder there must learn why.
        Ask(read == FileReadResult::NotAFile ? "Load profile failed!\n" + NotAFileText(m_path) + "."
                                             : std::string("Load profile failed!"),
            MsgButtons::Ok, MsgIcon::Warning);
        return false;
    }

    ProfileFileContents contents = ParseProfileFile(text);
    bool keptCopy = false;
    if (contents.lossy) keptCopy = ReplaceFileContents(m_path + kBackupSuffix, text);
    if (!contents.problems.empty())
        ReportProblems(contents.problems, keptCopy, contents.lossy && !keptCopy);
    m_profiles = std::move(contents.profiles);
    m_nSelected = contents.selectedIndex;
    return true;
}

void CProfileStore::ReportProblems(const std::vector<std::string>& problems, bool keptCopy,
                                   bool copyFailed) {
    std::string text = m_path + " could not be read completely:\n";
    for (size_t i = 0; i < problems.size() && i < kMaxProblemsShown; ++i)
        text += problems[i] + "\n";
    if (problems.size() > kMaxProblemsShown)
        text += "... and " + std::to_string(problems.size() - kMaxProblemsShown) + " more.\n";
    if (keptCopy) text += "The file as found was kept as " + m_path + kBackupSuffix + ".";
    if (copyFailed)
        text +=
            "A copy of the file as found could not be kept; the lines left out will be lost "
            "at the next save.";
    Ask(text, MsgButtons::Ok, MsgIcon::Warning);
}

ProfileRecord CProfileStore::ShownProfile() const {
    return IsLoaded() ? m_profiles[m_nSelected] : DefaultConfiguration();
}

int CProfileStore::FindByName(const std::string& name) const {
    for (size_t i = 0; i < m_profiles.size(); ++i)
        if (RecordName(m_profiles[i]) == name) return static_cast<int>(i);
    return -1;
}

bool CProfileStore::SelectProfile(int index) {
    if (index < 0 || index >= Count()) return false;
    m_nSelected = index;
    return true;
}

void CProfileStore::SetListIndex(int index, int32_t position) {
    if (index >= 0 && index < Count()) m_profiles[index].listIndex = position;
}

void CProfileStore::ReadSettingsInto(ProfileRecord& profile) const {
    const PanelSettingsText s = m_settings.CurrentSettings();
    profile.width = TextToInt(s.width);
    profile.height = TextToInt(s.height);
    profile.videoKbps = TextToUnsigned(s.videoBitrate);
    profile.framesPerSecond = TextToInt(s.framesPerSecond);
    profile.audioBitrate = TextToInt(s.audioBitrate);
    profile.sampleRate = TextToInt(s.sampleRate);
    profile.stereo = s.channels == kStereoText ? 1 : 0;
}

bool CProfileStore::WriteAll(int selectedIndex, const std::vector<ProfileRecord>& profiles) {
    // A file that existed but couldn't be read is set aside, not replaced.
    if (m_bUnreadableFileExists) {
        if (std::rename(m_path.c_str(), (m_path + kBackupSuffix).c_str()) != 0) return false;
        m_bUnreadableFileExists = false;
    }
    return ReplaceFileContents(m_path, FormatProfileFile(selectedIndex, profiles));
}

ProfileOpResult CProfileStore::WriteAndReload(int selectedIndex,
                                              const std::vector<ProfileRecord>& profiles) {
    if (!WriteAll(selectedIndex, profiles)) return ProfileOpResult::WriteFailed;
    Load();
    return ProfileOpResult::Written;
}

ProfileOpResult CProfileStore::Save() {
    if (!IsLoaded()) {
        Ask("No profile to save, please add a profile first!", MsgButtons::Ok,
            MsgIcon::Information);
        return ProfileOpResult::Refused;
    }
    const int found = FindByName(m_settings.SelectedProfileName());
    if (found >= 0) ReadSettingsInto(m_profiles[found]);
    const ProfileOpResult result = WriteAndReload(found >= 0 ? found : 0, m_profiles);
    if (result == ProfileOpResult::Written) m_bModified = false;
    return result;
}

ProfileOpResult CProfileStore::Add(const ProfileRecord& newProfile) {
    const std::string name = TrimLeadingSpace(RecordName(newProfile));
    const NameProblem problem = CheckProfileName(name);
    if (problem != NameProblem::None) {
        Ask(NameProblemText(problem), MsgButtons::Ok, MsgIcon::Warning);
        return ProfileOpResult::Refused;
    }
    if (FindByName(name) >= 0) {
        Ask(Format("\"%s\" already exist in profile, add failed!", name), MsgButtons::Ok,
            MsgIcon::Warning);
        return ProfileOpResult::Refused;
    }
    std::vector<ProfileRecord> profiles = m_profiles;
    ProfileRecord added = newProfile;
    SetRecordName(added, name);
    added.listIndex = 0;
    added.deleted = 0;
    added.audioCodecIndex = 0;
    added.audioFormatIndex = 0;
    profiles.push_back(added);
    const ProfileOpResult result = WriteAndReload(Count(), profiles);
    if (result == ProfileOpResult::Written) m_bModified = false;
    return result;
}

ProfileOpResult CProfileStore::Delete() {
    if (!IsLoaded()) return ProfileOpResult::Refused;
    if (Ask("Are you sure to delete this profile?", MsgButtons::YesNo, MsgIcon::Question) !=
        MsgAnswer::Yes)
        return ProfileOpResult::Cancelled;
    if (Count() == 1) return ProfileOpResult::Refused;  // the last profile stays
    const int found = FindByName(m_settings.SelectedProfileName());
    if (found < 0) return ProfileOpResult::Refused;
    m_profiles[found].deleted = 1;
    const ProfileOpResult result = WriteAndReload(0, m_profiles);
    if (result == ProfileOpResult::WriteFailed) {
        // Keep the list as the user now sees it; the exit rewrite retries.
        m_profiles.erase(m_profiles.begin() + found);
        m_nSelected = 0;
    }
    return result;
}

ProfileOpResult CProfileStore::RewriteOnExit() {
    if (!IsLoaded()) return ProfileOpResult::Refused;  // never replace a file with nothing
    const std::string selectedName = m_settings.SelectedProfileName();
    if (m_settings.EditFieldsChanged()) m_bModified = true;
    if (m_bModified && Ask("Profile have been modified, save or not?", MsgButtons::YesNo,
                           MsgIcon::Question) == MsgAnswer::Yes) {
        const int found = FindByName(selectedName);
        if (found >= 0) ReadSettingsInto(m_profiles[found]);
    }
    return WriteAll(m_nSelected, m_profiles) ? ProfileOpResult::Written
                                             : ProfileOpResult::WriteFailed;
}

ProfileRecord CProfileStore::BuildConverterRecord() const {
    const PanelSettingsText s = m_settings.CurrentSettings();
    return MakeConverterRecord(TextToInt(s.width), TextToInt(s.height),
                               TextToUnsigned(s.videoBitrate), TextToInt(s.framesPerSecond),
                               s.channels == kStereoText ? 2 : 1, TextToInt(s.sampleRate),
                               TextToInt(s.audioBitrate), m_catalog);
}
