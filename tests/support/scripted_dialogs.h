// The one dialog seam of the tests: it answers from the script each test
// writes and remembers what it was asked. There are no default answers: a
// message box or a file dialog that the test did not script fails the test,
// naming it, and is answered as if the user closed it (Cancel, No, or the
// dialog cancelled) so that the code under test goes on.
#pragma once

#include <gtest/gtest.h>

#include <deque>
#include <string>
#include <vector>

#include "platform/win/dialog_seam.h"

class ScriptedDialogs : public IDialogSeam {
public:
    struct Box {
        std::string text;
        std::string caption;
        MsgButtons buttons;
    };

    // Answers for the next message boxes, in order.
    std::deque<MsgAnswer> answers;
    // Paths for the next open and save dialogs, in order; "" cancels one.
    std::deque<std::string> openPaths;
    std::deque<std::string> savePaths;

    std::vector<Box> boxes;  // every message box shown
    int openDialogs = 0;
    int saveDialogs = 0;
    std::string lastSaveFilter, lastSaveExt;
    std::string lastSaveProposal;  // the path the last save dialog opened with

    // The texts of the boxes shown, in order.
    std::vector<std::string> Texts() const {
        std::vector<std::string> texts;
        for (const Box& b : boxes) texts.push_back(b.text);
        return texts;
    }

    MsgAnswer MessageBox(const std::string& text, const std::string& caption, MsgButtons buttons,
                         MsgIcon) override {
        boxes.push_back({text, caption, buttons});
        if (answers.empty()) {
            ADD_FAILURE() << "a message box the test did not script: \"" << text << "\"";
            return buttons == MsgButtons::YesNo ? MsgAnswer::No : MsgAnswer::Cancel;
        }
        const MsgAnswer a = answers.front();
        answers.pop_front();
        return a;
    }
    bool OpenFileName(const std::string&, const std::string&, std::string& path) override {
        ++openDialogs;
        return Next(openPaths, path, "open");
    }
    bool SaveFileName(const std::string&, const std::string& filter, const std::string& ext,
                      std::string& path) override {
        ++saveDialogs;
        lastSaveFilter = filter;
        lastSaveExt = ext;
        lastSaveProposal = path;
        return Next(savePaths, path, "save");
    }

private:
    static bool Next(std::deque<std::string>& queue, std::string& path, const char* kind) {
        if (queue.empty()) {
            ADD_FAILURE() << "a file " << kind << " dialog the test did not script";
            return false;
        }
        path = queue.front();
        queue.pop_front();
        return !path.empty();
    }
};
