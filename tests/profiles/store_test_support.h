// The profile store's tests: the test kit (temporary folders, files, the
// scripted dialog seam) and a stand-in for the output settings panel.
#pragma once

#include <string>

#include "media_tools.h"
#include "profiles/profile_settings_source.h"
#include "scripted_dialogs.h"

class FakePanel : public IProfileSettingsSource {
public:
    PanelSettingsText CurrentSettings() const override { return settings; }
    std::string SelectedProfileName() const override { return selectedName; }
    bool EditFieldsChanged() const override { return edited; }
    PanelSettingsText settings;
    std::string selectedName;
    bool edited = false;
};
