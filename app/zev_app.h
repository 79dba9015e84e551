// The application: one copy per user, the recent-file list in the per-user
// settings, the main frame, the About box and help; SIGTERM, SIGHUP and
// SIGINT end it as closing its window does, a running job stopped first.
#pragma once

#include <QObject>
#include <QPointer>
#include <QSettings>
#include <QStringList>
#include <functional>
#include <memory>
#include <string>

#include "app/help_window.h"
#include "app/main_frame.h"

class CDesktopBus;
class CRecentFileList;
class CSingleInstance;
class CTerminationSignals;
class IDialogSeam;
class IPreviewPane;

class CZevApp : public QObject {
    Q_OBJECT

public:
    // `dialogs` is borrowed; `makePreview` builds the upper pane.
    CZevApp(IDialogSeam& dialogs, std::function<IPreviewPane*(QWidget*)> makePreview);
    ~CZevApp() override;

    // Start-up with the program's arguments (after Qt took its own): false
    // when another copy runs; it has been brought to the front and given
    // the file argument.
    bool InitInstance(const QStringList& args);
    void ExitInstance();

    // A recent file chosen, or a file given to the program.
    void OpenDocumentFile(const QString& path);
    void ShowAbout();
    void ShowHelp();

    CMainFrame* Frame() const { return m_pFrame.get(); }
    CHelpWindow* HelpWindow() const { return m_pHelp; }
    CRecentFileList* RecentFiles() const { return m_pRecent.get(); }
    // Overrides for tests: converter library names and the finishing wait.
    MainFrameServices& Services() { return m_services; }

private:
    void BringToFront();

    IDialogSeam& m_dialogs;
    MainFrameServices m_services;
    QSettings m_settings;
    std::unique_ptr<CRecentFileList> m_pRecent;
    std::unique_ptr<CDesktopBus> m_pDesktop;
    std::unique_ptr<CSingleInstance> m_pInstance;
    std::unique_ptr<CMainFrame> m_pFrame;
    std::unique_ptr<CTerminationSignals> m_pSignals;
    QPointer<CHelpWindow> m_pHelp;
};

// The directory of the running program.
std::string ProgramDirectory();
