#include "ui/menu_xp.h"

#include <QApplication>
#include <QStyle>
#include <QStyleFactory>

#include "ui/menu_xp_style.h"

namespace {
int g_nInstallCount = 0;  // users of the installed style
QString g_strBaseStyle;   // the style that was there before
}  // namespace

void InstallMenuXP() {
    if (g_nInstallCount++ > 0) return;
    g_strBaseStyle = QApplication::style()->name();
    QApplication::setStyle(new CMenuXPStyle(QStyleFactory::create(g_strBaseStyle)));
}

void RemoveMenuXP() {
    if (g_nInstallCount == 0 || --g_nInstallCount > 0) return;
    if (QStyle* base = QStyleFactory::create(g_strBaseStyle)) QApplication::setStyle(base);
}
