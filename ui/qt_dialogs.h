// The dialog seam answered by the user: Qt message boxes and file dialogs,
// modal to `parent` (or application-modal without one).
// Threads: user-interface thread only. The parent is borrowed.
#pragma once

#include "platform/win/dialog_seam.h"

class QWidget;

class CQtDialogs : public IDialogSeam {
public:
    explicit CQtDialogs(QWidget* parent = nullptr) : m_pParent(parent) {}
    // The frame is made after the seam it is given; it becomes the parent then.
    void SetParent(QWidget* parent) { m_pParent = parent; }

    MsgAnswer MessageBox(const std::string& text, const std::string& caption, MsgButtons buttons,
                         MsgIcon icon) override;
    bool OpenFileName(const std::string& title, const std::string& filter,
                      std::string& path) override;
    bool SaveFileName(const std::string& title, const std::string& filter,
                      const std::string& defaultExt, std::string& path) override;

private:
    QWidget* m_pParent;
};
