#include "app/main_frame.h"

#include <QAction>
#include <QGuiApplication>
#include <QLabel>
#include <QMenuBar>
#include <QScreen>
#include <QToolBar>

#include "app/job_panel.h"
#include "app/job_tab_ctrl.h"
#include "app/log_view.h"
#include "ui/pane_splitter.h"
#include "app/preview_pane.h"
#include "app/recent_file_list.h"
#include "convert/common/program_names.h"
#include "ui/bitmaps.h"
#include "ui/menu_xp.h"
#include "ui/status_bar_xp.h"
#include "ui/toolbar_images.h"

namespace {

// Images of toolbar bitmap 141, left to right.
enum ToolbarImage {
    kImgLoad,
    kImgConvert,
    kImgClose,
    kImgAdd,
    kImgSave,
    kImgDel,
    kImgHelp,
    kImgAbout,
    kImgExit,
    kNoImage = -1
};

constexpr int kMinPane = 158;
constexpr int kBar = 3;

}  // namespace

CMainFrame::CMainFrame(MainFrameServices services, QWidget* parent)
    : QMainWindow(parent), m_services(std::move(services)), m_session(*this) {
    setWindowTitle(QString::fromLatin1(kFrameTitle));
    const QImage icon = LoadBitmapResource(bitmap_id::kAppIcon);
    if (!icon.isNull()) setWindowIcon(QPixmap::fromImage(icon));
    setAcceptDrops(true);

    m_progressTimer.setInterval(m_services.progressIntervalMs);
    m_closeRetryTimer.setInterval(1000);
    connect(&m_progressTimer, &QTimer::timeout, this, [this] { OnTimer(timer_id::kProgress); });
    connect(&m_closeRetryTimer, &QTimer::timeout, this, [this] { OnTimer(timer_id::kCloseRetry); });

    BuildMenusAndToolbar();
    BuildStatusBar();
    BuildClientArea();
    BuildKeys();
    SetMenuXPLook(this, true);

    resize(kWidth, kHeight);
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        const QRect desk = screen->availableGeometry();
        move(desk.center() - QPoint(kWidth / 2, kHeight / 2));
    }
}

CMainFrame::~CMainFrame() = default;

QAction* CMainFrame::MakeAction(unsigned id, const QString& text, const QString& prompt,
                                int image) {
    // Menu text "label\tkey"; prompt "status text\ntooltip".
    auto* action = new QAction(text.section(QLatin1Char('\t'), 0, 0), this);
    const QString key = text.section(QLatin1Char('\t'), 1);
    if (!key.isEmpty()) action->setShortcut(QKeySequence(key));
    action->setStatusTip(prompt.section(QLatin1Char('\n'), 0, 0));
    action->setToolTip(prompt.section(QLatin1Char('\n'), 1));
    if (image != kNoImage) {
        static const CToolbarImageList images = CToolbarImageList::FromStrip(
            LoadBitmapResource(bitmap_id::kToolbar), kToolbarImageSize);
        action->setIcon(images.Icon(image));
    }
    connect(action, &QAction::triggered, this, [this, id] { SendCommand(id); });
    m_actions.insert(id, action);
    return action;
}

void CMainFrame::BuildMenusAndToolbar() {
    QAction* load = MakeAction(cmd::kLoadFile, QStringLiteral("&Load File\tF2"),
                               QStringLiteral("Load File\n Load File"), kImgLoad);
    QAction* convert = MakeAction(cmd::kConvert, QStringLiteral("Con&vert...\tF7"),
                                  QStringLiteral("Convert\n Convert"), kImgConvert);
    QAction* close = MakeAction(cmd::kCloseFile, QStringLiteral("&Close File\tF4"),
                                QStringLiteral("Close File\n Close File"), kImgClose);
    QAction* exit = MakeAction(
        cmd::kExit, QStringLiteral("E&xit"),
        QStringLiteral("Quit the application; prompts to save documents\nExit"), kImgExit);
    QAction* add = MakeAction(cmd::kAddProfile, QStringLiteral("Add\tF10"),
                              QStringLiteral("Add Profile\nAdd Profile"), kImgAdd);
    QAction* save =
        MakeAction(cmd::kSaveProfile, QStringLiteral("Save\tF11"),
                   QStringLiteral("Save change in profile\nSave changes in profile"), kImgSave);
    QAction* del = MakeAction(cmd::kDeleteProfile, QStringLiteral("Del\tF12"),
                              QStringLiteral("Delete this profile\nDelete this profile"), kImgDel);
    QAction* help = MakeAction(cmd::kHelp, QStringLiteral("&Help\tF1"),
                               QStringLiteral("Displays support information\nHelp"), kImgHelp);
    QAction* about = MakeAction(
        cmd::kAbout, QStringLiteral("&About %1...").arg(QString::fromLatin1(kAppName)),
        QStringLiteral("Display program information, version number and copyright\nAbout"),
        kImgAbout);

    m_pFileMenu = menuBar()->addMenu(QStringLiteral("&File"));
    m_pFileMenu->addActions({load, convert, close});
    m_pFileMenu->addSeparator();
    m_pRecentAnchor = m_pFileMenu->addAction(QStringLiteral("Recent File"));
    m_pRecentAnchor->setEnabled(false);
    m_pFileMenu->addSeparator();
    m_pFileMenu->addAction(exit);
    connect(m_pFileMenu, &QMenu::aboutToShow, this, [this] {
        UpdateCommandUI();
        RebuildRecentItems();
    });
    RebuildRecentItems();

    QMenu* profile = menuBar()->addMenu(QStringLiteral("Profile"));
    profile->addActions({add, save, del});
    QMenu* helpMenu = menuBar()->addMenu(QStringLiteral("&Help"));
    helpMenu->addActions({help, about});

    m_pToolBar = addToolBar(QStringLiteral("Standard"));
    m_pToolBar->setObjectName(QStringLiteral("Standard"));
    m_pToolBar->setMovable(false);
    m_pToolBar->setFloatable(false);
    m_pToolBar->setIconSize(QSize(kToolbarImageSize, kToolbarImageSize));
    m_pToolBar->addActions({load, convert, close});
    m_pToolBar->addSeparator();
    m_pToolBar->addActions({add, save, del});
    m_pToolBar->addSeparator();
    m_pToolBar->addActions({help, about});
    m_pToolBar->addSeparator();
    m_pToolBar->addAction(exit);
}

