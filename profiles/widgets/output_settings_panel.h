// COutputSettingsPanel: the "Output Settings" child window in which the
// user picks an encoding profile, edits its video and audio settings and
// adds, deletes or saves profiles. It owns the profile store and the audio
// format catalogue; it parses its fields once into a ProfileSettings record,
// which the store saves and the converter record is built from.
//
// Hosting it (the program's upper pane places it as child 1111):
//
//   CQtDialogs dialogs(mainWindow);                 // or a test's scripted seam
//   auto* panel = new COutputSettingsPanel(
//       COutputSettingsPanel::DefaultProfilePath(), dialogs, upperPane);
//   panel->setGeometry(...);                        // any size; it lays itself out
//
// Construction enumerates the installed audio formats and loads profile.cfg
// (message boxes go through `dialogs`); the panel shows a profile, or the
// default configuration, from its first paint. Destroying it rewrites
// profile.cfg, first asking whether to save changes.
//
// The job control asks for the record to convert with:
//
//   ProfileRecord record = panel->BuildConverterRecord();
//   // video bit rate in kilobits per second, as shown; audio codec and
//   // format indexes chosen by the catalogue; name, stereo, listIndex,
//   // deleted are 0. WidenProfile (job/) makes the Convert record.
//
// and the main frame's Profile commands call Add(), Save() and Delete().
//
// Tab runs through the controls as their ids go and stops at the channel
// and sample-rate lists; Enter in a field or list gives the focus to the
// panel, which then frames that control with a dotted line, and Tab (or
// Shift+Tab) from the panel goes on from that control in the window's Tab
// order: fields and lists by id, then Add, Delete and Save.
//
// Ownership: the dialog seam is borrowed and must outlive the panel; the
// panel is owned by its Qt parent. Threads: user-interface thread only.
#pragma once

#include <QPointer>
#include <QWidget>
#include <functional>
#include <string>

#include "profiles/audio_format_catalog.h"
#include "profiles/profile_record.h"
#include "profiles/profile_settings.h"
#include "profiles/profile_store.h"
#include "profiles/widgets/output_panel_layout.h"

class CDropCombo;
class CHoverButton;
class CNumberEdit;
class IDialogSeam;

class COutputSettingsPanel : public QWidget {
    Q_OBJECT

public:
    // The control id under which the program's upper pane hosts the panel.
    static constexpr int kControlId = 1111;

    // Fills the catalogue once, at construction. The default asks the
    // installed runtime (CAudioFormatCatalog::Enumerate); tests and demos
    // may add formats of their own instead.
    using CatalogFiller = std::function<void(CAudioFormatCatalog&)>;

    COutputSettingsPanel(std::string profilePath, IDialogSeam& dialogs, QWidget* parent = nullptr,
                         const CatalogFiller& fillCatalog = {});
    // Rewrites profile.cfg (RewriteOnExit) unless that already happened.
    ~COutputSettingsPanel() override;

    // profile.cfg beside the program, or in the user's configuration
    // directory when the program's directory can't be written.
    static std::string DefaultProfilePath();

    // The Profile commands (1100, 1101, 1102; the menu's 32783 to 32785).
    void Add();
    void Delete();
    void Save();

    // What the controls show now, read once.
    ProfileSettings ShownSettings() const;
    // The record for the job control, from what the controls show now.
    ProfileRecord BuildConverterRecord() const;

    // Asks "Profile have been modified, save or not?" when there are
    // changes, then writes profile.cfg with the selected profile. For a
    // host that wants the question while its window is still open; runs
    // once, the destructor then skips it.
    void RewriteOnExit();

    // Changes since the last Save or Add: the modified mark or an edited field.
    bool IsModified() const;
    const CAudioFormatCatalog& Catalog() const { return m_catalog; }
    const CProfileStore& Store() const { return m_store; }
    // The control with that id (1000 to 1007, 1100 to 1102), or nullptr.
    QWidget* Control(int id) const;

protected:
    bool event(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    bool focusNextPrevChild(bool next) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    std::string SelectedProfileName() const;
    // The width, height or video bit-rate field was edited since the panel
    // last set its text.
    bool EditFieldsChanged() const;

    void CreateControls();
    void LoadProfiles();
    void ShowStoreContents();
    void ShowProfile(const ProfileRecord& profile, bool isDefault);
    void OnListActivated(int id, int index);
    void OnProfileChosen();
    void OnChannelsChosen();
    void OnSampleRateChosen();
    int SelectedChannels() const;
    void FocusNextAfter(int id);
    QFont HeadingFont() const;
    OutputPanelLayout CurrentLayout() const;
    void PlaceControls(const OutputPanelLayout& layout);

    IDialogSeam& m_dialogs;
    bool m_bRewritten = false;
    CHoverButton* m_pAddButton = nullptr;
    CHoverButton* m_pDeleteButton = nullptr;
    CHoverButton* m_pSaveButton = nullptr;
    CDropCombo* m_pChannelList = nullptr;
    CDropCombo* m_pFrameRateList = nullptr;
    CDropCombo* m_pProfileList = nullptr;
    CDropCombo* m_pSampleRateList = nullptr;
    CAudioFormatCatalog m_catalog;
    CDropCombo* m_pAudioBitrateList = nullptr;
    CNumberEdit* m_pVideoBitrateEdit = nullptr;
    CNumberEdit* m_pHeightEdit = nullptr;
    CNumberEdit* m_pWidthEdit = nullptr;
    CProfileStore m_store;
    // The control that gave the focus to the panel last.
    QPointer<QWidget> m_pHandedFocus;
};
