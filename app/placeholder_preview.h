// A stand-in for the upper pane until the preview window and the output
// settings panel are built: it loads a file by probing its length, offers
// the range as two number fields and takes the converter record from a
// stored profile.
#pragma once

#include <QWidget>

#include "app/preview_pane.h"

class IDialogSeam;
class QLabel;
class QSpinBox;

class CPlaceholderPreview : public QWidget, public IPreviewPane {
    Q_OBJECT

public:
    // `profilesFile`: the profile.cfg to take `profileName` from.
    CPlaceholderPreview(IDialogSeam& dialogs, std::string profilesFile, QWidget* parent = nullptr);

    QWidget* Widget() override { return this; }
    void LoadFile() override;
    void OpenFile(const std::string& path) override;
    void CloseFile() override;
    std::string GetSourcePath() const override { return m_source; }
    long LastLoadResult() const override { return m_nLoadResult; }
    unsigned GetBeginTime() const override;
    unsigned GetEndTime() const override;
    void SetClosing() override { m_bClosing = true; }
    ProfileRecord ConverterRecord() override;
    void AddProfile() override {}
    void SaveProfile() override {}
    void DeleteProfile() override {}

    // The range fields, for a user (or a test) to set.
    QSpinBox* BeginField() const { return m_pBegin; }
    QSpinBox* EndField() const { return m_pEnd; }

private:
    IDialogSeam& m_dialogs;
    std::string m_profilesFile;
    std::string m_source;
    long m_nLoadResult = 0;
    bool m_bClosing = false;
    QLabel* m_pName;
    QSpinBox* m_pBegin;
    QSpinBox* m_pEnd;
};
