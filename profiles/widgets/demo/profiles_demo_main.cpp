// Shows the output settings panel alone, with the audio formats of the
// installed runtime and a copy of the default profile.cfg in a temporary
// folder (or the file given with --cfg, used in place), so that it can be
// looked at and tried.
//
//   profiles-demo [--cfg FILE] [--size WxH] [--add-dialog]
//
// --add-dialog opens the "Add New Profile" dialog as soon as the panel shows.

#include <QApplication>
#include <QFile>
#include <QTemporaryDir>
#include <QTimer>
#include <cstdio>

#include "profiles/widgets/output_settings_panel.h"
#include "ui/qt_dialogs.h"

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QString cfg;
    QSize size(426, 560);  // a third of a 1280-pixel preview window, its pane's height
    bool openDialog = false;
    const QStringList args = QApplication::arguments();
    for (int i = 1; i < args.size(); ++i) {
        if (args[i] == "--cfg" && i + 1 < args.size()) cfg = args[++i];
        if (args[i] == "--size" && i + 1 < args.size()) {
            const QStringList wh = args[++i].split(QLatin1Char('x'));
            if (wh.size() == 2) size = QSize(wh[0].toInt(), wh[1].toInt());
        }
        if (args[i] == "--add-dialog") openDialog = true;
    }

    QTemporaryDir dir;
    if (cfg.isEmpty()) {
        if (!dir.isValid()) {
            std::fprintf(stderr, "cannot make a temporary folder\n");
            return 1;
        }
        cfg = dir.filePath(QStringLiteral("profile.cfg"));
        QFile::copy(QStringLiteral(ZEV_DEFAULT_PROFILE_CFG), cfg);
        QFile(cfg).setPermissions(QFile::ReadOwner | QFile::WriteOwner);
    }
    std::printf("profile.cfg: %s\n", qPrintable(cfg));

    CQtDialogs dialogs;
    COutputSettingsPanel panel(cfg.toLocal8Bit().toStdString(), dialogs);
    panel.setWindowTitle(QStringLiteral("Output Settings"));
    panel.resize(size);
    panel.show();
    if (openDialog) QTimer::singleShot(300, &panel, [&panel] { panel.Add(); });
    return app.exec();
}
