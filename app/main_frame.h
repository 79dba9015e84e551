// The program's only top-level window: menu, toolbar, flat status bar, and a
// pane splitter with the preview above and the job tabs below. It gathers a
// job's source, destination, range and profile record and runs the job
// session on the UI thread as the session's host (main_frame_job.cpp); the
// log path and the command table are in main_frame_commands.cpp, the keys
// and the focus between the panes in main_frame_keys.cpp.
#pragma once

#include <QElapsedTimer>
#include <QHash>
#include <QKeySequence>
#include <QMainWindow>
#include <QPointer>
#include <QTimer>
#include <functional>
#include <string>

#include "app/command_ids.h"
#include "job/job_session.h"

class CJobPanel;
class CJobTabCtrl;
class CLogView;
class CPaneSplitter;
class CRecentFileList;
class CStatusBarXP;
class IDesktopSignals;
class IDialogSeam;
class IPreviewPane;
class QAction;
class QMenu;
class QToolBar;

// What the frame is given; everything borrowed outlives the frame.
struct MainFrameServices {
    IDialogSeam* dialogs = nullptr;
    // Makes the upper pane as a child of `parent`; the frame owns it.
    std::function<IPreviewPane*(QWidget* parent)> makePreview;
    CRecentFileList* recentFiles = nullptr;  // may be null: no list
    IDesktopSignals* desktop = nullptr;      // may be null: the desktop is told nothing
    std::function<void()> showAbout;
    std::function<void()> showHelp;
    // The converter libraries, by file name, tried in this order.
    std::string primaryLibrary = kConverterLibrary9;
    std::string fallbackLibrary = kConverterLibrary8;
    // How long the finished job's 100 % stays.
    int finishWaitMs = 1000;
    // Period of the progress timer (136); tests shorten it.
    int progressIntervalMs = 1000;
    // Ends the program once EndOnSignal has closed the window; empty:
    // QCoreApplication::quit.
    std::function<void()> endProgram;
};

class CMainFrame : public QMainWindow, public ICommandTarget, private IJobHost {
    Q_OBJECT

public:
    static constexpr int kWidth = 935;
    static constexpr int kHeight = 697;

    explicit CMainFrame(MainFrameServices services, QWidget* parent = nullptr);
    ~CMainFrame() override;

    // A command from a child window, the menu, the toolbar or the engine.
    // 32771 to 32773 are dropped while disabled.
    void SendCommand(unsigned id) override;
    bool IsCommandEnabled(unsigned id) const;

    void OpenFileByPath(const std::string& path);

    // A termination signal: as closing the window, with nobody there to
    // answer. Open dialogs are dismissed, a running job stops the ordinary
    // way (its file closed and tagged), the window closes as soon as no job
    // runs, and then the program ends.
    void EndOnSignal();

    // The job's phase and progress are the session's.
    const CJobSession& Session() const { return m_session; }

    CJobPanel* JobPanel() const { return m_pJobPanel; }
    CLogView* LogView() const { return m_pLogView; }
    CJobTabCtrl* Tabs() const { return m_pTabs; }
    CStatusBarXP* StatusBar() const { return m_pStatus; }
    CPaneSplitter* Splitter() const { return m_pSplitter; }
    IPreviewPane* Preview() const { return m_pPreview; }
    QAction* Action(unsigned id) const { return m_actions.value(id); }
    QToolBar* ToolBar() const { return m_pToolBar; }
    QMenu* FileMenu() const { return m_pFileMenu; }

signals:
    // After each progress tick and its command update, with the text the
    // status bar shows.
    void ProgressShown(const QString& text);
    void JobFinished();

protected:
    bool event(QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    // main_frame.cpp
    void BuildMenusAndToolbar();
    void BuildStatusBar();
    void BuildClientArea();
    QAction* MakeAction(unsigned id, const QString& text, const QString& prompt, int image);
    void RebuildRecentItems();
    void OnTabChanged(int index);
    void UpdateCommandUI();

    // main_frame_commands.cpp
    void OnLoadFile();
    void OnCloseFile();
    void AcceptSource();
    // Load File, Close File and Convert: not while a job reports progress.
    bool FileCommandsEnabled() const;
    // A log line to the log view (time-stamped) and the status bar.
    void ShowLogLine(const std::string& text);

    // main_frame_keys.cpp
    void BuildKeys();
    // A preview key: nothing while a job is under way.
    QAction* AddPreviewKey(const QKeySequence& key, std::function<void()> action);
    // F6 and Shift+F6.
    void MovePaneFocus(bool next);

    // main_frame_job.cpp
    void OnConvertRequested();
    bool GatherSource(std::string& source);
    void RunJob(const std::string& source, const std::string& destination);
    void OnTimer(int id);
    // The launcher's progress goes; a notification when the window is not
    // the active one.
    void TellDesktopJobEnded(JobOutcome outcome, const std::string& destination);
    // IJobHost
    void LogLine(const std::string& line, JobLine kind) override;
    void ShowProgress(int percent, int spinner) override;
    void Tell(const JobRefusal& refusal) override;
    bool Ask(const JobQuestion& question) override;
    bool StopRequested() const override { return m_bEnding; }
    void Finishing(JobOutcome outcome) override;

    MainFrameServices m_services;
    CStatusBarXP* m_pStatus = nullptr;
    QToolBar* m_pToolBar = nullptr;
    QMenu* m_pFileMenu = nullptr;
    QAction* m_pRecentAnchor = nullptr;
    QList<QAction*> m_recentItems;
    QHash<unsigned, QAction*> m_actions;
    CPaneSplitter* m_pSplitter = nullptr;
    IPreviewPane* m_pPreview = nullptr;
    CJobTabCtrl* m_pTabs = nullptr;
    CJobPanel* m_pJobPanel = nullptr;
    CLogView* m_pLogView = nullptr;
    // The control of each pane that had the focus last, for F6 to go back to.
    QPointer<QWidget> m_paneFocus[2];

    CJobSession m_session;
    bool m_bCloseRetry = false;
    bool m_bProgressShown = false;  // by the tick being handled
    bool m_bJobFinished = false;    // the job reached Convert and came back
    bool m_bEnding = false;         // a termination signal came
    int m_nLauncherPercent = -1;    // last progress shown on the launcher; -1: none
    QTimer m_progressTimer;
    QTimer m_closeRetryTimer;
    QElapsedTimer m_jobClock;
};
