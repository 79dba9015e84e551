#include "preview_fixture.h"

#include <cstdlib>

#include "preview/video_pane.h"

std::string MakeMedia(const QTemporaryDir& dir, const std::string& name, const std::string& video,
                      const std::string& audio, const std::string& codecs) {
    const std::string path = dir.filePath(QString::fromStdString(name)).toStdString();
    std::string cmd = "ffmpeg -nostdin -loglevel error -y";
    if (!video.empty()) cmd += " -f lavfi -i '" + video + "'";
    if (!audio.empty()) cmd += " -f lavfi -i '" + audio + "'";
    cmd += " " + codecs + " '" + path + "'";
    EXPECT_EQ(std::system(cmd.c_str()), 0) << cmd;
    return path;
}

QTemporaryDir& PreviewFixture::Dir() {
    static QTemporaryDir dir;
    return dir;
}

std::string PreviewFixture::Clip90() {
    static const std::string path =
        MakeMedia(Dir(), "ninety.mp4", "testsrc=size=96x72:rate=10:duration=90.7",
                  "sine=frequency=440:duration=90.7", "-c:v mpeg4 -q:v 8 -c:a aac -shortest");
    return path;
}

std::string PreviewFixture::Clip3Half() {
    static const std::string path =
        MakeMedia(Dir(), "short.mp4", "testsrc=size=96x72:rate=10:duration=3.5",
                  "sine=frequency=440:duration=3.5", "-c:v mpeg4 -q:v 8 -c:a aac -shortest");
    return path;
}

void PreviewFixture::SetUp() {
    ASSERT_TRUE(Dir().isValid());
    other = new QWidget;
    other->setFocusPolicy(Qt::StrongFocus);
    wnd = new CPreviewWnd(dialogs, other);
    wnd->setGeometry(0, 0, 900, 460);
    other->resize(900, 460);
    other->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(other));
}

void PreviewFixture::TearDown() {
    delete other;  // and the preview window with it
    wnd = nullptr;
}

bool PreviewFixture::WaitFor(const std::function<bool()>& done, int ms) {
    return QTest::qWaitFor(done, ms);
}

void PreviewFixture::Click(int command) {
    QAction* a = wnd->ToolbarAction(command);
    ASSERT_NE(a, nullptr);
    QWidget* button = wnd->ToolbarButton(command);
    ASSERT_NE(button, nullptr);
    QTest::mouseClick(button, Qt::LeftButton);
    QCoreApplication::processEvents();
}

void PreviewFixture::TypeTime(int field, const char* hms) {
    CTimeField* f = wnd->Field(field);
    const QStringList parts = QString(hms).split(':');
    for (int i = 0; i < 3; ++i) {
        CTimeDigitBox* box = f->Box(i);
        box->setFocus(Qt::MouseFocusReason);
        box->selectAll();
        QTest::keyClicks(box, parts[i]);
    }
    // A click on the preview window takes the focus, so the box commits.
    QTest::mouseClick(wnd, Qt::LeftButton, {}, QPoint(5, 5));
    for (int i = 0; i < 4; ++i) QCoreApplication::processEvents();
}

std::string PreviewFixture::Buttons() const {
    std::string out;
    for (int id : {ID_PLAY, ID_PAUSE, ID_STOP}) {
        QAction* a = wnd->ToolbarAction(id);
        out += a->isChecked() ? "pressed" : (a->isEnabled() ? "enabled" : "disabled");
        if (id != ID_STOP) out += "/";
    }
    return out;
}

double PreviewFixture::GraphPosition() const {
    REFTIME t = -1;
    if (IMediaPosition* p = PreviewStateOf().pMediaPosition) p->get_CurrentPosition(&t);
    return t;
}
