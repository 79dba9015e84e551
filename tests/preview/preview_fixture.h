// A preview window on generated media, driven as a user drives it: toolbar
// clicks, typed times, answers to its questions through a scripted dialog
// seam.
#pragma once

#include <QAction>
#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "platform/win/dialog_seam.h"
#include "preview/preview_wnd.h"
#include "preview/time_field.h"

class ScriptedDialogs : public IDialogSeam {
public:
    struct Box {
        std::string text;
        std::string caption;
        MsgButtons buttons;
    };
    std::vector<Box> boxes;
    MsgAnswer answer = MsgAnswer::No;
    std::string openPath;  // empty: the open dialog is cancelled

    MsgAnswer MessageBox(const std::string& text, const std::string& caption, MsgButtons buttons,
                         MsgIcon) override {
        boxes.push_back({text, caption, buttons});
        return answer;
    }
    bool OpenFileName(const std::string&, const std::string&, std::string& path) override {
        if (openPath.empty()) return false;
        path = openPath;
        return true;
    }
    bool SaveFileName(const std::string&, const std::string&, const std::string&,
                      std::string&) override {
        return false;
    }
};

// Makes a clip with ffmpeg from lavfi sources; fails the test when it can't.
// `video` and `audio` are lavfi source descriptions (empty: none).
std::string MakeMedia(const QTemporaryDir& dir, const std::string& name, const std::string& video,
                      const std::string& audio, const std::string& codecs);

class PreviewFixture : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // Waits (running the event loop) until `done` or `ms` pass.
    bool WaitFor(const std::function<bool()>& done, int ms);
    void Click(int command);
    // Types "HH:MM:SS" into a field's boxes and moves the focus away.
    void TypeTime(int field, const char* hms);
    QString FieldText(int field) const { return wnd->Field(field)->Text(); }
    // Play / Pause / Stop as (checked, enabled) pairs.
    std::string Buttons() const;
    double GraphPosition() const;

    static std::string Clip90();     // 90.7 s, small picture, with sound
    static std::string Clip3Half();  // 3.5 s
    static QTemporaryDir& Dir();

    ScriptedDialogs dialogs;
    CPreviewWnd* wnd = nullptr;
    QWidget* other = nullptr;  // takes the focus away from a field
};
