// Preview load and seek times: for each clip, the time from OpenFile until
// the window handled WM_GRAPH_READY and until the first picture was
// painted, and, paused, the time from a seek until the picture at the new
// position was painted. Prints figures; run by bench/preview-load.
//
//   preview-load-bench CLIP... [--rounds N]
#include <QAction>
#include <QApplication>
#include <QElapsedTimer>
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "preview/preview_wnd.h"
#include "preview/video_pane.h"

namespace {

class SilentDialogs : public IDialogSeam {
public:
    MsgAnswer MessageBox(const std::string& text, const std::string&, MsgButtons,
                         MsgIcon) override {
        std::fprintf(stderr, "message box: %s\n", text.c_str());
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

// Runs the event loop until `done` or the limit; milliseconds waited, or -1.
template <class F>
double Until(const QElapsedTimer& clock, F done, int limitMs = 10000) {
    while (!done()) {
        if (clock.elapsed() > limitMs) return -1;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    }
    return clock.nsecsElapsed() / 1e6;
}

double Median(std::vector<double> v) {
    if (v.empty()) return -1;
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

}  // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    std::vector<std::string> clips;
    int rounds = 5;
    for (int i = 1; i < argc; ++i) {
        if (!std::strcmp(argv[i], "--rounds") && i + 1 < argc)
            rounds = std::atoi(argv[++i]);
        else
            clips.push_back(argv[i]);
    }
    if (clips.empty()) {
        std::fprintf(stderr, "usage: preview-load-bench CLIP... [--rounds N]\n");
        return 2;
    }
    SilentDialogs dialogs;
    CPreviewWnd wnd(dialogs);
    wnd.resize(935, 480);
    wnd.show();
    QCoreApplication::processEvents();

    std::printf("%-22s %9s %9s %9s %13s %12s %12s\n", "clip", "build", "ready", "picture",
                "beyond-waits", "seek(cue)", "seek(paused)");
    for (const std::string& clip : clips) {
        std::vector<double> build, ready, picture, seekCue, seekPaused, waits;
        for (int r = 0; r < rounds; ++r) {
            // Closing happens before the clock runs. The load closes the
            // media again (500 ms, as the earlier graph's control interface
            // stays until the next build) and releases the earlier graph
            // (two 100 ms waits): the fixed waits that the figures beyond the
            // waits leave out.
            wnd.CloseFile();
            const bool earlierGraph = PreviewStateOf().pMediaControl != nullptr;
            const int paintedBefore = wnd.VideoPane()->FramesPainted();
            QElapsedTimer clock;
            clock.start();
            wnd.OpenFile(clip);
            waits.push_back(earlierGraph ? 700.0 : 0.0);
            build.push_back(clock.nsecsElapsed() / 1e6);
            ready.push_back(Until(clock, [&] { return wnd.GetPlayState() == PlayState::Ready; }));
            picture.push_back(
                Until(clock, [&] { return wnd.VideoPane()->FramesPainted() > paintedBefore; }));
            // Pictures carry stream times, which need not start at 0.
            double origin = 0;
            wnd.VideoPane()->Picture(&origin);

            // Play a moment, pause, then seek twice: the first seek after a
            // pause starts the graph again, the next one seeks a cued graph.
            wnd.ToolbarAction(ID_PLAY)->trigger();
            QElapsedTimer wait;
            wait.start();
            Until(wait, [&] { return wait.elapsed() > 300; });
            wnd.ToolbarAction(ID_PAUSE)->trigger();
            const unsigned duration = wnd.GetEndTime();
            for (int s = 0; s < 2; ++s) {
                // Odd seconds: between the key frames of the clips (every
                // 2 s), so the decoder has to work up to the picture.
                const unsigned target = ((s == 0 ? 2 : 1) * duration / 3) | 1u;
                const int before = wnd.VideoPane()->FramesPainted();
                clock.restart();
                // As the slider's marker asks for it.
                wnd.Range().Seek(target, SeekOrigin::Slider);
                const double ms = Until(clock, [&] {
                    double t = -1;
                    wnd.VideoPane()->Picture(&t);
                    return wnd.VideoPane()->FramesPainted() > before &&
                           std::fabs(t - origin - target) < 0.5;
                });
                (s == 0 ? seekCue : seekPaused).push_back(ms);
            }
        }
        const std::string name = clip.substr(clip.find_last_of('/') + 1);
        std::vector<double> beyond;
        for (size_t i = 0; i < picture.size(); ++i) beyond.push_back(picture[i] - waits[i]);
        std::printf("%-22s %7.1fms %7.1fms %7.1fms %11.1fms %10.1fms %10.1fms\n", name.c_str(),
                    Median(build), Median(ready), Median(picture), Median(beyond), Median(seekCue),
                    Median(seekPaused));
    }
    std::printf(
        "(medians of %d rounds; build, ready and picture count from the start of OpenFile;\n"
        " beyond-waits leaves out the fixed waits: 500 ms closing, 2 x 100 ms releasing;\n"
        " seek(cue): first seek after Pause, which starts the stopped graph paused;\n"
        " seek(paused): a seek of the paused graph)\n",
        rounds);
    wnd.CloseFile();
    return 0;
}
