// The user's encoding profiles: the list read from profile.cfg, the
// selected profile, and the operations of the Profile menu. Widget-free:
// the output settings panel shows what the store holds and hands it the
// selected name and the settings it shows as one typed record (parsed once,
// by the panel); the store's questions and messages go through IDialogSeam.
//
// Every operation that writes (Save, Add, Delete) reloads the file after a
// successful write, so the list always matches the file; a failed write is
// not reported and leaves the list as the operation changed it.
#pragma once

#include <string>
#include <vector>

#include "platform/win/dialog_seam.h"
#include "profiles/profile_record.h"
#include "profiles/profile_settings.h"

enum class ProfileOpResult {
    Written,      // the file was written and reloaded
    WriteFailed,  // the file couldn't be written; nothing reported
    Refused,      // refused with a message, or nothing to do
    Cancelled,    // the user said No
};

class CProfileStore {
public:
    // `dialogs` is borrowed and must outlive the store.
    CProfileStore(std::string path, IDialogSeam& dialogs);

    // Reads the file. Returns false, after "Load profile failed!", when it
    // can't be read: the default configuration is shown. A file that reads
    // with problems is loaded as far as it goes, the problems shown in one
    // message, and a copy of it kept as profile.cfg.bak when the next write
    // would lose some of its text.
    bool Load();

    // A list with at least one profile is loaded; otherwise the panel shows
    // the default configuration and nothing is written.
    bool IsLoaded() const { return !m_profiles.empty(); }
    const std::vector<ProfileRecord>& Profiles() const { return m_profiles; }
    int Count() const { return static_cast<int>(m_profiles.size()); }
    int SelectedIndex() const { return m_nSelected; }
    // The profile to show: the selected one, or the default configuration.
    ProfileRecord ShownProfile() const;
    // First profile with exactly this name (case-sensitive), or -1.
    int FindByName(const std::string& name) const;
    // Makes profile i the selected one; false when there's no such profile.
    bool SelectProfile(int index);
    // The position the panel's profile list gave profile i's name at load.
    void SetListIndex(int index, int32_t position);

    void SetModified() { m_bModified = true; }
    bool IsModified() const { return m_bModified; }

    // Commands 1102, 1100 and 1101 of the panel. `selectedName` is the text
    // of the panel's selected entry, `shown` the settings the panel shows.
    // Add takes the profile the add-profile dialog returned after OK, and
    // checks it again (ValidateProfile).
    ProfileOpResult Save(const std::string& selectedName, const ProfileSettings& shown);
    ProfileOpResult Add(const NamedProfile& newProfile);
    ProfileOpResult Delete(const std::string& selectedName);
    // When the panel is destroyed: asks to save changes (when the mark is
    // set or `fieldsEdited`), then always writes so that the selected
    // profile is remembered.
    ProfileOpResult RewriteOnExit(const std::string& selectedName, bool fieldsEdited,
                                  const ProfileSettings& shown);

    const std::string& Path() const { return m_path; }

private:
    bool WriteAll(int selectedIndex, const std::vector<ProfileRecord>& profiles);
    ProfileOpResult WriteAndReload(int selectedIndex, const std::vector<ProfileRecord>& profiles);
    void ReportProblems(const std::vector<std::string>& problems, bool keptCopy, bool copyFailed);
    MsgAnswer Ask(const std::string& text, MsgButtons buttons, MsgIcon icon);

    std::string m_path;
    IDialogSeam& m_dialogs;
    std::vector<ProfileRecord> m_profiles;
    int m_nSelected = 0;
    bool m_bModified = false;
    // The file was there but could not be read: keep it aside before the
    // first write replaces it.
    bool m_bUnreadableFileExists = false;
};
