// The one seam through which the program asks the user: message boxes and
// file dialogs. The program installs the Qt implementation; tests install a
// scripted one that answers without a display.
#pragma once

#include <string>

enum class MsgButtons { Ok, OkCancel, YesNo };
enum class MsgIcon { None, Information, Warning, Error, Question };
enum class MsgAnswer { Ok, Cancel, Yes, No };

class IDialogSeam {
public:
    virtual ~IDialogSeam() = default;
    // A modal message box with fixed English text.
    virtual MsgAnswer MessageBox(const std::string& text, const std::string& caption,
                                 MsgButtons buttons, MsgIcon icon) = 0;
    // A file-open or file-save dialog; returns false when cancelled. On
    // entry `path` is where the dialog opens: empty (the dialog's own
    // choice), a folder, or a file in a folder, whose name it proposes. On
    // OK `path` is the chosen file.
    virtual bool OpenFileName(const std::string& title, const std::string& filter,
                              std::string& path) = 0;
    virtual bool SaveFileName(const std::string& title, const std::string& filter,
                              const std::string& defaultExt, std::string& path) = 0;
};
