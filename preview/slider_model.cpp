#include "preview/slider_model.h"

#include <cmath>
#include <cstdio>

namespace {
constexpr int kEdge = CRangeSliderModel::kHandleWidth;
}

std::string FormatTime(unsigned seconds) {
    char text[32];
    std::snprintf(text, sizeof text, "%02u:%02u:%02u", seconds / 3600, (seconds / 60) % 60,
                  seconds % 60);
    return text;
}

void CRangeSliderModel::PlaceBegin(int x) {
    m_rcBegin = {x - kEdge, m_rcTrack.top - 2, x, m_rcTrack.bottom + 2};
}

void CRangeSliderModel::PlaceEnd(int x) {
    m_rcEnd = {x, m_rcTrack.top - 2, x + kEdge, m_rcTrack.bottom + 2};
}

void CRangeSliderModel::PlaceMarker(int x) {
    m_rcMarker = {x - kMarkerWidth, m_rcTrack.top - 3, x, m_rcTrack.bottom};
}

void CRangeSliderModel::ResetGeometry() {
    m_rcTrack = {0, m_nHeight / 4, m_nWidth, 3 * m_nHeight / 4};
    PlaceBegin(kEdge);
    PlaceEnd(m_nWidth - kEdge);
    PlaceMarker(kEdge);
}

void CRangeSliderModel::Resize(int width, int height) {
    m_nWidth = width;
    m_nHeight = height;
    ResetGeometry();
    if (m_nMax == 0) return;
    PlaceBegin(PositionOf(m_nBegin));
    PlaceEnd(PositionOf(m_nEnd));
    PlaceMarker(PositionOf(m_nCurrent));
}

void CRangeSliderModel::Reset() {
    m_nCurrent = m_nEnd = m_nBegin = 0;
    ResetGeometry();
}

void CRangeSliderModel::SetMaximum(int seconds) {
    m_nMax = seconds;
    m_nEnd = static_cast<unsigned>(seconds);
}

int CRangeSliderModel::PositionOf(unsigned seconds) const {
    if (m_nMax <= 0) return kEdge;
    const double span = static_cast<double>(m_nWidth - 2 * kEdge);
    return kEdge + static_cast<int>(std::floor(span * seconds / m_nMax + 0.5));
}

unsigned CRangeSliderModel::ValueAt(int x) const {
    const int span = m_nWidth - 2 * kEdge;
    if (x <= kEdge || span <= 0 || m_nMax <= 0) return 0;
    const unsigned long long v = static_cast<unsigned long long>(x - kEdge) *
                                 static_cast<unsigned long long>(m_nMax) /
                                 static_cast<unsigned long long>(span);
    return static_cast<unsigned>(v);
}

void CRangeSliderModel::SetPosition(unsigned seconds) {
    m_nCurrent = seconds;
    PlaceMarker(m_nMax > 0 ? PositionOf(seconds) : kEdge);
}

void CRangeSliderModel::SetBegin(unsigned seconds) {
    m_nBegin = seconds;
    PlaceBegin(m_nMax > 0 ? PositionOf(seconds) : kEdge);
    if (m_nCurrent < seconds) SetPosition(seconds);
}

void CRangeSliderModel::SetEnd(unsigned seconds) {
    m_nEnd = seconds;
    PlaceEnd(m_nMax > 0 ? PositionOf(seconds) : m_nWidth - kEdge);
    if (m_nCurrent > seconds) SetPosition(seconds >= 2 ? seconds - 2 : 0);
}

std::vector<SliderAction> CRangeSliderModel::Press(int x, int y) {
    std::vector<SliderAction> out;
    if (m_rcBegin.Contains(x, y)) m_nDragMode = 1;
    if (m_rcEnd.Contains(x, y)) m_nDragMode = 2;
    if (m_rcMarker.Contains(x, y)) {
        m_nDragMode = 3;
        out.push_back({SliderAction::MarkerGrabbed, 0});
    }
    return out;
}

std::vector<SliderAction> CRangeSliderModel::Move(int x, int) {
    std::vector<SliderAction> out;
    switch (m_nDragMode) {
        case 1:
            if (x < kEdge || x > EndPos()) break;
            PlaceBegin(x);
            if (MarkerPos() < x) {
                PlaceMarker(x);
                m_nCurrent = ValueAt(x);
                out.push_back({SliderAction::Seek, m_nCurrent});
            }
            break;
        case 2:
            if (x < BeginPos() || x > m_nWidth - kEdge) break;
            PlaceEnd(x);
            if (MarkerPos() > x) {
                PlaceMarker(x);
                m_nCurrent = ValueAt(x);
                out.push_back({SliderAction::Seek, m_nCurrent});
            }
            break;
        case 3:
            if (x < BeginPos() - kMarkerWidth || x > EndPos() - kMarkerWidth) break;
            PlaceMarker(x);
            break;
        default:
            break;
    }
    return out;
}

std::vector<SliderAction> CRangeSliderModel::Release() {
    std::vector<SliderAction> out;
    switch (m_nDragMode) {
        case 1:
            m_nBegin = ValueAt(BeginPos());
            out.push_back({SliderAction::SetBegin, m_nBegin});
            break;
        case 2:
            m_nEnd = ValueAt(EndPos());
            out.push_back({SliderAction::SetEnd, m_nEnd});
            break;
        case 3:
            m_nCurrent = ValueAt(MarkerPos());
            out.push_back({SliderAction::Seek, m_nCurrent});
            break;
        default:
            break;
    }
    m_nDragMode = 0;
    return out;
}

std::vector<SliderAction> CRangeSliderModel::Leave() {
    std::vector<SliderAction> out;
    if (m_nDragMode == 3) out = Release();
    m_nDragMode = 0;
    return out;
}

std::vector<SliderAction> CRangeSliderModel::DoubleClick(int x, int y) {
    std::vector<SliderAction> out;
    if (m_rcBegin.Contains(x, y)) {
        PlaceBegin(kEdge);
        out.push_back({SliderAction::SetBegin, 0});
        m_nBegin = 0;
    } else if (m_rcEnd.Contains(x, y)) {
        PlaceEnd(m_nWidth - kEdge);
        out.push_back({SliderAction::SetEnd, static_cast<unsigned>(m_nMax)});
        m_nEnd = static_cast<unsigned>(m_nMax);
    }
    return out;
}

SliderElement CRangeSliderModel::HitTest(int x, int y) const {
    if (m_rcMarker.Contains(x, y)) return SliderElement::Marker;
    if (m_rcEnd.Contains(x, y)) return SliderElement::End;
    if (m_rcBegin.Contains(x, y)) return SliderElement::Begin;
    return SliderElement::None;
}

std::string CRangeSliderModel::TipText(int x, int y, SliderRect* rect) const {
    switch (HitTest(x, y)) {
        case SliderElement::Begin:
            if (rect) *rect = m_rcBegin;
            return "Begin Time: " + FormatTime(ValueAt(BeginPos()));
        case SliderElement::End:
            if (rect) *rect = m_rcEnd;
            return "End Time: " + FormatTime(ValueAt(EndPos()));
        case SliderElement::Marker:
            if (rect) *rect = m_rcMarker;
            return "Current Time: " + FormatTime(ValueAt(MarkerPos()));
        default:
            return {};
    }
}
