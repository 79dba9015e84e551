// The upper pane as the program builds it: the preview window, hosting the
// output settings panel as control 1111, behind the frame's IPreviewPane.
#pragma once

#include <QObject>
#include <functional>

#include "app/preview_pane.h"

class COutputSettingsPanel;
class CPreviewWnd;
class IDialogSeam;
class QWidget;

class CPreviewPaneAdapter : public QObject, public IPreviewPane {
    Q_OBJECT

public:
    // Creates the preview window as a child of `parent` (which owns it);
    // the adapter goes with the window.
    CPreviewPaneAdapter(IDialogSeam& dialogs, QWidget* parent);

    QWidget* Widget() override;
    void LoadFile() override;
    void OpenFile(const std::string& path) override;
    void CloseFile() override;
    std::string GetSourcePath() const override;
    long LastLoadResult() const override;
    unsigned GetBeginTime() const override;
    unsigned GetEndTime() const override;
    void SetClosing() override;
    ProfileRecord ConverterRecord() override;
    void AddProfile() override;
    void SaveProfile() override;
    void DeleteProfile() override;

    CPreviewWnd* Preview() const { return m_pPreview; }
    COutputSettingsPanel* Panel() const { return m_pPanel; }

private:
    CPreviewWnd* m_pPreview;
    COutputSettingsPanel* m_pPanel;
};
