// The pane splitter's arithmetic: shares of the available length in units
// of 1/32768, their turning into pixel positions with a minimum pane length,
// and the limits of a bar drag. Plain class, no window needed.
#pragma once

#include <vector>

constexpr int kShareUnit = 32768;

// Rounded division (a·b + c/2) / c, truncating toward zero; 0 when c is 0.
int RoundedDiv(int a, int b, int c);

class CPaneLayout {
public:
    CPaneLayout(int panes, int minPane, int bar);

    int PaneCount() const { return m_nPanes; }
    int MinPane() const { return m_nMinPane; }
    int Bar() const { return m_nBar; }
    int Share(int i) const { return m_pShare[i]; }
    int Pos(int i) const { return m_pPos[i]; }
    // Length left for the panes at the last Layout: extent − bars.
    int Available() const { return m_nAvail; }

    // Pane i from Start(i) to End(i) along the split axis; bar i + 1 follows.
    int PaneStart(int i) const { return m_pPos[i]; }
    int PaneEnd(int i) const { return m_pPos[i + 1] - m_nBar; }

    // Weights in any unit; the last pane gets what the rounding leaves.
    // Returns false (nothing changed) for a wrong count or a zero sum.
    bool SetProportions(const std::vector<int>& weights);

    // Turns the shares into positions for an extent of `length` pixels,
    // first raising panes below the minimum while there is room.
    void Layout(int length);

    // Dragging bar k (1 to panes − 1); positions are along the split axis.
    // BeginDrag returns false when `p` lies beyond the last bar.
    bool BeginDrag(int p);
    void DragTo(int p);
    // Commits the position and recomputes the two neighbouring shares.
    void EndDrag();
    bool IsDragging() const { return m_nDragBar != 0; }
    int DragBar() const { return m_nDragBar; }
    int DragPos() const { return m_nDragPos; }

private:
    bool LayoutPass();

    int m_nPanes;
    int m_nMinPane;
    int m_nBar;
    int m_nAvail = 0;
    int m_nDragBar = 0;
    int m_nDragPos = 0;
    int m_nDragOffset = 0;
    std::vector<int> m_pShare;
    std::vector<int> m_pPos;
};
