// CPreviewWnd: the preview pane of the main window. Its left half shows the
// loaded source in a video rectangle with a transport toolbar (Play, Pause,
// Stop), the range slider and the "Start Time", "Current Time" and
// "End Time" fields under it. The range to convert and the play position
// live in its range model (Range()), which the slider and the fields
// observe and change; the window loads its defaults, reports the play
// position to it and seeks when it is asked to. The program puts the
// output settings panel over its right part (app/); the window knows
// nothing of it.
//
// Hosting it: construct it with the program's dialog seam (the open dialog,
// the unknown-format question and the word on a file that is missing, a
// folder or unreadable go through it; it must outlive the window) and a
// parent, and give it its geometry; it lays itself out on
// every resize. The host's thread must
// run a Qt event loop; the window drains the platform's posted messages
// itself (a CWinMessagePump of its own). Then:
//   LoadFile()              the "Load File" command: open dialog, then load
//   OpenFile(path)          load by path (UTF-8, up to 1023 bytes)
//   CloseFile()             close the media, empty the source path
//   GetSourcePath()         non-empty after a successful load
//   GetBeginTime(), GetEndTime()   the range, unsigned whole seconds
//   Range()                 the range model, to observe or to set the range
//   SetPreviewClosing(true) before the main window closes (after CloseFile)
//   LastLoadResult()        0 or the error code of the latest load
// and, for the program's keys, the pointer's paths taken from the keyboard:
//   PlayOrPause()           the Play button, or Pause while playing
//   MarkBegin(), MarkEnd()  the begin or the end at the play position,
//                           refused past the other as a handle is
//   SeekBy(seconds)         from the play position, within the source
//   SeekToBegin(), SeekToEnd()   to the range's begin or end
// Each does nothing until a source of known duration is loaded.
// The window sends nothing to its parent: the host reads the values above
// after the calls return. Everything runs on the user-interface thread; a
// load blocks it while the graph is built, a close for about half a second.
#pragma once

#include <QBasicTimer>
#include <QWidget>
#include <functional>
#include <string>

#include "convert/common/program_names.h"
#include "platform/win/dialog_seam.h"
#include "preview/preview_graph.h"
#include "preview/preview_messages.h"
#include "preview/range_model.h"

class QAction;
class QToolButton;
class CRangeSlider;
class CTimeField;
class CVideoPane;
class CWinMessagePump;

enum class PlayState : int {
    Ready = 0,       // loaded and stopped (also after the end of the media)
    Playing = 1,     // running, with the play timer
    Paused = 2,      // the user paused
    Stopped = 3,     // the user stopped, or the end time was reached
    NoMedia = 4,     // nothing loaded
    DragPaused = 5,  // paused because the slider's marker was grabbed
};

// The support page offered for unknown formats, on the maker's web address
// (kMakerWebAddress, one for the whole program).
std::string SupportPageAddress();

// The process-wide closing flag and last load result (see preview_graph.h).
void SetPreviewClosing(bool closing);
bool IsPreviewClosing();
int LastLoadResult();

class CPreviewWnd : public QWidget {
    Q_OBJECT

public:
    explicit CPreviewWnd(IDialogSeam& dialogs, QWidget* parent = nullptr);
    ~CPreviewWnd() override;

    void LoadFile();
    void OpenFile(const std::string& path);
    void CloseFile();
    const std::string& GetSourcePath() const { return m_szSourcePath; }
    unsigned GetBeginTime() const { return m_range.Begin(); }
    unsigned GetEndTime() const { return m_range.End(); }
    CRangeModel& Range() { return m_range; }
    const CRangeModel& Range() const { return m_range; }

    // How a confirmed support-page question opens the address; the desktop's
    // default browser unless replaced (tests record it instead).
    void SetUrlOpener(std::function<void(const std::string&)> opener);

    // The keys' operations (preview_playback.cpp).
    void PlayOrPause();
    void MarkBegin();
    void MarkEnd();
    void SeekBy(int seconds);
    void SeekToBegin();
    void SeekToEnd();

    // For the program's tests and benchmarks.
    HWND Handle() const { return m_hWnd; }
    PlayState GetPlayState() const { return m_nPlayState; }
    const std::string& StatusText() const { return m_szStatus; }
    QAction* ToolbarAction(int command) const;
    QToolButton* ToolbarButton(int command) const;
    CRangeSlider* Slider() const { return m_slider; }
    CTimeField* Field(int controlId) const;
    CVideoPane* VideoPane() const { return m_videoPane; }
    // The video rectangle in client coordinates.
    QRect VideoRect() const;

    // The window procedure of its handle: the graph's messages (the table
    // in preview_messages.h); anything else is passed on.
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam);

protected:
    void paintEvent(QPaintEvent* e) override;
    void resizeEvent(QResizeEvent* e) override;
    void mousePressEvent(QMouseEvent* e) override;
    void timerEvent(QTimerEvent* e) override;
    void closeEvent(QCloseEvent* e) override;

private:
    void CreateToolbar();
    void CloseMedia();
    void SetStatus(const std::string& text) { m_szStatus = text; }
    // Pressed and enabled states of Play, Pause and Stop.
    void SetButtons(bool playPressed, bool playEnabled, bool pausePressed, bool pauseEnabled,
                    bool stopEnabled);
    void OnCommand(int command);

    // Playback (preview_playback.cpp).
    void OnPlay();
    void OnPause();
    void OnStop();
    void OnTimerTick();
    void OnGraphReady(WPARAM wParam);
    void OnGraphEvent();
    void OnGraphError(int code);
    void SeekTo(unsigned seconds);
    void OnSeekRequested(unsigned seconds, SeekOrigin origin);
    void OnDragStart();
    // While playing, tells the range model where the player is now rather
    // than at the last tick, so that a key acts on the picture shown.
    void ReportPlayPosition();
    void StartPlayTimer();
    // Shows the picture at the current position while the graph does not
    // run: a stopped graph is paused (cued), a paused one shows the frame
    // of its last seek by itself.
    void CueFrame();

    CPreviewGraph m_graph;
    CRangeModel m_range;           // before the controls that observe it
    QWidget* m_toolbar = nullptr;  // flat buttons in a row, like the toolbar control
    CRangeSlider* m_slider = nullptr;
    CTimeField* m_beginField = nullptr;
    CTimeField* m_endField = nullptr;
    CTimeField* m_currentField = nullptr;
    std::string m_szSourcePath;
    HWND m_hNotifyWnd = nullptr;
    PlayState m_nPlayState = PlayState::NoMedia;
    std::string m_szStatus;

    IDialogSeam& m_dialogs;
    HWND m_hWnd = nullptr;  // the window's handle for the graph's messages
    CVideoPane* m_videoPane = nullptr;
    CWinMessagePump* m_pump = nullptr;
    QAction* m_actions[8] = {};
    QToolButton* m_buttons[8] = {};
    bool m_bPressed[8] = {};
    QBasicTimer m_playTimer;
    std::function<void(const std::string&)> m_openUrl;
};
