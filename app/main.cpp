// zev: the Clipwright window.
#include <QApplication>

#include "app/preview_pane_adapter.h"
#include "ui/qt_dialogs.h"
#include "app/zev_app.h"

int main(int argc, char** argv) {
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
