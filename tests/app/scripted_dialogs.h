// A dialog seam that answers from a script and remembers what it was asked.
#pragma once

#include <deque>
#include <string>
#include <vector>

#include "platform/win/dialog_seam.h"

class ScriptedDialogs : public IDialogSeam {
public:
    // Answers for the next message boxes, in order; when none is left the
    // box is cancelled (No for Yes/No boxes).
    std::deque<MsgAnswer> answers;
    // Paths for the next open and save dialogs; empty string: cancelled.
    std::deque<std::string> openPaths;
    std::deque<std::string> savePaths;

    std::vector<std::string> messages;  // texts of every box shown
    int openDialogs = 0;
    int saveDialogs = 0;

    MsgAnswer MessageBox(const std::string& text, const std::string&, MsgButtons buttons,
                         MsgIcon) override {
        messages.push_back(text);
        if (answers.empty())
            return buttons == MsgButtons::YesNo ? MsgAnswer::No : MsgAnswer::Cancel;
        const MsgAnswer a = answers.front();
        answers.pop_front();
        return a;
    }
    bool OpenFileName(const std::string&, const std::string&, std::string& path) override {
        ++openDialogs;
        return Next(openPaths, path);
    }
    bool SaveFileName(const std::string&, const std::string& filter, const std::string& ext,
                      std::string& path) override {
        ++saveDialogs;
        lastSaveFilter = filter;
        lastSaveExt = ext;
        return Next(savePaths, path);
    }
    std::string lastSaveFilter, lastSaveExt;

private:
    static bool Next(std::deque<std::string>& queue, std::string& path) {
        if (queue.empty()) return false;
        path = queue.front();
        queue.pop_front();
        return !path.empty();
    }
};
