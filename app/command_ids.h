// Command identifiers of the main window, its job panel and the engine, and
// its timers. The job commands come from the converter contract.
#pragma once

#include "convert/common/convert_api.h"

namespace cmd {
constexpr unsigned kLoadFile = 32771;
constexpr unsigned kCloseFile = 32772;
constexpr unsigned kConvert = 32773;
constexpr unsigned kAddProfile = 32783;
constexpr unsigned kSaveProfile = 32784;
constexpr unsigned kDeleteProfile = 32785;
constexpr unsigned kHelp = 32787;
constexpr unsigned kRecentFile = 57616;
constexpr unsigned kAbout = 57664;
constexpr unsigned kExit = 57665;
// F6 and Shift+F6: the focus to the next or the previous pane.
constexpr unsigned kNextPane = 57680;
constexpr unsigned kPrevPane = 57681;
// The job panel's Convert: a conversion is asked for; the frame gathers
// and runs the job. The engine's log flushes go to the job session's window.
constexpr unsigned kRunJob = kCmdRunJob;
constexpr unsigned kStopJob = kCmdStopJob;
constexpr unsigned kEndTimeStop = kCmdEndTimeStop;
// The job panel's browse buttons.
constexpr unsigned kBrowseSource = 57101;
constexpr unsigned kBrowseDest = 57102;
// The tab control pane.
constexpr unsigned kTabControl = 57100;
}  // namespace cmd

namespace timer_id {
constexpr int kProgress = 136;    // 1000 ms while a job runs
constexpr int kCloseRetry = 137;  // 1000 ms after a close during a job
}  // namespace timer_id

// Receives the commands a child window sends to the main frame, synchronously.
class ICommandTarget {
public:
    virtual ~ICommandTarget() = default;
    virtual void SendCommand(unsigned id) = 0;
};
