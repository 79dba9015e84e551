// The upper pane as the program composes it: the preview window filling the
// pane and, over its right part, the output settings panel (control 1111)
// from 60 % of the width, a third of it wide and the full height. Neither
// of the two knows the other; this pane places them and answers the frame's
// IPreviewPane for both.
#pragma once

#include <QWidget>
#include <string>

#include "app/preview_pane.h"

class COutputSettingsPanel;
class CPreviewWnd;
class IDialogSeam;

class CPreviewPaneAdapter : public QWidget, public IPreviewPane {
    Q_OBJECT

public:
    // A child of `parent`, which owns it. `profilePath`: the panel's
    // profile.cfg; empty for its default place beside the program.
    CPreviewPaneAdapter(IDialogSeam& dialogs, QWidget* parent, const std::string& profilePath = {});

    QWidget* Widget() override;
    void LoadFile() override;
    void OpenFile(const std::string& path) override;
    void CloseFile() override;
    std::string GetSourcePath() const override;
    long LastLoadResult() const override;
    unsigned GetBeginTime() const override;
    unsigned GetEndTime() const override;
    void SetClosing() override;
    void PlayOrPause() override;
    void MarkBegin() override;
    void MarkEnd() override;
    void SeekBy(int seconds) override;
    void SeekToBegin() override;
    void SeekToEnd() override;
    ProfileRecord ConverterRecord() override;
    void AddProfile() override;
    void SaveProfile() override;
    void DeleteProfile() override;

    CPreviewWnd* Preview() const { return m_pPreview; }
    COutputSettingsPanel* Panel() const { return m_pPanel; }

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    CPreviewWnd* m_pPreview;
    COutputSettingsPanel* m_pPanel;
};
