// The panel's layout arithmetic, and the painted panel checked pixel by
// pixel where the layout fixes it.
#include <QImage>
#include <gtest/gtest.h>
#include <memory>

#include "panel_test_support.h"
#include "profiles/widgets/output_panel_layout.h"
#include "profiles/widgets/output_settings_panel.h"
#include "store_test_support.h"
#include "ui/bitmaps.h"

namespace {

PanelText FindText(const OutputPanelLayout& layout, const std::string& text) {
    for (const PanelText& t : layout.texts)
        if (t.text == text) return t;
    ADD_FAILURE() << "no text " << text;
    return {};
}

}  // namespace

TEST(OutputPanelLayout, RowsStartAfterTheSectionHeadingAndRunToTheRightEdge) {
    const int cw = 8, width = 426;
    const OutputPanelLayout l = LayOutOutputPanel(width, cw);
    EXPECT_EQ(FindText(l, "Output Settings").x, (426 - 15 * 8) / 2);
    EXPECT_EQ(FindText(l, "Output Settings").y, 42);
    EXPECT_EQ(l.Place(panel_id::kProfileList), (PanelRect{7 * 8 + 4, 70, 422, 94}));
    const int x0 = 14 * 8 + 4;
    EXPECT_EQ(FindText(l, "Width(Pixel) ").x, x0);
    EXPECT_EQ(l.Place(panel_id::kWidth), (PanelRect{x0 + 13 * 8 + 14, 126, 422, 150}));
    EXPECT_EQ(l.Place(panel_id::kFrameRate), (PanelRect{x0 + 16 * 8 + 24, 204, 422, 228}));
    EXPECT_EQ(l.Place(panel_id::kChannels), (PanelRect{x0 + 8 * 8 + 14, 256, 422, 280}));
    EXPECT_EQ(l.Place(panel_id::kSampleRate), (PanelRect{x0 + 15 * 8 + 19, 282, 422, 306}));
    EXPECT_EQ(l.Place(panel_id::kAudioBitrate), (PanelRect{x0 + 13 * 8 + 14, 308, 422, 332}));
    EXPECT_EQ(l.separatorYs, (std::vector<int>{98, 228, 332}));
    EXPECT_FALSE(FindText(l, "Profile").accent);
    EXPECT_TRUE(FindText(l, "Sample Rate(Hz)").accent);
}

TEST(OutputPanelLayout, ButtonsStayCentredAsThePanelWidens) {
    for (int width : {300, 426, 601}) {
        const OutputPanelLayout l = LayOutOutputPanel(width, 7);
        const PanelRect add = l.Place(panel_id::kAdd), save = l.Place(panel_id::kSave);
        EXPECT_EQ(add, (PanelRect{width / 2 - 108, 356, width / 2 - 36, 396}));
        EXPECT_EQ(l.Place(panel_id::kDelete).left, add.left + 76);
        EXPECT_EQ(save.right, add.left + 224);
        // The group's middle sits within a few pixels of the panel's.
        EXPECT_LE(std::abs((add.left + save.right) / 2 - width / 2), 4);
    }
    // A title wider than the panel starts left of it, rounded down.
    EXPECT_EQ(LayOutOutputPanel(100, 7).texts[0].x, -3);
}

TEST(OutputPanelPainting, LinesFramesLabelsAndButtonsLandWhereTheLayoutSays) {
    TempDir dir;
    WriteFileBytes(dir.Path("profile.cfg"), "1,0\nDefault.640,480,220,15,64000,1,44100\n");
    ScriptedDialogs dialogs;
    auto panel = std::make_unique<COutputSettingsPanel>(dir.Path("profile.cfg"), dialogs, nullptr,
                                                        FillTestCatalog);
    panel->resize(426, 420);
    panel->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(panel.get()));
    const QImage image = panel->grab().toImage().convertToFormat(QImage::Format_RGB32);
    ASSERT_EQ(image.size(), QSize(426, 420));

    const QRgb black = qRgb(0, 0, 0), white = qRgb(255, 255, 255);
    for (int y : {98, 228, 332}) {
        EXPECT_EQ(image.pixel(2, y), black) << y;
        EXPECT_EQ(image.pixel(2, y - 1), white) << y;
        EXPECT_EQ(image.pixel(2, y + 1), white) << y;
    }
    EXPECT_EQ(image.pixel(425, 420 - 1), white);

    // The accent colour appears in the "Video Settings" heading and not in
    // the black "Profile" label.
    const auto countAccent = [&](const QRect& area) {
        int n = 0;
        for (int y = area.top(); y <= area.bottom(); ++y)
            for (int x = area.left(); x <= area.right(); ++x)
                n += image.pixel(x, y) == qRgb(49, 106, 197);
        return n;
    };
    EXPECT_GT(countAccent(QRect(4, 100, 100, 20)), 20);
    EXPECT_EQ(countAccent(QRect(4, 70, 50, 20)), 0);

    // One-pixel frame just outside the frame-rate list; none around width.
    const QRect fps = panel->Control(panel_id::kFrameRate)->geometry();
    EXPECT_EQ(fps.top(), 204);
    EXPECT_EQ(fps.height(), 24);
    EXPECT_EQ(image.pixel(fps.left() - 1, fps.center().y()), black);
    EXPECT_EQ(image.pixel(fps.left() - 2, fps.center().y()), white);
    const QRect width = panel->Control(panel_id::kWidth)->geometry();
    EXPECT_EQ(image.pixel(width.left() - 1, width.center().y()), white);

    // After widening, the buttons move and show their pictures there.
    panel->resize(640, 420);
    QApplication::processEvents();
    EXPECT_EQ(panel->Control(panel_id::kAdd)->geometry(), QRect(320 - 108, 356, 72, 40));
    EXPECT_EQ(panel->Control(panel_id::kSave)->geometry(), QRect(320 + 44, 356, 72, 40));
    const QImage wide = panel->grab().toImage().convertToFormat(QImage::Format_RGB32);
    const QImage addPicture = LoadBitmapResource(132);
    EXPECT_EQ(wide.pixel(212 + 36, 356 + 20), addPicture.pixel(36, 20));
    EXPECT_EQ(wide.pixel(110, 376), white);  // where the button was before
    EXPECT_EQ(panel->Control(panel_id::kAdd)->toolTip(), "Add Profile");
    EXPECT_EQ(panel->Control(panel_id::kDelete)->toolTip(), "Delete this profile");
    EXPECT_EQ(panel->Control(panel_id::kSave)->toolTip(), "Save changes");
}
