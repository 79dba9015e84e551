#include "profiles/profile_store.h"

#include <cstdio>
#include <cstring>
#include <filesystem>
#include <system_error>
#include <utility>

#include "convert/common/program_names.h"
#include "profiles/profile_file.h"
#include "profiles/profile_file_io.h"
#include "profiles/profile_validation.h"
#include "profiles/profile_values.h"

namespace {

constexpr const char* kBackupSuffix = ".bak";
// A long list of problems is cut short; the copy of the file keeps them all.
constexpr size_t kMaxProblemsShown = 10;

std::string Format(const char* format, const std::string& value) {
    std::string text(std::strlen(format) + value.size(), '\0');
    const int n = std::snprintf(text.data(), text.size() + 1, format, value.c_str());
    text.resize(n > 0 ? static_cast<size_t>(n) : 0);
    return text;
}

// The store's own words for a name it refuses; the other problems keep the
// add-profile dialog's.
std::string RefusalText(const ProfileCheck& check) {
    switch (check.problem) {
        case ProfileProblem::NameTooLong:
            return "Profile name is longer than 1023 characters, add failed!";
        case ProfileProblem::NameHasSeparator:
            return "Profile name can't contain \".\", add failed!";
        case ProfileProblem::NameHasControlChar:
            return "Profile name can't contain line breaks or control characters, add failed!";
        default:
            return check.message;
    }
}

}  // namespace

CProfileStore::CProfileStore(std::string path, IDialogSeam& dialogs)
    : m_path(std::move(path)), m_dialogs(dialogs) {}

MsgAnswer CProfileStore::Ask(const std::string& text, MsgButtons buttons, MsgIcon icon) {
    return m_dialogs.MessageBox(text, kAppName, buttons, icon);
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

ProfileOpResult CProfileStore::Save(const std::string& selectedName, const ProfileSettings& shown) {
    if (!IsLoaded()) {
        Ask("No profile to save, please add a profile first!", MsgButtons::Ok,
            MsgIcon::Information);
        return ProfileOpResult::Refused;
    }
    const int found = FindByName(selectedName);
    if (found >= 0) StoreSettings(shown, m_profiles[found]);
    const ProfileOpResult result = WriteAndReload(found >= 0 ? found : 0, m_profiles);
    if (result == ProfileOpResult::Written) m_bModified = false;
    return result;
}

ProfileOpResult CProfileStore::Add(const NamedProfile& newProfile) {
    NamedProfile checked;
    const ProfileCheck check = ValidateProfile(DraftOf(newProfile), checked);
    if (!check.Passed()) {
        Ask(RefusalText(check), MsgButtons::Ok, MsgIcon::Warning);
        return ProfileOpResult::Refused;
    }
    if (FindByName(checked.name) >= 0) {
        Ask(Format("\"%s\" already exist in profile, add failed!", checked.name), MsgButtons::Ok,
            MsgIcon::Warning);
        return ProfileOpResult::Refused;
    }
    std::vector<ProfileRecord> profiles = m_profiles;
    ProfileRecord added{};
    SetRecordName(added, checked.name);
    StoreSettings(checked.settings, added);
    profiles.push_back(added);
    const ProfileOpResult result = WriteAndReload(Count(), profiles);
    if (result == ProfileOpResult::Written) m_bModified = false;
    return result;
}

ProfileOpResult CProfileStore::Delete(const std::string& selectedName) {
    if (!IsLoaded()) return ProfileOpResult::Refused;
    if (Ask("Are you sure to delete this profile?", MsgButtons::YesNo, MsgIcon::Question) !=
        MsgAnswer::Yes)
        return ProfileOpResult::Cancelled;
    if (Count() == 1) return ProfileOpResult::Refused;  // the last profile stays
    const int found = FindByName(selectedName);
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

ProfileOpResult CProfileStore::RewriteOnExit(const std::string& selectedName, bool fieldsEdited,
                                             const ProfileSettings& shown) {
    if (!IsLoaded()) return ProfileOpResult::Refused;  // never replace a file with nothing
    if (fieldsEdited) m_bModified = true;
    if (m_bModified && Ask("Profile have been modified, save or not?", MsgButtons::YesNo,
                           MsgIcon::Question) == MsgAnswer::Yes) {
        const int found = FindByName(selectedName);
        if (found >= 0) StoreSettings(shown, m_profiles[found]);
    }
    return WriteAll(m_nSelected, m_profiles) ? ProfileOpResult::Written
                                             : ProfileOpResult::WriteFailed;
}
