// Shows the toolkit's look: a window with the flat menus, the toolbar built
// from bitmap 141 with its three image sets, hover buttons and the flat
// status bar.
//
//   ui-demo [--open-menu N] [--highlight N] [--screenshot FILE]
//
// --open-menu opens the Nth menu of the bar (0: File), --highlight moves the
// highlight to its Nth item, --screenshot saves the screen to FILE a moment
// later and quits (for screenshots under xvfb-run).

#include <QAction>
#include <QActionGroup>
#include <QApplication>
#include <QLabel>
#include <QMainWindow>
#include <QMenuBar>
#include <QScreen>
#include <QTimer>
#include <QToolBar>
#include <QVBoxLayout>
#include <cstdio>
#include <cstring>

#include "convert/common/program_names.h"
#include "ui/bitmaps.h"
#include "ui/hover_button.h"
#include "ui/menu_xp.h"
#include "ui/status_bar_xp.h"
#include "ui/toolbar_images.h"

namespace {

struct DemoOptions {
    int openMenu = -1;
    int highlight = -1;
    QString screenshot;
};

DemoOptions ParseOptions(const QStringList& args) {
    DemoOptions options;
    for (int i = 1; i + 1 < args.size(); i += 2) {
        if (args[i] == "--open-menu") options.openMenu = args[i + 1].toInt();
        if (args[i] == "--highlight") options.highlight = args[i + 1].toInt();
        if (args[i] == "--screenshot") options.screenshot = args[i + 1];
    }
    return options;
}

QAction* AddCommand(QMenu* menu, const QString& text, const QIcon& icon = {}) {
    QAction* action = menu->addAction(icon, text);
    return action;
}

CHoverButton* MakeButton(QWidget* parent, int normal, int pressed, int hover, const char* tip) {
    auto* button = new CHoverButton(parent);
    button->LoadBitmaps(normal, pressed, hover, 0);
    button->SetTipText(tip, static_cast<int>(std::strlen(tip)));
    button->setFixedSize(button->sizeHint());
    return button;
}

}  // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    const DemoOptions options = ParseOptions(app.arguments());
    InstallMenuXP();

    QMainWindow window;
    window.setWindowTitle(QString::fromLatin1(kFrameTitle));
    SetMenuXPLook(&window, true);

    const CToolbarImageList images =
        CToolbarImageList::FromStrip(LoadBitmapResource(bitmap_id::kToolbar), kToolbarImageSize);
    enum { kLoad, kConvert, kClose, kAdd, kSave, kDel, kHelp, kAbout, kExit };

    QMenu* file = window.menuBar()->addMenu(QStringLiteral("&File"));
    QAction* load = AddCommand(file, QStringLiteral("&Load File\tF2"), images.Icon(kLoad));
    QAction* convert = AddCommand(file, QStringLiteral("Con&vert...\tF7"), images.Icon(kConvert));
    QAction* close = AddCommand(file, QStringLiteral("&Close File\tF4"), images.Icon(kClose));
    close->setEnabled(false);
    file->addSeparator();
    QAction* recent = AddCommand(file, QStringLiteral("Recent File"));
    recent->setEnabled(false);
    file->addSeparator();
    QAction* exit = AddCommand(file, QStringLiteral("E&xit"), images.Icon(kExit));
    file->setDefaultAction(load);

    QMenu* profile = window.menuBar()->addMenu(QStringLiteral("Profile"));
    QAction* add = AddCommand(profile, QStringLiteral("Add\tF10"), images.Icon(kAdd));
    QAction* save = AddCommand(profile, QStringLiteral("Save\tF11"), images.Icon(kSave));
    QAction* del = AddCommand(profile, QStringLiteral("Del\tF12"), images.Icon(kDel));
    profile->addSeparator();
    QAction* keep = AddCommand(profile, QStringLiteral("&Keep aspect"));
    keep->setCheckable(true);
    keep->setChecked(true);
    auto* rates = new QActionGroup(profile);
    for (const char* rate : {"&Low rate", "&High rate"}) {
        QAction* a = AddCommand(profile, QString::fromLatin1(rate));
        a->setCheckable(true);
        rates->addAction(a)->setChecked(rate[1] == 'H');
    }

    QMenu* help = window.menuBar()->addMenu(QStringLiteral("&Help"));
    QAction* helpAction = AddCommand(help, QStringLiteral("&Help\tF1"), images.Icon(kHelp));
    QAction* about =
        AddCommand(help, QStringLiteral("&About %1...").arg(QString::fromLatin1(kAppName)),
                   images.Icon(kAbout));

    QToolBar* toolbar = window.addToolBar(QStringLiteral("Standard"));
    toolbar->setMovable(false);
    toolbar->setIconSize(QSize(kToolbarImageSize, kToolbarImageSize));
    for (QAction* a : {load, convert, close}) toolbar->addAction(a);
    toolbar->addSeparator();
    for (QAction* a : {add, save, del}) toolbar->addAction(a);
    toolbar->addSeparator();
    for (QAction* a : {helpAction, about}) toolbar->addAction(a);
    toolbar->addSeparator();
    toolbar->addAction(exit);
    QObject::connect(exit, &QAction::triggered, &window, &QWidget::close);

    auto* status = new CStatusBarXP(&window);
    status->SetIndicators({QStringLiteral("Ready"), QStringLiteral(" CAP "),
                           QStringLiteral(" NUM "), QStringLiteral(" SCRL ")});
    window.setStatusBar(status);

    auto* client = new QWidget(&window);
    client->setAutoFillBackground(true);
    QPalette white = client->palette();
    white.setColor(QPalette::Window, Qt::white);
    client->setPalette(white);
    auto* row = new QHBoxLayout(client);
    row->addWidget(MakeButton(client, bitmap_id::kConvertNormal, bitmap_id::kConvertPressed,
                              bitmap_id::kConvertHover, "Begin Convert"));
    row->addWidget(MakeButton(client, bitmap_id::kStopNormal, bitmap_id::kStopPressed,
                              bitmap_id::kStopHover, "Stop Converting"));
    row->addSpacing(20);
    row->addWidget(MakeButton(client, bitmap_id::kAddNormal, bitmap_id::kAddPressed,
                              bitmap_id::kAddHover, "Add Profile"));
    row->addWidget(MakeButton(client, bitmap_id::kDeleteNormal, bitmap_id::kDeletePressed,
                              bitmap_id::kDeleteHover, "Delete this profile"));
    row->addWidget(MakeButton(client, bitmap_id::kSaveNormal, bitmap_id::kSavePressed,
                              bitmap_id::kSaveHover, "Save changes"));
    row->addStretch(1);
    window.setCentralWidget(client);
    window.resize(560, 320);
    window.move(20, 20);
    window.show();

    const QList<QAction*> bar = window.menuBar()->actions();
    if (options.openMenu >= 0 && options.openMenu < bar.size()) {
        QTimer::singleShot(300, &window, [&window, &options, bar] {
            QMenu* menu = bar[options.openMenu]->menu();
            window.menuBar()->setActiveAction(bar[options.openMenu]);
            if (options.highlight >= 0 && options.highlight < menu->actions().size()) {
                QTimer::singleShot(200, menu, [menu, &options] {
                    menu->setActiveAction(menu->actions()[options.highlight]);
                });
            }
        });
    }
    if (!options.screenshot.isEmpty()) {
        QTimer::singleShot(1200, &app, [&options] {
            const QPixmap shot = QGuiApplication::primaryScreen()->grabWindow(0);
            if (!shot.save(options.screenshot)) {
                std::fprintf(stderr, "cannot write %s\n", qPrintable(options.screenshot));
            }
            QApplication::exit(0);
        });
    }
    const int result = app.exec();
    RemoveMenuXP();
    return result;
}
