#include "app/job_tab_ctrl.h"

#include <QResizeEvent>
#include <QTabBar>

CJobTabCtrl::CJobTabCtrl(QWidget* parent) : QTabWidget(parent) {
    setTabPosition(QTabWidget::South);
    setDocumentMode(true);
    tabBar()->setExpanding(false);
}

void CJobTabCtrl::resizeEvent(QResizeEvent* event) {
    QTabWidget::resizeEvent(event);
    // Fixed-width tabs, two to the control's width.
    const int tabWidth = (event->size().width() - 2) / 2;
    tabBar()->setStyleSheet(QStringLiteral("QTabBar::tab { width: %1px; }").arg(tabWidth - 2));
}
