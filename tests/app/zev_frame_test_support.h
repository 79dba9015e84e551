// A main frame as the program builds it, with a scripted dialog seam and a
// recent-file list in a temporary settings file;
// generated clips shared by the tests of one suite.
#pragma once

#include <gtest/gtest.h>

#include <QSettings>
#include <QStringList>
#include <memory>
#include <string>

#include "app/main_frame.h"
#include "media_tools.h"
#include "scripted_dialogs.h"

class CPreviewPaneAdapter;
class CRecentFileList;

class FrameTest : public ::testing::Test {
protected:
    static void SetUpTestSuite();
    static void TearDownTestSuite();
    void SetUp() override;
    void TearDown() override;

    // Builds and shows the frame; `adjust` may change the services first.
    void MakeFrame(const std::function<void(MainFrameServices&)>& adjust = {});
    // Loads `clip` through the source browse button and the open dialog.
    void LoadThroughBrowse(const std::string& clip);
    // Sets the range as the range slider does.
    void SetRange(int begin, int end);
    // Clicks Convert, answering the destination question with `dest`.
    void ConvertTo(const std::string& dest);
    QStringList LogLines() const;
    bool LogHas(const QString& line) const;

    static inline std::unique_ptr<TempDir> s_media;
    static inline std::string s_clip;      // 4 s, 320 × 240
    static inline std::string s_longClip;  // 60 s, for stopping and closing

    TempDir m_dir;
    ScriptedDialogs m_dialogs;
    std::unique_ptr<QSettings> m_settings;
    std::unique_ptr<CRecentFileList> m_recent;
    std::unique_ptr<CMainFrame> m_frame;
    CPreviewPaneAdapter* m_preview = nullptr;
};
