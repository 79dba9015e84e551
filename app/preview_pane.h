// What the main frame needs from the upper pane: the preview window with its
// time range and, beside it, the output settings panel. The frame owns the
// pane's widget through the splitter; all calls on the UI thread.
#pragma once

#include <string>

#include "profiles/profile_record.h"

class QWidget;

class IPreviewPane {
public:
    virtual ~IPreviewPane() = default;

    virtual QWidget* Widget() = 0;

    // Runs the open dialog and loads the chosen file.
    virtual void LoadFile() = 0;
    // Loads `path` without a dialog; a file that cannot be played leaves
    // GetSourcePath empty and LastLoadResult non-zero.
    virtual void OpenFile(const std::string& path) = 0;
    virtual void CloseFile() = 0;
    virtual std::string GetSourcePath() const = 0;
    // 0 when the last load succeeded.
    virtual long LastLoadResult() const = 0;
    // The job's range in whole seconds.
    virtual unsigned GetBeginTime() const = 0;
    virtual unsigned GetEndTime() const = 0;
    // The window is closing: the preview skips its final release.
    virtual void SetClosing() = 0;

    // The window's keys, by the paths the pointer takes: the Play or Pause
    // button, a mark at the play position (refused past the other end of
    // the range), a seek by whole seconds, a jump to the range's begin or
    // end. Nothing happens without a loaded source.
    virtual void PlayOrPause() = 0;
    virtual void MarkBegin() = 0;
    virtual void MarkEnd() = 0;
    virtual void SeekBy(int seconds) = 0;
    virtual void SeekToBegin() = 0;
    virtual void SeekToEnd() = 0;

    // The output settings panel: the converter record of the selected
    // profile (video bit rate in bits per second) and the profile commands.
    virtual ProfileRecord ConverterRecord() = 0;
    virtual void AddProfile() = 0;
    virtual void SaveProfile() = 0;
    virtual void DeleteProfile() = 0;
};
