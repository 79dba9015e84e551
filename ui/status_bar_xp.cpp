#include "ui/status_bar_xp.h"

#include <QAccessibleWidget>
#include <QLabel>
#include <QPainter>

namespace {

class CAccessibleStatusPane : public QAccessibleWidget {
public:
    explicit CAccessibleStatusPane(QLabel* pane)
        : QAccessibleWidget(pane, QAccessible::StaticText) {}

    QString text(QAccessible::Text t) const override {
        const QString shown = static_cast<const QLabel*>(widget())->text().trimmed();
        switch (t) {
            case QAccessible::Name:
                return widget()->accessibleName().isEmpty() ? shown : widget()->accessibleName();
            case QAccessible::Value:
                return shown;
            default:
                return QAccessibleWidget::text(t);
        }
    }
};

QAccessibleInterface* StatusPaneFactory(const QString& className, QObject* object) {
    if (className == QLatin1String("QLabel") && qobject_cast<CStatusBarXP*>(object->parent()))
        return new CAccessibleStatusPane(static_cast<QLabel*>(object));
    return nullptr;
}

}  // namespace

CStatusBarXP::CStatusBarXP(QWidget* parent) : QStatusBar(parent) {
    setSizeGripEnabled(false);
    static const bool accessible = [] {
        QAccessible::installFactory(&StatusPaneFactory);
        return true;
    }();
    (void)accessible;
}

bool CStatusBarXP::SetIndicators(const QStringList& texts) {
    for (QLabel* pane : m_panes) {
        removeWidget(pane);
        delete pane;
    }
    m_panes.clear();
    for (qsizetype i = 0; i < texts.size(); ++i) {
        auto* pane = new QLabel(texts[i], this);
        pane->setFrameShape(QFrame::NoFrame);
        pane->setContentsMargins(3, 0, 3, 0);
        if (i == 0) {
            addWidget(pane, 1);
        } else {
            pane->setAlignment(Qt::AlignCenter);
            pane->setMinimumWidth(pane->sizeHint().width());
            addPermanentWidget(pane);
        }
        m_panes.push_back(pane);
    }
    setMinimumHeight(kMinHeight);
    return true;
}

bool CStatusBarXP::SetPaneText(int index, const QString& text) {
    QLabel* pane = Pane(index);
    if (!pane) return false;
    pane->setText(text);
    return true;
}

QString CStatusBarXP::PaneText(int index) const {
    const QLabel* pane = Pane(index);
    return pane ? pane->text() : QString();
}

QLabel* CStatusBarXP::Pane(int index) const {
    if (index < 0 || index >= PaneCount()) return nullptr;
    return m_panes[index];
}

void CStatusBarXP::paintEvent(QPaintEvent* event) {
    QStatusBar::paintEvent(event);
    QPainter painter(this);
    painter.setPen(palette().color(QPalette::Dark));
    painter.setBrush(Qt::NoBrush);
    for (const QLabel* pane : m_panes) {
        if (!pane->isVisible()) continue;
        painter.drawRect(pane->geometry().adjusted(0, 0, -1, -1));
    }
}
