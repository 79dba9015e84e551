// Shows the preview pane on its own, to look at: preview-demo FILE
// [--play] [--range BEGIN END] [--seconds N]. Message boxes print to the
// terminal and answer No; the window closes after N seconds (default 30).
#include <QApplication>
#include <QTimer>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include <QAction>

#include "preview/preview_wnd.h"

namespace {

class PrintingDialogs : public IDialogSeam {
public:
    MsgAnswer MessageBox(const std::string& text, const std::string& caption, MsgButtons,
                         MsgIcon) override {
        std::printf("[%s] %s\n", caption.c_str(), text.c_str());
        return MsgAnswer::No;
    }
    bool OpenFileName(const std::string&, const std::string&, std::string&) override {
        return false;
    }
    bool SaveFileName(const std::string&, const std::string&, const std::string&,
                      std::string&) override {
        return false;
    }
};

}  // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    if (argc < 2) {
        std::fprintf(stderr, "usage: preview-demo FILE [--play] [--range B E] [--seconds N]\n");
        return 2;
    }
    bool play = false;
    int begin = -1, end = -1, seconds = 30;
    for (int i = 2; i < argc; ++i) {
        if (!std::strcmp(argv[i], "--play")) play = true;
        if (!std::strcmp(argv[i], "--range") && i + 2 < argc) {
            begin = std::atoi(argv[i + 1]);
            end = std::atoi(argv[i + 2]);
        }
        if (!std::strcmp(argv[i], "--seconds") && i + 1 < argc) seconds = std::atoi(argv[i + 1]);
    }
    PrintingDialogs dialogs;
    CPreviewWnd wnd(dialogs);
    wnd.setWindowTitle("Clipwright preview");
    wnd.resize(935, 480);
    wnd.show();
    QTimer::singleShot(100, &wnd, [&] {
        wnd.OpenFile(argv[1]);
        QTimer::singleShot(300, &wnd, [&] {
            if (begin >= 0 && end >= begin) {
                // As typed into the fields.
                wnd.Range().SetEnd(static_cast<unsigned>(end));
                wnd.Range().SetBegin(static_cast<unsigned>(begin));
            }
            if (play) wnd.ToolbarAction(ID_PLAY)->trigger();
        });
    });
    QTimer::singleShot(seconds * 1000, &app, &QApplication::quit);
    return app.exec();
}
