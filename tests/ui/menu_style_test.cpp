#include <QApplication>
#include <QMenu>
#include <QSignalSpy>
#include <QTest>
#include <gtest/gtest.h>

#include "ui/menu_xp.h"
#include "ui/menu_xp_style.h"

namespace {

QRgb Rgb(Pixel p) {
    return qRgb(PixelRed(p), PixelGreen(p), PixelBlue(p));
}

struct MenuFixture : ::testing::Test {
    MenuFixture() {
        InstallMenuXP();
        style = qobject_cast<CMenuXPStyle*>(QApplication::style());
        palette.setColor(QPalette::Button, QColor(212, 208, 200));
        palette.setColor(QPalette::Highlight, QColor(49, 106, 197));
        palette.setColor(QPalette::Shadow, QColor(64, 64, 64));
        colors = CMenuXPStyle::ColorsFor(palette);
        SetMenuXPLook(&window, true);
        window.resize(300, 200);
        window.show();
    }
    ~MenuFixture() override { RemoveMenuXP(); }

    // A File menu of `owner` with the first item highlighted, rendered.
    QImage Render(QMenu& menu) {
        menu.setPalette(palette);
        load = menu.addAction(QStringLiteral("&Load File\tF2"));
        separator = menu.addSeparator();
        exit = menu.addAction(QStringLiteral("E&xit"));
        menu.popup(QPoint(20, 20));
        EXPECT_TRUE(QTest::qWaitForWindowExposed(&menu));
        menu.setActiveAction(load);
        return menu.grab().toImage();
    }

    CMenuXPStyle* style = nullptr;
    QPalette palette;
    CMenuColors colors{};
    QWidget window;
    QAction* load = nullptr;
    QAction* separator = nullptr;
    QAction* exit = nullptr;
};

}  // namespace

TEST_F(MenuFixture, GutterHighlightAndSeparatorHaveTheDerivedColours) {
    ASSERT_NE(style, nullptr);
    style->SetDrawsOwnShadows(false);
    QMenu menu(&window);
    const QImage shot = Render(menu);

    const QRect item = menu.actionGeometry(load);
    EXPECT_EQ(shot.pixel(item.right() - 3, item.center().y()), Rgb(colors.highlightFill));
    EXPECT_EQ(shot.pixel(item.left(), item.top()), palette.color(QPalette::Highlight).rgb());

    const QRect plain = menu.actionGeometry(exit);
    EXPECT_EQ(shot.pixel(plain.left() + 2, plain.center().y()), Rgb(colors.gutter));
    EXPECT_EQ(shot.pixel(plain.left() + kMenuGutterWidth - 1, plain.center().y()),
              Rgb(colors.gutter));
    EXPECT_EQ(shot.pixel(plain.left() + kMenuGutterWidth, plain.center().y()),
              Rgb(colors.background));
    EXPECT_EQ(shot.pixel(plain.right() - 2, plain.center().y()), Rgb(colors.background));

    const QRect sep = menu.actionGeometry(separator);
    const int mid = sep.top() + sep.height() / 2;
    EXPECT_EQ(shot.pixel(sep.left() + 40, mid), Rgb(colors.separator));
    EXPECT_EQ(shot.pixel(sep.left() + 25, mid), Rgb(colors.background));  // line starts at 30
    EXPECT_EQ(shot.pixel(sep.left() + 10, mid), Rgb(colors.gutter));

    // One dark pixel of border, then the background colour.
    EXPECT_EQ(shot.pixel(0, 0), palette.color(QPalette::Shadow).rgb());
    EXPECT_EQ(shot.pixel(shot.width() - 1, shot.height() / 2),
              palette.color(QPalette::Shadow).rgb());
    EXPECT_EQ(shot.pixel(1, shot.height() / 2), Rgb(colors.background));

    const int textHeight = QFontMetrics(menu.font()).height();
    EXPECT_EQ(item.height(), MenuItemHeight(textHeight));
    EXPECT_EQ(sep.height(), MenuSeparatorHeight(textHeight));
}

namespace {
// The screen under every popup is white.
class CWhiteScreenStyle : public CMenuXPStyle {
protected:
    QPixmap GrabScreenUnder(QWidget*, const QRect& global) const override {
        QPixmap white(global.size());
        white.fill(Qt::white);
        return white;
    }
};
}  // namespace

TEST_F(MenuFixture, OwnShadowDarkensWhatLiesUnderTheStrips) {
    auto* white = new CWhiteScreenStyle;
    white->SetDrawsOwnShadows(true);
    QApplication::setStyle(white);
    QMenu menu(&window);
    const QImage shot = Render(menu);
    const int w = shot.width(), h = shot.height();
    const QRgb dark = palette.color(QPalette::Shadow).rgb();
    EXPECT_EQ(shot.pixel(w - 1 - kMenuShadowWidth, h / 2), dark);
    EXPECT_EQ(shot.pixel(w / 2, h - 1 - kMenuShadowWidth), dark);
    // White darkened to 78 % next to the border up to 93 % outermost.
    const int expected[kMenuShadowWidth] = {199, 212, 224, 237};
    for (int d = 0; d < kMenuShadowWidth; ++d) {
        EXPECT_NEAR(qGray(shot.pixel(w - kMenuShadowWidth + d, h / 2)), expected[d], 1) << d;
        EXPECT_NEAR(qGray(shot.pixel(w / 2, h - kMenuShadowWidth + d)), expected[d], 1) << d;
    }
    // The corner above the right strip shows the screen unchanged.
    EXPECT_EQ(shot.pixel(w - 1, 0), qRgb(255, 255, 255));
}

TEST_F(MenuFixture, WindowsWithoutThePropertyKeepTheirLook) {
    ASSERT_NE(style, nullptr);
    style->SetDrawsOwnShadows(false);
    QWidget other;
    other.show();
    QMenu menu(&other);
    const QImage shot = Render(menu);
    const QRect plain = menu.actionGeometry(exit);
    EXPECT_NE(shot.pixel(plain.left() + 2, plain.center().y()), Rgb(colors.gutter));

    SetMenuXPLook(&other, true);
    EXPECT_TRUE(HasMenuXPLook(&other));
    EXPECT_TRUE(UsesMenuXPLook(&menu));
    SetMenuXPLook(&other, false);
    EXPECT_FALSE(HasMenuXPLook(&other));
    EXPECT_FALSE(UsesMenuXPLook(&menu));
}

TEST_F(MenuFixture, TypedLetterRunsTheFirstItemWithIt) {
    QMenu menu(&window);
    QAction* add = menu.addAction(QStringLiteral("&Add\tF10"));
    QAction* apply = menu.addAction(QStringLiteral("&Apply"));
    QSignalSpy addRuns(add, &QAction::triggered);
    QSignalSpy applyRuns(apply, &QAction::triggered);
    menu.popup(QPoint(20, 20));
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&menu));
    QTest::keyClick(&menu, 'a');
    EXPECT_EQ(addRuns.count(), 1);
    EXPECT_EQ(applyRuns.count(), 0);
    EXPECT_FALSE(menu.isVisible());
}
