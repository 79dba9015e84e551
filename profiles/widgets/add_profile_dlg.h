// CAddProfileDlg: the modal "Add New Profile" dialog in which the user names
// a new profile and picks its video and audio settings. OK reads the fields
// once and runs ValidateProfile; a failed check shows its message through
// the dialog seam and the dialog stays open with everything typed.
//
//   CAddProfileDlg dialog(catalog, dialogs, mainWindow);
//   if (dialog.exec() == QDialog::Accepted) use(dialog.NewProfile());
//
// The catalogue and the seam are borrowed and must outlive the dialog.
// Threads: user-interface thread only.
#pragma once

#include <QDialog>

#include "profiles/profile_settings.h"

class CAudioFormatCatalog;
class CNumberEdit;
class IDialogSeam;
class QComboBox;
class QLineEdit;
class QPushButton;

namespace add_dialog_id {
constexpr int kName = 1000;
constexpr int kWidth = 1001;
constexpr int kHeight = 1002;
constexpr int kVideoBitrate = 1003;
constexpr int kFrameRate = 1004;
constexpr int kChannels = 1006;
constexpr int kSampleRate = 1007;
constexpr int kAudioBitrate = 1008;
constexpr int kOk = 1;
constexpr int kCancel = 2;
}  // namespace add_dialog_id

class CAddProfileDlg : public QDialog {
    Q_OBJECT

public:
    CAddProfileDlg(const CAudioFormatCatalog& catalog, IDialogSeam& dialogs,
                   QWidget* parent = nullptr);

    // After OK: the name and the settings, as the checks accepted them.
    const NamedProfile& NewProfile() const { return m_newProfile; }

    // The control with that id (1000 to 1008, 1 OK, 2 Cancel), or nullptr.
    QWidget* Control(int id) const;

    void accept() override;

protected:
    bool event(QEvent* event) override;

private:
    void BuildControls();
    void FillAudioListsAtStart();
    int SelectedChannels() const;
    void OnChannelsChosen();
    void OnSampleRateChosen();

    CNumberEdit* m_pVideoBitrateEdit = nullptr;
    CNumberEdit* m_pHeightEdit = nullptr;
    CNumberEdit* m_pWidthEdit = nullptr;
    QComboBox* m_pChannelList = nullptr;
    QComboBox* m_pSampleRateList = nullptr;
    QComboBox* m_pAudioBitrateList = nullptr;
    NamedProfile m_newProfile;
    const CAudioFormatCatalog& m_catalog;
    IDialogSeam& m_dialogs;
    QLineEdit* m_pNameEdit = nullptr;
    QComboBox* m_pFrameRateList = nullptr;
    QPushButton* m_pOkButton = nullptr;
    QPushButton* m_pCancelButton = nullptr;
};
