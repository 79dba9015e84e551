// The dialog seam answered by the user: Qt message boxes and file dialogs.
#pragma once

#include <QString>

#include "platform/win/dialog_seam.h"

class QWidget;

class CQtDialogSeam : public IDialogSeam {
public:
    // `parent` owns the dialogs' position; may be null until the frame exists.
    void SetParent(QWidget* parent) { m_pParent = parent; }

    MsgAnswer MessageBox(const std::string& text, const std::string& caption, MsgButtons buttons,
                         MsgIcon icon) override;
    bool OpenFileName(const std::string& title, const std::string& filter,
                      std::string& path) override;
    bool SaveFileName(const std::string& title, const std::string& filter,
                      const std::string& defaultExt, std::string& path) override;

private:
    QWidget* m_pParent = nullptr;
};

// "WMV Files (*.wmv)|*.wmv||" in the form Qt's dialogs take.
QString QtFilterFromWin32(const std::string& filter);
