// Where the preview window puts its parts, what it paints around them, and
// the closing flag's effect on the final release.
#include "preview/range_slider.h"
#include "preview/time_field.h"
#include "preview/video_pane.h"
#include "preview_fixture.h"

TEST_F(PreviewFixture, LayoutFollowsTheClientSize) {
    wnd->OpenFile(Clip3Half());
    ASSERT_TRUE(WaitFor([&] { return wnd->GetPlayState() == PlayState::Ready; }, 5000));
    wnd->setGeometry(0, 0, 1001, 601);
    QCoreApplication::processEvents();
    const int h23 = 2 * 601 / 3;  // 400
    EXPECT_EQ(wnd->VideoPane()->geometry(), QRect(60, 40, 500 - 60, h23));
    EXPECT_EQ(wnd->ToolbarButton(ID_PLAY)->parentWidget()->geometry(),
              QRect(60, h23 + 40, 184, 24));
    EXPECT_EQ(wnd->Slider()->geometry(), QRect(60, h23 + 64, 440, 20));
    const QRect begin = wnd->Field(IDC_BEGIN_TIME)->geometry();
    const QRect end = wnd->Field(IDC_END_TIME)->geometry();
    EXPECT_EQ(begin.topLeft(), QPoint(60, h23 + 85));
    EXPECT_EQ(end.right() + 1, 500);  // the end field ends at the half
    EXPECT_EQ(end.top(), h23 + 85);
    EXPECT_GT(wnd->Field(IDC_CURRENT_TIME)->geometry().left(), begin.right());
    EXPECT_LT(wnd->Field(IDC_CURRENT_TIME)->geometry().right(), end.left());
    // The slider's own arithmetic follows its new width.
    EXPECT_EQ(wnd->Slider()->Model().EndRect().right, 440);

    // The status text sits in the bottom-left corner of the video rectangle,
    // white on the video colour; right of the video the window is white.
    wnd->CloseFile();
    wnd->OpenFile(Dir().Path("missing.avi"));
    ASSERT_TRUE(WaitFor([&] { return !wnd->StatusText().empty(); }, 3000));
    const QImage shot = wnd->grab().toImage();
    const int fh = QFontMetrics(wnd->font()).height();
    bool white = false;
    for (int x = 62; x < 200 && !white; ++x)
        for (int y = h23 + 40 - fh - 2; y < h23 + 38 && !white; ++y)
            white = shot.pixelColor(x, y) == QColor(Qt::white);
    EXPECT_TRUE(white) << "no status text in the video rectangle";
    EXPECT_EQ(shot.pixelColor(300, 100), QColor(4, 0, 0));
    EXPECT_EQ(shot.pixelColor(700, 100), QColor(Qt::white));
}

TEST_F(PreviewFixture, TheClosingFlagKeepsTheGraphManagerAtTheLastRelease) {
    wnd->OpenFile(Clip3Half());
    ASSERT_TRUE(WaitFor([&] { return wnd->GetPlayState() == PlayState::Ready; }, 5000));
    wnd->CloseFile();
    SetPreviewClosing(true);
    delete other;  // destroys the window and, with it, releases the graph
    other = nullptr;
    PreviewState& s = PreviewStateOf();
    EXPECT_EQ(s.pMediaControl, nullptr);
    EXPECT_EQ(s.pMediaPosition, nullptr);
    EXPECT_EQ(s.pMediaEvent, nullptr);
    EXPECT_EQ(s.pVideoWindow, nullptr);
    ASSERT_NE(s.pGraphBuilder, nullptr);
    SetPreviewClosing(false);
    s.pGraphBuilder->Release();
    s.pGraphBuilder = nullptr;
}
