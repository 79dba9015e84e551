#include "preview_fixture.h"

#include "preview/video_pane.h"

TempDir& PreviewFixture::Dir() {
    static TempDir dir;
    return dir;
}

std::string PreviewFixture::SmallClip(const std::string& name, double seconds) {
    const std::string path = Dir().Path(name);
    ClipSpec spec;
    spec.seconds = seconds;
    spec.width = 96;
    spec.height = 72;
    spec.fps = 10;
    spec.codecs = "-c:v mpeg4 -q:v 8 -c:a aac -shortest";
    EXPECT_TRUE(MakeClip(path, spec)) << path;
    return path;
}

std::string PreviewFixture::Clip90() {
    static const std::string path = SmallClip("ninety.mp4", 90.7);
    return path;
}

std::string PreviewFixture::Clip3Half() {
    static const std::string path = SmallClip("short.mp4", 3.5);
    return path;
}

void PreviewFixture::SetUp() {
    ASSERT_FALSE(Dir().path().empty());
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
