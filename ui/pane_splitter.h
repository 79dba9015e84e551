// A window divided along one axis into a fixed number of panes, each holding
// one child window, with bars between them that the user drags.
#pragma once

#include <QPointer>
#include <QWidget>
#include <vector>

#include "ui/pane_layout.h"

class CDragFeedback;

class CPaneSplitter : public QWidget {
    Q_OBJECT

public:
    // Orientation 1 puts the panes side by side (vertical bars); any other
    // value stacks them (horizontal bars). The main frame uses 2.
    static constexpr int kSideBySide = 1;
    static constexpr int kStacked = 2;
    // The tab control pane whose selection changes go on to the parent.
    static constexpr int kTabControlId = 57100;

    CPaneSplitter(int panes, int orientation, int minPane, int bar, QWidget* parent = nullptr);
    ~CPaneSplitter() override;

    // Makes the splitter a visible child covering `parent`'s client area.
    bool Create(QWidget* parent);

    // Weights, one per pane; then Layout and ApplyLayout.
    bool SetProportions(const std::vector<int>& weights);
    // Places `pane` as pane `index` and shows it; `controlId` 57100 marks
    // the tab control (a QTabWidget or QTabBar). False on a bad index or
    // a null window.
    bool AddPane(int index, QWidget* pane, int controlId = 0);
    QWidget* Pane(int index) const;
    void SetFocusPane(int index);
    // The client rectangle narrowed along the split axis to pane `index`.
    QRect GetPaneRect(int index) const;

    void Layout();
    void ApplyLayout();

    const CPaneLayout& PaneLayout() const { return m_layout; }
    bool IsSideBySide() const { return m_nOrientation == kSideBySide; }
    // The band drawn while a bar is dragged, or an empty rectangle.
    QRect DragFeedbackRect() const;

signals:
    // The tab control's selection change, passed on with its identifier.
    void TabSelectionChanged(int controlId, int index);

protected:
    void resizeEvent(QResizeEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    int AlongAxis(const QPoint& p) const { return IsSideBySide() ? p.x() : p.y(); }
    int AxisExtent() const { return IsSideBySide() ? width() : height(); }
    int CrossExtent() const { return IsSideBySide() ? height() : width(); }
    QRect SpanRect(int start, int end, int cross) const;
    void MoveFeedback();

    int m_nOrientation;
    int m_nCrossExtent = 0;
    CPaneLayout m_layout;
    std::vector<QPointer<QWidget>> m_pPanes;
    CDragFeedback* m_pFeedback = nullptr;
};
