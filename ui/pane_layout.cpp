#include "ui/pane_layout.h"

#include <algorithm>
#include <cstdint>

namespace {
// Shares rounded back and forth can miss the minimum by a pixel on very long
// extents; the cap keeps such a case from repeating forever.
constexpr int kMaxLayoutPasses = 64;
}  // namespace

int RoundedDiv(int a, int b, int c) {
    if (c == 0) return 0;
    // 64-bit product: the same result as 32-bit wherever that one doesn't
    // overflow, and no undefined behaviour where it would.
    const std::int64_t product = static_cast<std::int64_t>(a) * b;
    return static_cast<int>((product + c / 2) / c);
}

CPaneLayout::CPaneLayout(int panes, int minPane, int bar)
    : m_nPanes(std::max(1, panes)),
      m_nMinPane(std::max(0, minPane)),
      m_nBar(std::max(0, bar)),
      m_pShare(m_nPanes),
      m_pPos(m_nPanes + 1, 0) {
    const int each = (m_nPanes / 2 + kShareUnit) / m_nPanes;
    for (int i = 0; i < m_nPanes - 1; ++i) m_pShare[i] = each;
    m_pShare[m_nPanes - 1] = kShareUnit - each * (m_nPanes - 1);
}

bool CPaneLayout::SetProportions(const std::vector<int>& weights) {
    if (static_cast<int>(weights.size()) != m_nPanes) return false;
    long long sum = 0;
    for (int w : weights) {
        if (w < 0) return false;
        sum += w;
    }
    if (sum <= 0 || sum > 0x7FFFFFFF / kShareUnit) return false;
    int used = 0;
    for (int i = 0; i < m_nPanes - 1; ++i) {
        m_pShare[i] = RoundedDiv(weights[i], kShareUnit, static_cast<int>(sum));
        used += m_pShare[i];
    }
    m_pShare[m_nPanes - 1] = kShareUnit - used;
    return true;
}

bool CPaneLayout::LayoutPass() {
    const int a = m_nAvail;
    const int minShare = RoundedDiv(m_nMinPane, kShareUnit, a);
    int free = kShareUnit;     // F: what the panes at the minimum leave
    int oldFree = kShareUnit;  // G: the same, counted with their old shares
    bool changed = false;

    for (int i = 0; i < m_nPanes; ++i) {
        const int length = RoundedDiv(m_pShare[i], a, kShareUnit);
        if (length > m_nMinPane) continue;
        oldFree -= m_pShare[i];
        if (length < m_nMinPane) {
            const int share = m_nMinPane > a ? kShareUnit : minShare;
            if (share != m_pShare[i]) {
                m_pShare[i] = share;
                changed = true;
            }
        }
        free -= m_pShare[i];
    }

    if (free <= 0) {
        // The panes at the minimum take everything: each pane in order gets
        // the minimum while the 32768 last.
        int left = kShareUnit;
        for (int i = 0; i < m_nPanes; ++i) {
            const int share = std::min(a == 0 ? 0 : minShare, left);
            m_pShare[i] = share;
            left -= share;
        }
        return false;
    }
    if (free != kShareUnit) {
        // The free panes share what is left in their old proportion.
        for (int i = 0; i < m_nPanes; ++i) {
            if (RoundedDiv(m_pShare[i], a, kShareUnit) == m_nMinPane) continue;
            const int share = RoundedDiv(m_pShare[i], free, oldFree);
            if (share != m_pShare[i]) {
                m_pShare[i] = share;
                changed = true;
            }
        }
    }
    return changed;
}

void CPaneLayout::Layout(int length) {
    // A window smaller than its bars has no room for panes at all.
    m_nAvail = std::max(0, length - (m_nPanes - 1) * m_nBar);
    for (int pass = 0; pass < kMaxLayoutPasses && LayoutPass(); ++pass) {
    }
    m_pPos[0] = 0;
    for (int i = 0; i < m_nPanes - 1; ++i) {
        m_pPos[i + 1] = m_pPos[i] + RoundedDiv(m_pShare[i], m_nAvail, kShareUnit) + m_nBar;
    }
    m_pPos[m_nPanes] = m_nAvail + m_nPanes * m_nBar;
}

bool CPaneLayout::BeginDrag(int p) {
    m_nDragBar = 0;
    for (int k = 1; k < m_nPanes; ++k) {
        if (m_pPos[k] >= p) {
            m_nDragBar = k;
            break;
        }
    }
    if (m_nDragBar == 0) return false;
    m_nDragPos = m_pPos[m_nDragBar];
    m_nDragOffset = p - m_nDragPos;
    return true;
}

void CPaneLayout::DragTo(int p) {
    if (!m_nDragBar) return;
    const int k = m_nDragBar;
    const int upper = m_pPos[k + 1] - m_nBar - m_nMinPane;
    const int lower = m_pPos[k - 1] + m_nBar + m_nMinPane;
    int pos = p - m_nDragOffset;
    // One limit per move: on an extent too small for both minimums a pane
    // may stay short until the next Layout corrects it.
    if (pos > upper) {
        pos = upper;
    } else if (pos < lower) {
        pos = lower;
    }
    m_nDragPos = pos;
}

void CPaneLayout::EndDrag() {
    if (!m_nDragBar) return;
    const int k = m_nDragBar;
    m_pPos[k] = m_nDragPos;
    m_pShare[k - 1] = RoundedDiv(m_pPos[k] - m_pPos[k - 1] - m_nBar, kShareUnit, m_nAvail);
    m_pShare[k] = RoundedDiv(m_pPos[k + 1] - m_pPos[k] - m_nBar, kShareUnit, m_nAvail);
    m_nDragBar = 0;
}
