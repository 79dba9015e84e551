// zev: the Clipwright window.
#include <QApplication>

#include "app/placeholder_preview.h"
#include "app/qt_dialog_seam.h"
#include "app/zev_app.h"
#include "profiles/profile_location.h"

int main(int argc, char** argv) {
    QApplication qapp(argc, argv);
    CQtDialogSeam dialogs;
    CZevApp app(dialogs, [&dialogs](QWidget* parent) -> IPreviewPane* {
        return new CPlaceholderPreview(dialogs, ResolveProfilePath(ProgramDirectory()), parent);
    });
    if (!app.InitInstance(QApplication::arguments())) return 0;
    dialogs.SetParent(app.Frame());
    const int result = QApplication::exec();
    app.ExitInstance();
    return result;
}
