// A preview window on generated media, driven as a user drives it: toolbar
// clicks, typed times, answers to its questions through a scripted dialog
// seam.
#pragma once

#include <QAction>
#include <QTest>
#include <QToolButton>
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "media_tools.h"
#include "preview/preview_wnd.h"
#include "preview/time_field.h"
#include "scripted_dialogs.h"

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
    static TempDir& Dir();
    // A small test-pattern clip with a tone (MPEG-4 and AAC) in Dir().
    static std::string SmallClip(const std::string& name, double seconds);

    ScriptedDialogs dialogs;
    CPreviewWnd* wnd = nullptr;
    QWidget* other = nullptr;  // takes the focus away from a field
};
