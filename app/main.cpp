// zev: the Clipwright window.
#include <QApplication>
#include <csignal>
#include <cstdio>
#include <cstdlib>

#include "app/preview_pane_adapter.h"
#include "ui/qt_dialogs.h"
#include "app/zev_app.h"
#include "app/command_line.h"
#include "platform/win/trace.h"

int main(int argc, char** argv) {
    const ZevCommandLine options = ReadZevCommandLine(argc, argv, std::getenv("ZEV_TRACE"));
    if (options.help) {
        std::fputs(ZevUsageText().c_str(), stdout);
        return 0;
    }
    // Started from a desktop launcher, standard output is the user's journal:
    // the converters' trace goes there only when asked for.
    SetTraceEnabled(options.trace);
    // A reader of standard output that goes away must not end the program.
    std::signal(SIGPIPE, SIG_IGN);
    QApplication qapp(argc, argv);
    CQtDialogs dialogs;
    CZevApp app(dialogs, [&dialogs](QWidget* parent) -> IPreviewPane* {
        return new CPreviewPaneAdapter(dialogs, parent);
    });
    if (!app.InitInstance(QApplication::arguments())) return 0;
    dialogs.SetParent(app.Frame());
    const int result = QApplication::exec();
    app.ExitInstance();
    return result;
}
