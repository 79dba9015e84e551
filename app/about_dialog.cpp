#include "app/about_dialog.h"

#include <QLabel>
#include <QPushButton>

#include "convert/common/program_names.h"
#include "ui/bitmaps.h"

namespace {

// Dialog units to pixels for the dialog font (8-point, about 6 by 13).
QRect Dlu(int x, int y, int w, int h) {
    return QRect(x * 3 / 2, y * 13 / 8, w * 3 / 2, h * 13 / 8);
}

QLabel* CentredText(QWidget* parent, const QString& text, const QRect& r) {
    auto* label = new QLabel(text, parent);
    label->setAlignment(Qt::AlignCenter);
    label->setGeometry(r);
    return label;
}

}  // namespace

CAboutDlg::CAboutDlg(QWidget* parent) : QDialog(parent) {
    setWindowTitle(QStringLiteral("About ZEV"));
    setFixedSize(Dlu(0, 0, 305, 146).size());

    auto* icon = new QLabel(this);
    icon->setPixmap(QPixmap::fromImage(LoadBitmapResource(bitmap_id::kAppIcon)));
    icon->setGeometry(QRect(Dlu(21, 19, 0, 0).topLeft(), QSize(32, 32)));

    CentredText(this, QStringLiteral("ZEV (Clipwright) Version 1.01"), Dlu(78, 22, 137, 13));
    const QString web = QString::fromLatin1(kMakerWebAddress);
    QLabel* link =
        CentredText(this, QStringLiteral("<a href=\"%1\" style=\"color:#0000ff\">%1</a>").arg(web),
                    Dlu(110, 42, 140, 11));
    link->setObjectName(QStringLiteral("Hyperlink"));
    link->setTextFormat(Qt::RichText);
    link->setOpenExternalLinks(true);
    link->setCursor(Qt::PointingHandCursor);
    CentredText(this, QStringLiteral("Email Address:   ") + QString::fromLatin1(kMakerContact),
                Dlu(31, 78, 242, 15));
    auto* ok = new QPushButton(QStringLiteral("OK"), this);
    ok->setDefault(true);
    ok->setGeometry(Dlu(123, 98, 50, 14));
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    CentredText(this,
                QStringLiteral("Copyright (C) 2026 korvane. Clipwright comes with no warranty."),
                Dlu(7, 119, 291, 8));
}
