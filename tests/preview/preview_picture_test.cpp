// The picture really reaches the pane: a clip of one known colour is loaded
// and played, and the window, painted into an image, shows that colour in
// its video rectangle; a seek while paused shows the new picture at once.
#include <QImage>

#include "media_tools.h"
#include "preview/video_pane.h"
#include "preview_fixture.h"

namespace {

bool Near(const QColor& a, const QColor& b, int tolerance) {
    return std::abs(a.red() - b.red()) <= tolerance &&
           std::abs(a.green() - b.green()) <= tolerance &&
           std::abs(a.blue() - b.blue()) <= tolerance;
}

}  // namespace

TEST_F(PreviewFixture, TheVideoRectangleShowsTheClipsColour) {
    const QColor orange(230, 120, 20);
    const std::string path = Dir().Path("orange.mp4");
    ASSERT_TRUE(MakeLavfiClip(path, "color=c=0xE67814:size=160x120:rate=25:duration=3", "",
                              "-c:v libx264 -pix_fmt yuv420p -crf 10"));
    wnd->OpenFile(path);
    ASSERT_TRUE(WaitFor([&] { return wnd->GetPlayState() == PlayState::Ready; }, 5000));
    // The first picture shows after loading, before playing.
    ASSERT_TRUE(WaitFor([&] { return wnd->VideoPane()->FramesPainted() > 0; }, 3000));
    const QRect video = wnd->VideoRect();
    EXPECT_EQ(wnd->VideoPane()->geometry(), video);
    QImage shot = wnd->grab().toImage();
    EXPECT_TRUE(Near(shot.pixelColor(video.center()), orange, 12))
        << shot.pixelColor(video.center()).name().toStdString();
    EXPECT_TRUE(Near(shot.pixelColor(video.left() + 3, video.top() + 3), orange, 12));

    Click(ID_PLAY);
    const int before = wnd->VideoPane()->FramesPainted();
    ASSERT_TRUE(WaitFor([&] { return wnd->VideoPane()->FramesPainted() > before + 10; }, 3000));
    shot = wnd->grab().toImage();
    EXPECT_TRUE(Near(shot.pixelColor(video.center()), orange, 12));
    // Outside the video rectangle the window is white.
    EXPECT_EQ(shot.pixelColor(video.right() + 20, 20), QColor(Qt::white));

    wnd->CloseFile();
    shot = wnd->grab().toImage();
    EXPECT_EQ(shot.pixelColor(video.center()), QColor(4, 0, 0));
}

TEST_F(PreviewFixture, ASeekWhilePausedShowsTheNewPictureAtOnce) {
    // The picture's brightness tells its time: 0 at 0 s, up to 250 at 10 s.
    const std::string path = Dir().Path("ramp.mp4");
    ASSERT_TRUE(MakeLavfiClip(
        path, "color=c=black:size=64x48:rate=25:duration=10,geq=lum='25*T':cb=128:cr=128", "",
        "-c:v libx264 -pix_fmt yuv420p -g 25 -crf 5"));
    wnd->OpenFile(path);
    ASSERT_TRUE(WaitFor([&] { return wnd->GetPlayState() == PlayState::Ready; }, 5000));
    Click(ID_PLAY);
    QTest::qWait(400);
    Click(ID_PAUSE);
    for (unsigned target : {8u, 2u}) {
        wnd->Field(IDC_CURRENT_TIME);
        TypeTime(IDC_CURRENT_TIME, target == 8 ? "00:00:08" : "00:00:02");
        double shown = -1;
        ASSERT_TRUE(WaitFor(
            [&] {
                wnd->VideoPane()->Picture(&shown);
                return std::abs(shown - target) < 0.1;
            },
            1000))
            << target << " showed " << shown;
        QImage pic = wnd->VideoPane()->Picture();
        EXPECT_NEAR(qGray(pic.pixel(32, 24)), 25.0 * target * 255 / 235, 20) << target;
    }
    EXPECT_EQ(wnd->GetPlayState(), PlayState::Paused);
}

TEST_F(PreviewFixture, APhoneVideoStoredOnItsSideShowsUpright) {
    // Stored 160x120 with its left half white, to be shown turned.
    const std::string stored = Dir().Path("stored.mp4");
    ASSERT_TRUE(MakeLavfiClip(stored,
                              "color=black:size=160x120:rate=25:duration=2,drawbox=x=0:y=0:w=80:"
                              "h=120:c=white:t=fill",
                              "", "-c:v libx264 -pix_fmt yuv420p"));
    const std::string path = Dir().Path("phone.mp4");
    ASSERT_TRUE(SetDisplayRotation(stored, path, 90));
    // Where a player that honours the rotation shows the white half.
    const double top = RegionLuma(path, 0.5, "iw:ih/2:0:0");
    const double bottom = RegionLuma(path, 0.5, "iw:ih/2:0:ih/2");
    ASSERT_GT(std::abs(top - bottom), 150);

    wnd->OpenFile(path);
    ASSERT_TRUE(WaitFor([&] { return wnd->GetPlayState() == PlayState::Ready; }, 5000));
    ASSERT_TRUE(WaitFor([&] { return wnd->VideoPane()->FramesReceived() > 0; }, 3000));
    const QImage pic = wnd->VideoPane()->Picture();
    EXPECT_EQ(pic.width(), 120);
    EXPECT_EQ(pic.height(), 160);
    const int shownTop = qGray(pic.pixel(60, 40));
    const int shownBottom = qGray(pic.pixel(60, 120));
    EXPECT_GT(top > bottom ? shownTop - shownBottom : shownBottom - shownTop, 150)
        << shownTop << " above " << shownBottom;
}
