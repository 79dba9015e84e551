#include <QApplication>
#include <QHelpEvent>
#include <QTest>
#include <QToolTip>
#include <gtest/gtest.h>
#include <string>

#include "ui/bitmaps.h"
#include "ui/hover_button.h"

namespace {

QPixmap Solid(const QColor& colour) {
    QPixmap p(40, 20);
    p.fill(colour);
    return p;
}

struct HoverFixture : ::testing::Test {
    HoverFixture() {
        parent.resize(200, 100);
        parent.setFocusPolicy(Qt::StrongFocus);
        button = new CHoverButton(&parent);
        button->setGeometry(10, 10, 40, 20);
        button->SetPictures(Solid(Qt::red), Solid(Qt::green), Solid(Qt::blue), Solid(Qt::gray));
        parent.show();
        parent.activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(&parent));
        parent.setFocus();
    }
    QWidget parent;
    CHoverButton* button = nullptr;
};

QRgb PictureColour(const CHoverButton& b) {
    return b.CurrentPicture().toImage().pixel(5, 5);
}

}  // namespace

TEST(HoverButton, TipTextOf1024OrMoreIsRefused) {
    CHoverButton button;
    EXPECT_EQ(button.SetTipText("Begin Convert", 15), 15);
    EXPECT_EQ(button.toolTip(), QStringLiteral("Begin Convert"));

    const std::string longText(1024, 'x');
    EXPECT_EQ(button.SetTipText(longText.c_str(), 1024), 0);
    EXPECT_EQ(button.toolTip(), QStringLiteral("Begin Convert"));
    EXPECT_EQ(button.SetTipText(longText.c_str(), 1023), 1023);
    EXPECT_EQ(button.toolTip().size(), 1023);
    EXPECT_EQ(button.SetTipText(nullptr, 3), 0);
}

TEST_F(HoverFixture, PointerOverTakesFocusAndLeavingGivesItBack) {
    EXPECT_EQ(PictureColour(*button), QColor(Qt::red).rgb());
    QTest::mouseMove(button, QPoint(20, 10));
    EXPECT_TRUE(button->hasFocus());
    EXPECT_EQ(PictureColour(*button), QColor(Qt::blue).rgb());  // the focused picture

    QEvent leave(QEvent::Leave);
    QApplication::sendEvent(button, &leave);
    EXPECT_FALSE(button->hasFocus());
    EXPECT_TRUE(parent.hasFocus());
    EXPECT_EQ(PictureColour(*button), QColor(Qt::red).rgb());
}

TEST_F(HoverFixture, PressedAndDisabledPictures) {
    button->setDown(true);
    EXPECT_EQ(PictureColour(*button), QColor(Qt::green).rgb());
    button->setDown(false);
    button->setEnabled(false);
    EXPECT_EQ(PictureColour(*button), QColor(Qt::gray).rgb());
    // Without a disabled picture the normal one shows.
    button->SetPictures(Solid(Qt::red), QPixmap(), QPixmap(), QPixmap());
    EXPECT_EQ(PictureColour(*button), QColor(Qt::red).rgb());
}

TEST_F(HoverFixture, ShowsItsTooltip) {
    button->SetTipText("Stop Converting", 16);
    QHelpEvent help(QEvent::ToolTip, QPoint(5, 5), button->mapToGlobal(QPoint(5, 5)));
    QApplication::sendEvent(button, &help);
    EXPECT_TRUE(QToolTip::isVisible());
    EXPECT_EQ(QToolTip::text(), QStringLiteral("Stop Converting"));
    QToolTip::hideText();
}

TEST(HoverButton, LoadsTheProgramsPictures) {
    CHoverButton button;
    EXPECT_TRUE(button.LoadBitmaps(bitmap_id::kConvertNormal, bitmap_id::kConvertPressed,
                                   bitmap_id::kConvertHover, 0));
    EXPECT_EQ(button.sizeHint(), QSize(64, 64));
    EXPECT_TRUE(
        button.LoadBitmaps(bitmap_id::kAddNormal, bitmap_id::kAddPressed, bitmap_id::kAddHover));
    EXPECT_EQ(button.sizeHint(), QSize(72, 40));
    EXPECT_FALSE(button.LoadBitmaps(0));
    EXPECT_FALSE(button.LoadBitmaps(9999));
}