void CMainFrame::RebuildRecentItems() {
    for (QAction* item : m_recentItems) {
        m_pFileMenu->removeAction(item);
        item->deleteLater();
    }
    m_recentItems.clear();
    const QStringList items =
        m_services.recentFiles ? m_services.recentFiles->Items() : QStringList();
    m_pRecentAnchor->setVisible(items.isEmpty());
    for (int i = 0; i < items.size(); ++i) {
        auto* item = new QAction(QStringLiteral("&%1 %2").arg(i + 1).arg(items[i]), this);
        const std::string path = items[i].toStdString();
        connect(item, &QAction::triggered, this, [this, path] { OpenFileByPath(path); });
        m_pFileMenu->insertAction(m_pRecentAnchor, item);
        m_recentItems << item;
    }
}

void CMainFrame::BuildStatusBar() {
    m_pStatus = new CStatusBarXP(this);
    m_pStatus->SetIndicators({QStringLiteral("Ready"), QStringLiteral(" CAP "),
                              QStringLiteral(" NUM "), QStringLiteral(" SCRL ")});
    // What the indicators stand for, for assistive tools.
    m_pStatus->Pane(1)->setAccessibleName(QStringLiteral("Caps Lock"));
    m_pStatus->Pane(2)->setAccessibleName(QStringLiteral("Num Lock"));
    m_pStatus->Pane(3)->setAccessibleName(QStringLiteral("Scroll Lock"));
    setStatusBar(m_pStatus);
}

void CMainFrame::BuildClientArea() {
    m_pSplitter = new CPaneSplitter(2, CPaneSplitter::kStacked, kMinPane, kBar, this);
    setCentralWidget(m_pSplitter);
    m_pSplitter->SetProportions({70, 30});

    m_pPreview = m_services.makePreview(m_pSplitter);
    m_pSplitter->AddPane(0, m_pPreview->Widget());
    m_pTabs = new CJobTabCtrl(m_pSplitter);
    m_pTabs->setObjectName(QStringLiteral("JobTabs"));

    m_pJobPanel = new CJobPanel(*this, *m_services.dialogs, m_services.recentFiles);
    m_pLogView = new CLogView();
    m_pTabs->addTab(m_pJobPanel, QStringLiteral("Job Commands"));
    m_pTabs->addTab(m_pLogView, QStringLiteral("Job Logs"));
    m_pTabs->setCurrentIndex(0);
    m_pSplitter->AddPane(1, m_pTabs, CPaneSplitter::kTabControlId);
    connect(m_pSplitter, &CPaneSplitter::TabSelectionChanged, this,
            [this](int, int index) { OnTabChanged(index); });

    m_pLogView->AppendLine(std::string("Welcome! Press F1 or visit ") + kMakerWebAddress +
                           " to get help\r\n");
}

void CMainFrame::OnTabChanged(int index) {
    m_pLogView->setVisible(index != 0);
    m_pJobPanel->setVisible(index == 0);
}

void CMainFrame::UpdateCommandUI() {
    const bool enabled = FileCommandsEnabled();
    for (unsigned id : {cmd::kLoadFile, cmd::kCloseFile, cmd::kConvert})
        if (QAction* a = m_actions.value(id)) a->setEnabled(enabled);
}
