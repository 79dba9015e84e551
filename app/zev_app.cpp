#include "app/zev_app.h"

#include <QApplication>
#include <QFileInfo>

#include "app/about_dialog.h"
#include "app/desktop_bus.h"
#include "app/help_window.h"
#include "app/recent_file_list.h"
#include "app/single_instance.h"
#include "convert/common/program_names.h"
#include "platform/help/chm_reader.h"
#include "platform/win/dialog_seam.h"
#include "ui/menu_xp.h"
#include "ui/termination_signals.h"

std::string ProgramDirectory() {
    return QCoreApplication::applicationDirPath().toStdString();
}

CZevApp::CZevApp(IDialogSeam& dialogs, std::function<IPreviewPane*(QWidget*)> makePreview)
    : m_dialogs(dialogs),
      m_settings(QSettings::NativeFormat, QSettings::UserScope, QString::fromLatin1(kMakerName),
                 QString::fromLatin1(kAppName)) {
    m_services.dialogs = &m_dialogs;
    m_services.makePreview = std::move(makePreview);
}

CZevApp::~CZevApp() {
    m_pSignals.reset();
    m_pFrame.reset();
    delete m_pHelp;
}

bool CZevApp::InitInstance(const QStringList& args) {
    QString file;
    for (int i = 1; i < args.size(); ++i) {
        if (!args[i].startsWith(QLatin1Char('-'))) {
            file = QFileInfo(args[i]).absoluteFilePath();
            break;
        }
    }
    // From before the copy is known to others: a signal is then kept until
    // the window can take it.
    m_pSignals = std::make_unique<CTerminationSignals>();
    // One copy per user and settings file, whatever the window's title.
    m_pInstance = std::make_unique<CSingleInstance>(m_settings.fileName());
    if (!m_pInstance->ClaimOrForward(file)) return false;

    QCoreApplication::setOrganizationName(QString::fromLatin1(kMakerName));
    QCoreApplication::setApplicationName(QString::fromLatin1(kAppName));
    m_pRecent = std::make_unique<CRecentFileList>(&m_settings);
    m_services.recentFiles = m_pRecent.get();
    m_pDesktop = std::make_unique<CDesktopBus>();
    m_services.desktop = m_pDesktop.get();
    m_services.showAbout = [this] { ShowAbout(); };
    m_services.showHelp = [this] { ShowHelp(); };

    InstallMenuXP();
    m_pFrame = std::make_unique<CMainFrame>(m_services);
    m_pFrame->show();
    // A signal that came since start-up is taken from here on.
    connect(m_pSignals.get(), &CTerminationSignals::Received, m_pFrame.get(),
            &CMainFrame::EndOnSignal);
    connect(m_pInstance.get(), &CSingleInstance::Activated, this, [this](const QString& path) {
        BringToFront();
        if (!path.isEmpty()) OpenDocumentFile(path);
    });
    if (!file.isEmpty()) OpenDocumentFile(file);
    return true;
}

void CZevApp::ExitInstance() {
    RemoveMenuXP();
}

void CZevApp::BringToFront() {
    m_pFrame->setWindowState(m_pFrame->windowState() & ~Qt::WindowMinimized);
    m_pFrame->show();
    m_pFrame->raise();
    m_pFrame->activateWindow();
}

void CZevApp::OpenDocumentFile(const QString& path) {
    // The entry stays in the list even when the load fails or is refused.
    m_pFrame->OpenFileByPath(path.toStdString());
}

void CZevApp::ShowAbout() {
    CAboutDlg about(m_pFrame.get());
    about.exec();
}

void CZevApp::ShowHelp() {
    // chmlib is tried once; without it help does nothing.
    if (!ChmLibraryAvailable()) return;
    if (!m_pHelp) m_pHelp = new CHelpWindow();
    if (!m_pHelp->ShowTopic(ProgramHelpPath(ProgramDirectory()))) {
        // A missing help file or chmlib: help does nothing, and no message.
        if (!m_pHelp->isVisible()) {
            delete m_pHelp;
        }
        return;
    }
    m_pHelp->show();
    m_pHelp->raise();
    m_pHelp->activateWindow();
}
