#include <QImage>
#include <gtest/gtest.h>

#include "ui/bitmaps.h"
#include "ui/toolbar_images.h"

TEST(ToolbarImages, ThreeSetsWithMagentaTransparent) {
    QImage strip(48, 24, QImage::Format_RGB32);
    strip.fill(QColor(255, 0, 0));
    strip.setPixel(0, 0, 0xFFFF00FF);
    const CToolbarImageList list = CToolbarImageList::FromStrip(strip, 24);
    ASSERT_EQ(list.Count(), 2);
    EXPECT_TRUE(list.Icon(2).isNull());

    const QIcon icon = list.Icon(0);
    const QImage normal = icon.pixmap(QSize(24, 24), 1.0, QIcon::Normal).toImage();
    const QImage hot = icon.pixmap(QSize(24, 24), 1.0, QIcon::Active).toImage();
    const QImage disabled = icon.pixmap(QSize(24, 24), 1.0, QIcon::Disabled).toImage();
    EXPECT_EQ(qAlpha(normal.pixel(0, 0)), 0);
    EXPECT_EQ(qAlpha(disabled.pixel(0, 0)), 0);
    EXPECT_EQ(normal.pixel(10, 10), qRgb(255, 40, 40));
    EXPECT_EQ(hot.pixel(10, 10), qRgb(255, 0, 0));
    EXPECT_EQ(disabled.pixel(10, 10), qRgb(136, 136, 136));
}

TEST(ToolbarImages, TheProgramsStripHasNineImages) {
    const QImage strip = LoadBitmapResource(bitmap_id::kToolbar);
    ASSERT_FALSE(strip.isNull());
    EXPECT_EQ(strip.height(), kToolbarImageSize);
    EXPECT_EQ(CToolbarImageList::FromStrip(strip, kToolbarImageSize).Count(), 9);
    // Each image keeps a transparent corner.
    EXPECT_EQ(strip.pixel(0, 0) & 0xFFFFFF, 0xFF00FFu);
}
