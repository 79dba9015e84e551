// Driver of bench/zev-ui: the window's start-up time and how late a 10 ms
// timer fires while the window runs a real job. Prints figures; not a test.
//
//   zev-ui-bench startup                       time from process start to the
//                                              window shown, in milliseconds
//   zev-ui-bench latency SOURCE DEST [END]     converts SOURCE (0 to END
//                                              seconds) in the window and
//                                              prints p50, p99 and max lateness
//   zev-ui-bench tour SOURCE DEST SHOTS        loads SOURCE, converts it and
//                                              shows the log, running
//                                              SHOTS/shoot NAME at each step
//                                              (for screenshots under Xvfb)
#include <unistd.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QProcess>
#include <QTabWidget>
#include <QTest>
#include <QTimer>
#include <algorithm>
#include <cstdio>
#include <fstream>
#include <vector>

#include "app/job_panel.h"
#include "app/preview_pane_adapter.h"
#include "app/zev_app.h"
#include "platform/win/dialog_seam.h"
#include "preview/preview_wnd.h"
#include "ui/hover_button.h"

namespace {

// Answers every question with OK or Yes, and the save dialog with one path.
class BenchDialogs : public IDialogSeam {
public:
    std::string dest;
    MsgAnswer MessageBox(const std::string&, const std::string&, MsgButtons b, MsgIcon) override {
        return b == MsgButtons::YesNo ? MsgAnswer::Yes : MsgAnswer::Ok;
    }
    bool OpenFileName(const std::string&, const std::string&, std::string&) override {
        return false;
    }
    bool SaveFileName(const std::string&, const std::string&, const std::string&,
                      std::string& path) override {
        path = dest;
        return true;
    }
};

// Milliseconds since this process started, from /proc.
double MsSinceProcessStart() {
    std::ifstream stat("/proc/self/stat");
    std::string field;
    for (int i = 1; i <= 22 && stat >> field; ++i) {
    }
    const double startTicks = std::stod(field);
    std::ifstream uptimeFile("/proc/uptime");
    double uptime = 0;
    uptimeFile >> uptime;
    return (uptime - startTicks / sysconf(_SC_CLK_TCK)) * 1000.0;
}

double Percentile(std::vector<double> v, double p) {
    if (v.empty()) return 0;
    std::sort(v.begin(), v.end());
    return v[std::min(v.size() - 1, static_cast<size_t>(p * (v.size() - 1) + 0.5))];
}

}  // namespace

int main(int argc, char** argv) {
    QApplication qapp(argc, argv);
    const QStringList args = QApplication::arguments();
    if (args.size() < 2) {
        std::fprintf(stderr, "usage: zev-ui-bench startup | latency SOURCE DEST [END]\n");
        return 2;
    }
    BenchDialogs dialogs;
    CZevApp app(dialogs, [&dialogs](QWidget* parent) -> IPreviewPane* {
        return new CPreviewPaneAdapter(dialogs, parent);
    });
    if (!app.InitInstance({args[0]})) {
        std::fprintf(stderr, "another copy runs with the same settings\n");
        return 1;
    }
    if (!QTest::qWaitForWindowExposed(app.Frame())) {
        std::fprintf(stderr, "the window was never shown\n");
        return 1;
    }
    if (args[1] == QLatin1String("startup")) {
        std::fprintf(stderr, "zev-ui: start-up to window shown: %.0f ms\n", MsSinceProcessStart());
        return 0;
    }
    if (args.size() < 4) return 2;
    dialogs.dest = args[3].toStdString();
    app.Frame()->OpenFileByPath(args[2].toStdString());
    if (args[1] == QLatin1String("tour") && args.size() > 4) {
        const QString shoot = args[4];
        auto shot = [shoot](const char* name) {
            QTest::qWait(700);  // let the window paint
            QProcess::execute(shoot, {QString::fromLatin1(name)});
        };
        shot("loaded");
        bool taken = false;
        QObject::connect(app.Frame(), &CMainFrame::ProgressShown, [&] {
            if (taken || app.Frame()->Session().Progress() <= 0) return;
            taken = true;
            // After the status bar and the progress bar have painted.
            QTimer::singleShot(300, [shoot] { QProcess::execute(shoot, {QStringLiteral("job")}); });
        });
        app.Frame()->SendCommand(cmd::kConvert);
        app.Frame()->findChild<QTabWidget*>()->setCurrentIndex(1);
        shot("log");
        return 0;
    }
    auto* preview = dynamic_cast<CPreviewPaneAdapter*>(app.Frame()->Preview());
    if (preview && args.size() > 4)
        preview->Preview()->Range().SetEnd(static_cast<unsigned>(args[4].toInt()));

    // A 10 ms timer, and how late each of its ticks comes, while the job runs.
    std::vector<double> lateMs;
    QElapsedTimer clock;
    QTimer tick;
    tick.setTimerType(Qt::PreciseTimer);
    tick.setInterval(10);
    double expected = 0;
    QObject::connect(&tick, &QTimer::timeout, [&] {
        const double now = clock.nsecsElapsed() / 1e6;
        lateMs.push_back(std::max(0.0, now - expected));
        expected = now + 10;
    });
    bool measuring = false;
    QObject::connect(app.Frame(), &CMainFrame::JobFinished, [&] { tick.stop(); });
    QTimer::singleShot(0, [&] {
        clock.start();
        expected = 10;
        tick.start();
        measuring = true;
    });
    QTimer::singleShot(50, [&] {
        QElapsedTimer job;
        job.start();
        app.Frame()->SendCommand(cmd::kConvert);
        tick.stop();
        std::fprintf(stderr, "zev-ui: job %.1f s, %zu ticks\n", job.elapsed() / 1000.0,
                     lateMs.size());
        std::fprintf(stderr, "zev-ui: 10 ms timer lateness p50 %.1f ms, p99 %.1f ms, max %.1f ms\n",
                     Percentile(lateMs, 0.5), Percentile(lateMs, 0.99),
                     lateMs.empty() ? 0.0 : *std::max_element(lateMs.begin(), lateMs.end()));
        QApplication::exit(measuring ? 0 : 1);
    });
    return QApplication::exec();
}
